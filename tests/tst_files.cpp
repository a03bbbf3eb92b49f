// Open, Save and Save As through the common dialog: what each dialog is
// asked to show, the caption as the document's file record, cancels, and
// every failure leaving the person's text and files as they were.

#include "document/frmDocument.h"
#include "platform/CommonDialog.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

using Filters = QList<QPair<QString, QString>>;

} // namespace

class FilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogsAreSetUpPerCommand_data();
    void dialogsAreSetUpPerCommand();
    void ownFilesPatternHasNoDot_data();
    void ownFilesPatternHasNoDot();
    void openReplacesActiveDocument();
    void openWithoutDocumentMakesOneFirst();
    void saveKeepsUntitledCaption();
    void saveAsTitlesThenSaveWritesWithoutDialog();
    void saveRecreatesDeletedFile();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void nothingHappensWithoutDocument();
    void failedOpenIsReportedAndKeepsDocument();
    void failedSaveIsReportedAndKeepsFile_data();
    void failedSaveIsReportedAndKeepsFile();
    void textFileComesBackAsRtf();
    void otherFormatIsSavedBesideNeverOver_data();
    void otherFormatIsSavedBesideNeverOver();
    void otherFormatSavedAsIsThenSavedInPlace();
    void fileOfNoKnownKindIsRefused();
    void formattedDocumentRoundTrips();

private:
    std::unique_ptr<MainWindowFixture> f;
    std::unique_ptr<QTemporaryDir> dir;
    QString path(const QString &name) const { return dir->filePath(name); }
};

void FilesTest::init()
{
    f = std::make_unique<MainWindowFixture>();
    dir = std::make_unique<QTemporaryDir>();
}

void FilesTest::cleanup()
{
    f.reset();
    dir.reset();
}

void FilesTest::dialogsAreSetUpPerCommand_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<Filters>("filters");
    const Filters own = {{"Scribvale Files (*vrx*)", "*vrx*"}};
    const Filters all = {{"Scribvale Files (*vrx*)", "*vrx*"}, {"Txt Files (*txt*)", "*txt*"},
                         {"All Files (*.*)", "*.*"}};
    QTest::newRow("open") << QString(MenuName::mnuFileOpen) << int(FileDialogRequest::Open) << "Open" << all;
    QTest::newRow("save") << QString(MenuName::mnuFileSave) << int(FileDialogRequest::Save) << "Save" << own;
    QTest::newRow("save as") << QString(MenuName::mnuFileSaveAs) << int(FileDialogRequest::Save) << "Save As" << own;
}

void FilesTest::dialogsAreSetUpPerCommand()
{
    QFETCH(QString, item);
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(Filters, filters);
    f->window().dlgCommonDialog()->CancelError = true;   // left behind by a print
    f->window().menuItem(item)->trigger();
    QCOMPARE(f->dialogs.fileRequests.size(), 1);
    const FileDialogRequest &shown = f->dialogs.fileRequests.first();
    QCOMPARE(int(shown.kind), kind);
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.filters, filters);
    QCOMPARE(f->window().dlgCommonDialog()->CancelError, false);
    QVERIFY(f->messages.messages.isEmpty());
}

void FilesTest::ownFilesPatternHasNoDot_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");
    QTest::newRow("letter.vrx") << "letter.vrx" << true;
    QTest::newRow("vrx-notes.doc") << "vrx-notes.doc" << true;
    QTest::newRow("old.vrx.bak") << "old.vrx.bak" << true;
    QTest::newRow("letter.rtf") << "letter.rtf" << false;
}

void FilesTest::ownFilesPatternHasNoDot()
{
    QFETCH(QString, name);
    QFETCH(bool, listed);
    const QString pattern = CommonDialog::parseFilter(QStringLiteral("Scribvale Files (*vrx*)|*vrx*")).first().second;
    QCOMPARE(QDir::match(pattern, name), listed);
}

void FilesTest::openReplacesActiveDocument()
{
    writeAll(path("letter.vrx"), "{\\rtf1\\ansi {\\b Dear} friend}");
    f->surface().setSelText(QStringLiteral("old content"));
    f->messages.answers.enqueue(MessageSink::SaveAnswer::DontSave);
    f->dialogs.fileAnswers.enqueue(path("letter.vrx"));
    f->window().mnuFileOpen_Click();
    QCOMPARE(f->messages.questions, QStringList{QStringLiteral("Save changes to Document 1?")});
    QCOMPARE(f->window().documents().size(), 1);
    QCOMPARE(f->window().ActiveDocument()->Caption(), path("letter.vrx"));
    QCOMPARE(f->surface().toPlainText(), QStringLiteral("Dear friend"));
}

