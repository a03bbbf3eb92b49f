// What documents from other word processors hold, as a person meets it in
// the running program: links followed by Ctrl+click, notes deleted and
// brought back by their markers, table cells copied and pasted, formatting
// across a table and a paragraph, pictures kept through Copy and Paste.

#include "document/frmDocument.h"
#include "platform/RichTextBox.h"
#include "platform/rtf/RtfQt.h"
#include "tests/support/TestMain.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QTextTable>
#include <QtTest>

#include <memory>

class RichContentTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ctrlClickFollowsOnlyWebAndMailLinks_data();
    void ctrlClickFollowsOnlyWebAndMailLinks();
    void deletingANoteMarkerDeletesTheNoteUntilUndo();
    void copiedCellsPasteAsATable_data();
    void copiedCellsPasteAsATable();
    void boldAndAlignmentAcrossATableAndAParagraph();
    void picturesTravelThroughCopyAndPaste();

private:
    RichTextBox &s() { return f->surface(); }
    void load(const QByteArray &rtf);
    void press(QLatin1StringView key) { f->window().tbToolBar()->press(f->window().tbToolBar()->Buttons(key)); }

    std::unique_ptr<MainWindowFixture> f;
};

using namespace user;

void RichContentTest::init()
{
    f = std::make_unique<MainWindowFixture>();
    f->window().resize(1200, 700);
    f->window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f->window()));
    f->window().ActiveDocument()->showMaximized();
}

void RichContentTest::cleanup()
{
    f.reset();
}

// A document as File Open brings it: the markup through the clipboard's Paste.
void RichContentTest::load(const QByteArray &rtf)
{
    f->clipboard.text = QString::fromLatin1(rtf);
    f->window().menuItem(MenuName::mnuEditPaste)->trigger();
    s().setFocus(Qt::MouseFocusReason);
}

static int positionOf(const QTextDocument *doc, const QString &text)
{
    return doc->find(text).selectionStart();
}

void RichContentTest::ctrlClickFollowsOnlyWebAndMailLinks_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<bool>("followed");
    QTest::newRow("web") << QByteArray("https://example.org/news") << true;
    QTest::newRow("plain web") << QByteArray("http://example.org") << true;
    QTest::newRow("mail") << QByteArray("mailto:help@example.org") << true;
    QTest::newRow("local file") << QByteArray("file:///etc/passwd") << false;
    QTest::newRow("program") << QByteArray("/usr/bin/xterm") << false;
    QTest::newRow("other scheme") << QByteArray("javascript:alert(1)") << false;
}

void RichContentTest::ctrlClickFollowsOnlyWebAndMailLinks()
{
    QFETCH(QByteArray, target);
    QFETCH(bool, followed);
    load("{\\rtf1 Go {\\field{\\*\\fldinst HYPERLINK \"" + target + "\"}{\\fldrslt THELINK}} now.\\par}");
    QSignalSpy spy(&s(), &RichTextBox::linkActivated);
    QTextCursor at(s().document());
    at.setPosition(positionOf(s().document(), QStringLiteral("THELINK")) + 3);
    const QPoint point = s().cursorRect(at).center();

    QTest::mouseClick(s().viewport(), Qt::LeftButton, {}, point);    // a plain click only places the caret
    QCOMPARE(spy.count(), 0);
    QTest::mouseClick(s().viewport(), Qt::LeftButton, Qt::ControlModifier, point);
    QCOMPARE(spy.count(), followed ? 1 : 0);
    if (followed)
        QCOMPARE(spy.first().first().toUrl(), QUrl(QString::fromLatin1(target)));
}

void RichContentTest::deletingANoteMarkerDeletesTheNoteUntilUndo()
{
    load("{\\rtf1 Claim{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} The source.} rests.\\par}");
    const auto notes = [this] {
        int count = 0;
        for (QTextBlock b = s().document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                count += it.fragment().charFormat().objectType() == rtf::NoteObject;
        return count;
    };
    QCOMPARE(notes(), 1);
    QTextCursor caret(s().document());
    caret.setPosition(positionOf(s().document(), QStringLiteral("Claim")) + 5);
    s().setTextCursor(caret);
    key(Qt::Key_Delete);
    QCOMPARE(notes(), 0);
    s().selectAll();
    QVERIFY(!s().SelRTF().contains(QLatin1String("The source.")));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(notes(), 1);
    s().selectAll();
    QVERIFY(s().SelRTF().contains(QLatin1String("The source.")));
}

void RichContentTest::copiedCellsPasteAsATable_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("cells");     // the pasted table, row by row, "|" between rows
    QTest::addColumn<int>("columns");
    QTest::newRow("two by two of three by two")
        << QByteArray("{\\rtf1 Prices:\\par\\trowd\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl Apples\\cell 1.20\\cell Red\\cell\\row"
                      "\\trowd\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl Pears\\cell 0.90\\cell Green\\cell\\row\\pard After\\par}")
        << QStringLiteral("Apples") << QStringLiteral("0.90")
        << QStringList {QStringLiteral("Apples"), QStringLiteral("1.20"), QStringLiteral("|"), QStringLiteral("Pears"), QStringLiteral("0.90")}
        << 2;
    // The selection cuts through "Apples", merged over two columns: the copy holds it whole.
    QTest::newRow("through a merged cell")
        << QByteArray("{\\rtf1 Prices:\\par\\trowd\\clmgf\\cellx2000\\clmrg\\cellx4000\\cellx6000\\pard\\intbl Apples\\cell\\cell Red\\cell\\row"
                      "\\trowd\\cellx2000\\cellx4000\\cellx6000\\pard\\intbl Pears\\cell 0.90\\cell Green\\cell\\row\\pard After\\par}")
        << QStringLiteral("0.90") << QStringLiteral("Red")
        << QStringList {QStringLiteral("Apples"), QStringLiteral("Red"), QStringLiteral("|"), QStringLiteral("Pears"), QStringLiteral("0.90"), QStringLiteral("Green")}
        << 3;
}