void FilesTest::openWithoutDocumentMakesOneFirst()
{
    f->window().ActiveDocument()->close();
    f->window().mnuFileOpen_Click();   // cancelled
    QCOMPARE(f->window().documents().size(), 1);
    QCOMPARE(f->window().ActiveDocument()->Caption(), QStringLiteral("Document 2"));
    QCOMPARE(f->surface().toPlainText(), QString());
}

void FilesTest::saveKeepsUntitledCaption()
{
    f->surface().setSelText(QStringLiteral("draft"));
    f->dialogs.fileAnswers.enqueue(path("draft"));
    f->window().mnuFileSave_Click();
    QVERIFY(readAll(path("draft")).startsWith("{\\rtf1"));
    QCOMPARE(f->window().ActiveDocument()->Caption(), QStringLiteral("Document 1"));
    f->window().mnuFileSave_Click();
    QCOMPARE(f->dialogs.fileRequests.size(), 2);
    QCOMPARE(f->dialogs.fileRequests.last().title, QStringLiteral("Save"));
}

void FilesTest::saveAsTitlesThenSaveWritesWithoutDialog()
{
    f->surface().setSelText(QStringLiteral("version one"));
    f->dialogs.fileAnswers.enqueue(path("named.vrx"));
    f->window().mnuFileSaveAs_Click();
    QCOMPARE(f->window().ActiveDocument()->Caption(), path("named.vrx"));
    QVERIFY(readAll(path("named.vrx")).contains("version one"));
    f->surface().selectAll();
    f->surface().setSelText(QStringLiteral("version two"));
    f->window().tbToolBar()->press(f->window().tbToolBar()->Buttons(ToolbarKey::Save));
    QCOMPARE(f->dialogs.fileRequests.size(), 1);
    QVERIFY(readAll(path("named.vrx")).contains("version two"));
}

void FilesTest::saveRecreatesDeletedFile()
{
    f->dialogs.fileAnswers.enqueue(path("gone.vrx"));
    f->window().mnuFileSaveAs_Click();
    QVERIFY(QFile::remove(path("gone.vrx")));
    f->window().mnuFileSave_Click();
    QVERIFY(QFile::exists(path("gone.vrx")));
}

void FilesTest::cancelChangesNothing_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("open") << QString(MenuName::mnuFileOpen);
    QTest::newRow("save") << QString(MenuName::mnuFileSave);
    QTest::newRow("save as") << QString(MenuName::mnuFileSaveAs);
}

void FilesTest::cancelChangesNothing()
{
    QFETCH(QString, item);
    f->surface().setSelText(QStringLiteral("kept"));
    // Open asks about the changes first; past that, its dialog is cancelled.
    f->messages.answers.enqueue(MessageSink::SaveAnswer::DontSave);
    f->window().menuItem(item)->trigger();   // nothing scripted: Cancel
    QCOMPARE(f->dialogs.fileRequests.size(), 1);
    QCOMPARE(f->window().ActiveDocument()->Caption(), QStringLiteral("Document 1"));
    QCOMPARE(f->surface().toPlainText(), QStringLiteral("kept"));
    QVERIFY(QDir(dir->path()).isEmpty());
    QVERIFY(f->messages.messages.isEmpty());
}

void FilesTest::nothingHappensWithoutDocument()
{
    f->window().ActiveDocument()->close();
    f->window().mnuFileSave_Click();
    f->window().mnuFileSaveAs_Click();
    QVERIFY(f->dialogs.fileRequests.isEmpty());
    QVERIFY(f->window().documents().isEmpty());
}

void FilesTest::failedOpenIsReportedAndKeepsDocument()
{
    f->surface().setSelText(QStringLiteral("unsaved"));
    f->messages.answers.enqueue(MessageSink::SaveAnswer::DontSave);
    f->dialogs.fileAnswers.enqueue(path("vanished.vrx"));
    f->window().mnuFileOpen_Click();
    QCOMPARE(f->messages.messages.size(), 1);
    QVERIFY(f->messages.messages.first().contains(QStringLiteral("vanished.vrx")));
    QCOMPARE(f->window().ActiveDocument()->Caption(), QStringLiteral("Document 1"));
    QCOMPARE(f->surface().toPlainText(), QStringLiteral("unsaved"));
    // The program goes on working.
    f->window().CreateDocumentWindow();
    QCOMPARE(f->window().documents().size(), 2);
}

void FilesTest::failedSaveIsReportedAndKeepsFile_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("expectedCaption");
    QTest::newRow("save") << QString(MenuName::mnuFileSave) << "Document 1";
    QTest::newRow("save as keeps the new path") << QString(MenuName::mnuFileSaveAs) << "@target";
}

void FilesTest::failedSaveIsReportedAndKeepsFile()
{
    QFETCH(QString, item);
    QFETCH(QString, expectedCaption);
    writeAll(path("blocker"), "not a folder");
    const QString target = path("blocker/letter.vrx");
    expectedCaption.replace(QLatin1String("@target"), target);
    f->surface().setSelText(QStringLiteral("unsaved"));
    f->dialogs.fileAnswers.enqueue(target);
    f->window().menuItem(item)->trigger();
    QCOMPARE(f->messages.messages.size(), 1);
    QVERIFY(f->messages.messages.first().contains(QStringLiteral("letter.vrx")));
    QCOMPARE(f->window().ActiveDocument()->Caption(), expectedCaption);
    QCOMPARE(readAll(path("blocker")), QByteArray("not a folder"));
    QCOMPARE(f->surface().toPlainText(), QStringLiteral("unsaved"));
}

void FilesTest::textFileComesBackAsRtf()
{
    writeAll(path("notes.txt"), "first line\nsecond line\n");
    f->dialogs.fileAnswers.enqueue(path("notes.txt"));
    f->window().mnuFileOpen_Click();
    QCOMPARE(f->surface().toPlainText(), QStringLiteral("first line\nsecond line\n"));
    f->window().mnuFileSave_Click();
    const QByteArray saved = readAll(path("notes.txt"));
    QVERIFY(saved.startsWith("{\\rtf1"));
    f->window().CreateDocumentWindow();
    f->dialogs.fileAnswers.enqueue(path("notes.txt"));
    f->window().mnuFileOpen_Click();
    QCOMPARE(f->surface().toPlainText(), QStringLiteral("first line\nsecond line\n"));
}

void FilesTest::otherFormatIsSavedBesideNeverOver_data()
{
    QTest::addColumn<QString>("source");   // from the repository's corpus
    QTest::addColumn<QString>("name");     // its name here
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<bool>("cancel");
    const QString corpus = QStringLiteral(SCRIBVALE_SOURCE_DIR "/tests/interop/");
    QTest::newRow("odt") << corpus + "odt/lo-chars.odt" << "letter.odt" << "letter.rtf" << false;
    QTest::newRow("fodt") << corpus + "odt/word-lists.fodt" << "lists.fodt" << "lists.rtf" << false;
    QTest::newRow("odt named with two dots") << corpus + "odt/pandoc-text.odt" << "notes.v2.odt" << "notes.v2.rtf" << false;
    QTest::newRow("odt named as rtf") << corpus + "odt/lo-para.odt" << "odd.rtf" << "odd.rtf" << false;
    QTest::newRow("odt, save cancelled") << corpus + "odt/lo-tables.odt" << "table.odt" << "table.rtf" << true;
    QTest::newRow("docx") << corpus + "docx/lo-chars.docx" << "letter.docx" << "letter.rtf" << false;
}

void FilesTest::otherFormatIsSavedBesideNeverOver()
{
    QFETCH(QString, source);
    QFETCH(QString, name);
    QFETCH(QString, proposed);
    QFETCH(bool, cancel);
    QVERIFY(QFile::copy(source, path(name)));
    const QByteArray original = readAll(path(name));
    f->dialogs.fileAnswers.enqueue(path(name));
    f->window().mnuFileOpen_Click();
    if (!f->messages.messages.isEmpty() && f->messages.messages.first().contains(QStringLiteral("cannot be read yet")))
        QSKIP("this format's reader is not in this build");
    QVERIFY(f->messages.messages.isEmpty());
    QCOMPARE(f->window().ActiveDocument()->Caption(), path(name));
    QVERIFY(!f->surface().toPlainText().isEmpty());

    // Save asks where, as for an untitled document, proposing RTF beside it.
    // (A file already named .rtf is saved under another name chosen.)
    const QString written = name == proposed ? path("chosen.rtf") : path(proposed);
    f->dialogs.fileAnswers.enqueue(cancel ? QString() : written);
    f->window().mnuFileSave_Click();
    QCOMPARE(f->dialogs.fileRequests.size(), 2);
    const FileDialogRequest &asked = f->dialogs.fileRequests.last();
    QCOMPARE(int(asked.kind), int(FileDialogRequest::Save));
    QCOMPARE(asked.title, QStringLiteral("Save"));
    QCOMPARE(asked.fileName, path(proposed));
    QCOMPARE(readAll(path(name)), original);
    QVERIFY(f->messages.messages.isEmpty());
    QCOMPARE(f->window().ActiveDocument()->Caption(), path(name));
    QCOMPARE(QFile::exists(written), !cancel);
    if (!cancel)
        QVERIFY(readAll(written).startsWith("{\\rtf1"));

    // And asks again next time: the original is never written.
    f->window().mnuFileSave_Click();
    QCOMPARE(f->dialogs.fileRequests.size(), 3);
    QCOMPARE(readAll(path(name)), original);
}