void RichContentTest::copiedCellsPasteAsATable()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, cells);
    QFETCH(int, columns);
    load(rtf);
    // Dragged with the mouse from inside one cell to inside another.
    const auto pointAt = [this](const QString &word) {
        QTextCursor at(s().document());
        at.setPosition(positionOf(s().document(), word) + 1);
        return s().cursorRect(at).center();
    };
    QTest::mousePress(s().viewport(), Qt::LeftButton, {}, pointAt(from));
    QTest::mouseMove(s().viewport(), pointAt(to));
    QTest::mouseRelease(s().viewport(), Qt::LeftButton, {}, pointAt(to));
    key(Qt::Key_C, Qt::ControlModifier);

    f->window().CreateDocumentWindow();
    s().setFocus(Qt::MouseFocusReason);
    key(Qt::Key_V, Qt::ControlModifier);
    QTextTable *table = nullptr;
    for (QTextFrame *frame : s().document()->rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable *>(frame);
    QVERIFY2(table, qPrintable(s().toPlainText()));
    QCOMPARE(table->columns(), columns);
    QStringList pasted;
    for (int r = 0; r < table->rows(); ++r) {
        if (r > 0)
            pasted << QStringLiteral("|");
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;       // covered by a merged cell
            QTextCursor text = cell.firstCursorPosition();
            text.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            pasted << text.selectedText();
        }
    }
    QCOMPARE(pasted, cells);
}

void RichContentTest::boldAndAlignmentAcrossATableAndAParagraph()
{
    load("{\\rtf1 Before the table\\par\\trowd\\cellx2000\\cellx4000\\pard\\intbl one\\cell two\\cell\\row\\pard After\\par}");
    QTextCursor caret(s().document());
    caret.setPosition(positionOf(s().document(), QStringLiteral("Before")));
    s().setTextCursor(caret);
    key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    press(ToolbarKey::Bold);
    press(ToolbarKey::Center);
    for (const QString &word : {QStringLiteral("Before"), QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("After")}) {
        QTextCursor at(s().document());
        at.setPosition(positionOf(s().document(), word) + 1);
        QVERIFY2(at.charFormat().fontWeight() >= QFont::Bold, qPrintable(word));
        QVERIFY2(at.blockFormat().alignment() & Qt::AlignHCenter, qPrintable(word));
    }
    QCOMPARE(s().SelBold(), std::optional<bool>(true));
    QCOMPARE(s().SelAlignment(), std::optional<int>(RichTextBox::AlignCenterCode));
}

void RichContentTest::picturesTravelThroughCopyAndPaste()
{
    // A 1x1 PNG shown 20 by 10 pixels.
    load("{\\rtf1 Logo {\\pict\\pngblip\\picw1\\pich1\\picwgoal300\\pichgoal150 89504e470d0a1a0a0000000d4948445200"
         "000001000000010802000000907753de0000000c49444154789c63f8cfc0000003010100c9fe92ef0000000049454e44ae426082} here\\par}");
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    f->window().CreateDocumentWindow();
    s().setFocus(Qt::MouseFocusReason);
    key(Qt::Key_V, Qt::ControlModifier);
    QTextCursor at(s().document());
    at.setPosition(positionOf(s().document(), QStringLiteral("Logo ")) + 6);
    const QTextCharFormat picture = at.charFormat();
    QVERIFY(picture.isImageFormat());
    QCOMPARE(picture.toImageFormat().width(), 20.0);
    QCOMPARE(picture.property(rtf::PictureDataProperty).toByteArray().size(), 69);
    const QImage shown = s().document()->resource(QTextDocument::ImageResource, QUrl(picture.toImageFormat().name())).value<QImage>();
    QCOMPARE(shown.size(), QSize(1, 1));
}

QTEST_MAIN(RichContentTest)
#include "tst_richcontent.moc"