void FilesTest::otherFormatSavedAsIsThenSavedInPlace()
{
    QVERIFY(QFile::copy(QStringLiteral(SCRIBVALE_SOURCE_DIR "/tests/interop/odt/lo-chars.odt"), path("letter.odt")));
    f->dialogs.fileAnswers.enqueue(path("letter.odt"));
    f->window().mnuFileOpen_Click();
    f->dialogs.fileAnswers.enqueue(path("letter.vrx"));
    f->window().mnuFileSaveAs_Click();
    QCOMPARE(f->window().ActiveDocument()->Caption(), path("letter.vrx"));
    f->surface().selectAll();
    f->surface().setSelText(QStringLiteral("rewritten"));
    f->window().mnuFileSave_Click();
    QCOMPARE(f->dialogs.fileRequests.size(), 2);
    QVERIFY(readAll(path("letter.vrx")).contains("rewritten"));
}

void FilesTest::fileOfNoKnownKindIsRefused()
{
    writeAll(path("holiday.png"), QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x01", 20));
    f->surface().setSelText(QStringLiteral("unsaved"));
    f->messages.answers.enqueue(MessageSink::SaveAnswer::DontSave);
    f->dialogs.fileAnswers.enqueue(path("holiday.png"));
    f->window().mnuFileOpen_Click();
    QCOMPARE(f->messages.messages.size(), 1);
    QVERIFY(f->messages.messages.first().contains(QStringLiteral("holiday.png")));
    QVERIFY(f->messages.messages.first().contains(QStringLiteral("not a document Scribvale can read")));
    QCOMPARE(f->window().ActiveDocument()->Caption(), QStringLiteral("Document 1"));
    QCOMPARE(f->surface().toPlainText(), QStringLiteral("unsaved"));
}

void FilesTest::formattedDocumentRoundTrips()
{
    RichTextBox &s = f->surface();
    const QStringList faces = {"Times New Roman", "Agency FB", "Courier New", "Edwardian Script ITC"};
    const QList<int> alignments = {0, 1, 2, 0};
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            s.textCursor().insertBlock();
        QTextCharFormat format;
        format.setFontFamilies(QStringList{faces[i]});
        format.setFontPointSize(10 + i * 15);
        format.setForeground(RichTextBox::colorFromBgr(0x123456 * (i + 1) & 0xFFFFFF));
        format.setFontWeight(i & 1 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(i & 2);
        format.setFontUnderline(i == 3);
        s.textCursor().insertText(QStringLiteral("paragraph %1").arg(i), format);
        s.setSelAlignment(alignments[i]);
    }
    f->dialogs.fileAnswers.enqueue(path("round.vrx"));
    f->window().mnuFileSaveAs_Click();
    f->window().CreateDocumentWindow();
    f->dialogs.fileAnswers.enqueue(path("round.vrx"));
    f->window().mnuFileOpen_Click();
    RichTextBox &back = f->surface();
    QVERIFY(&back != &s);
    QCOMPARE(back.toPlainText(), s.toPlainText());
    QTextBlock a = s.document()->firstBlock();
    QTextBlock b = back.document()->firstBlock();
    for (; a.isValid(); a = a.next(), b = b.next()) {
        QVERIFY(b.isValid());
        QCOMPARE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 a.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
        const QTextCharFormat want = a.begin().fragment().charFormat();
        const QTextCharFormat got = b.begin().fragment().charFormat();
        QCOMPARE(got.fontFamilies(), want.fontFamilies());
        QCOMPARE(got.fontPointSize(), want.fontPointSize());
        QCOMPARE(got.foreground().color(), want.foreground().color());
        QCOMPARE(got.fontWeight() >= QFont::Bold, want.fontWeight() >= QFont::Bold);
        QCOMPARE(got.fontItalic(), want.fontItalic());
        QCOMPARE(got.fontUnderline(), want.fontUnderline());
    }
}

QTEST_MAIN(FilesTest)
#include "tst_files.moc"
