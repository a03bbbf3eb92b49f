// The rich-text surface: tri-state reads, alignment codes, size and colour
// writes, the whole-surface face, markup in and out, and loading and saving
// files, including every way a file can fail.

#include "platform/Failure.h"
#include "platform/PlainText.h"
#include "platform/RichTextBox.h"

#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

class SurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void styleReadsAreTriState_data();
    void styleReadsAreTriState();
    void writingMixedStyleFails();
    void alignmentCodes_data();
    void alignmentCodes();
    void fontSizeAcceptsNumbersAndText_data();
    void fontSizeAcceptsNumbersAndText();
    void colourIsWrittenAsBgr_data();
    void colourIsWrittenAsBgr();
    void faceAppliesToWholeSurface();
    void selRtfRoundTripsFormatting();
    void selRtfOfEmptySelectionIsADocument();
    void plainTextThroughSelRtfIsInsertedAsText();
    void selTextReplacesAndDeletes();
    void dragsCarryTheSameMarkupAsCopy();
    void selChangeIsRaisedOncePerMove();

    void saveThenLoadKeepsTextAndFormatting();
    void loadTellsWhatItDropped();
    void plainTextFilesDecode_data();
    void plainTextFilesDecode();
    void failedLoadKeepsContent_data();
    void failedLoadKeepsContent();
    void failedSaveKeepsExistingFile_data();
    void failedSaveKeepsExistingFile();
    void savingReplacesAtomically();

private:
    void type(const QString &text, const QTextCharFormat &format = {});
    void select(int start, int end);

    std::unique_ptr<RichTextBox> box;
    std::unique_ptr<QTemporaryDir> dir;
};

void SurfaceTest::init()
{
    box = std::make_unique<RichTextBox>();
    box->resize(400, 300);
    dir = std::make_unique<QTemporaryDir>();
}

void SurfaceTest::cleanup()
{
    box.reset();
    dir.reset();
}

void SurfaceTest::type(const QString &text, const QTextCharFormat &format)
{
    QTextCursor cursor = box->textCursor();
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat merged = cursor.charFormat();
    merged.merge(format);
    cursor.insertText(text, merged);
    box->setTextCursor(cursor);
}

void SurfaceTest::select(int start, int end)
{
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

void SurfaceTest::styleReadsAreTriState_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("bold");   // 1 true, 0 false, -1 mixed
    // "plain " (0-6) then "bold" (6-10) then " plain" (10-16)
    QTest::newRow("inside plain") << 0 << 5 << 0;
    QTest::newRow("inside bold") << 6 << 10 << 1;
    QTest::newRow("across both") << 3 << 8 << -1;
    QTest::newRow("caret after bold") << 10 << 10 << 1;
    QTest::newRow("caret at start") << 0 << 0 << 0;
    QTest::newRow("everything") << 0 << 16 << -1;
}

void SurfaceTest::styleReadsAreTriState()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, bold);
    QTextCharFormat b;
    b.setFontWeight(QFont::Bold);
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    type(QStringLiteral("plain "), plain);
    type(QStringLiteral("bold"), b);
    type(QStringLiteral(" plain"), plain);
    select(start, end);
    const std::optional<bool> read = box->SelBold();
    if (bold < 0)
        QVERIFY(!read.has_value());
    else
        QCOMPARE(read, std::optional<bool>(bold == 1));
    QCOMPARE(box->SelItalic(), std::optional<bool>(false));
    QCOMPARE(box->SelUnderline(), std::optional<bool>(false));
}

void SurfaceTest::writingMixedStyleFails()
{
    type(QStringLiteral("words"));
    select(0, 5);
    box->setSelBold(true);
    QCOMPARE(box->SelBold(), std::optional<bool>(true));
    select(0, 2);
    box->setSelBold(false);
    select(0, 5);
    QVERIFY(!box->SelBold().has_value());
    QVERIFY_THROWS_EXCEPTION(Failure, box->setSelBold(std::nullopt));
    QVERIFY_THROWS_EXCEPTION(Failure, box->setSelItalic(std::nullopt));
    QVERIFY_THROWS_EXCEPTION(Failure, box->setSelUnderline(std::nullopt));
    QVERIFY(!box->SelBold().has_value());
    // The caret's own format: the next typed text takes it.
    select(5, 5);
    box->setSelUnderline(true);
    QCOMPARE(box->SelUnderline(), std::optional<bool>(true));
    box->insertPlainText(QStringLiteral("X"));
    select(5, 6);
    QCOMPARE(box->SelUnderline(), std::optional<bool>(true));
}

void SurfaceTest::alignmentCodes_data()
{
    QTest::addColumn<QList<int>>("paragraphs");
    QTest::addColumn<int>("from");   // paragraph index of the selection start
    QTest::addColumn<int>("to");     // and end
    QTest::addColumn<int>("expected");   // -1 mixed
    QTest::newRow("left caret") << QList<int>{0} << 0 << 0 << 0;
    QTest::newRow("right caret") << QList<int>{1} << 0 << 0 << 1;
    QTest::newRow("centre") << QList<int>{2, 2} << 0 << 1 << 2;
    QTest::newRow("justified from a file") << QList<int>{3} << 0 << 0 << 3;
    QTest::newRow("centre and right mixed") << QList<int>{2, 1} << 0 << 1 << -1;
    QTest::newRow("only the first touched") << QList<int>{2, 1} << 0 << 0 << 2;
}

void SurfaceTest::alignmentCodes()
{
    QFETCH(QList<int>, paragraphs);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, expected);
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            box->textCursor().insertBlock();
        type(QStringLiteral("para %1").arg(i));
        box->setSelAlignment(paragraphs[i]);
    }
    QTextDocument *doc = box->document();
    select(doc->findBlockByNumber(from).position() + 1, doc->findBlockByNumber(to).position() + 2);
    const std::optional<int> read = box->SelAlignment();
    if (expected < 0)
        QVERIFY(!read.has_value());
    else
        QCOMPARE(read, std::optional<int>(expected));
}

void SurfaceTest::fontSizeAcceptsNumbersAndText_data()
{
    QTest::addColumn<QVariant>("size");
    QTest::addColumn<double>("points");   // 0: refused, size unchanged
    QTest::newRow("listed text") << QVariant(QStringLiteral("125")) << 125.0;
    QTest::newRow("integer") << QVariant(10) << 10.0;
    QTest::newRow("half point") << QVariant(QStringLiteral("10.5")) << 10.5;
    QTest::newRow("slider at zero") << QVariant(0) << 0.0;
    QTest::newRow("negative") << QVariant(-4) << 0.0;
    QTest::newRow("not a number") << QVariant(QStringLiteral("Font Size")) << 0.0;
    QTest::newRow("empty") << QVariant(QString()) << 0.0;
    QTest::newRow("beyond RTF") << QVariant(5000) << 0.0;
}

void SurfaceTest::fontSizeAcceptsNumbersAndText()
{
    QFETCH(QVariant, size);
    QFETCH(double, points);
    type(QStringLiteral("sized"));
    select(0, 5);
    box->setSelFontSize(20);
    if (points == 0) {
        QVERIFY_THROWS_EXCEPTION(Failure, box->setSelFontSize(size));
        points = 20;
    } else {
        box->setSelFontSize(size);
    }
    select(1, 2);
    QCOMPARE(box->textCursor().charFormat().fontPointSize(), points);
}

void SurfaceTest::colourIsWrittenAsBgr_data()
{
    QTest::addColumn<qint64>("bgr");
    QTest::addColumn<QColor>("rgb");
    QTest::newRow("red") << qint64(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("red light") << qint64(8421631) << QColor(255, 128, 128);
    QTest::newRow("blue thick") << qint64(0xC00000) << QColor(0, 0, 192);
    QTest::newRow("black") << qint64(0) << QColor(0, 0, 0);
}

void SurfaceTest::colourIsWrittenAsBgr()
{
    QFETCH(qint64, bgr);
    QFETCH(QColor, rgb);
    type(QStringLiteral("colour"));
    select(0, 6);
    box->setSelColor(bgr);
    select(2, 3);
    QCOMPARE(box->textCursor().charFormat().foreground().color(), rgb);
    QCOMPARE(RichTextBox::bgrFromColor(rgb), bgr);
}

void SurfaceTest::faceAppliesToWholeSurface()
{
    QTextCharFormat arial;
    arial.setFontFamilies(QStringList{QStringLiteral("Arial")});
    type(QStringLiteral("one "), arial);
    type(QStringLiteral("two"));
    select(1, 1);
    box->setFontName(QStringLiteral("Courier New"));
    for (QTextBlock::iterator it = box->document()->begin().begin(); !it.atEnd(); ++it)
        QCOMPARE(it.fragment().charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    QCOMPARE(box->FontName(), QStringLiteral("Courier New"));
    QVERIFY_THROWS_EXCEPTION(Failure, box->setFontName(QString()));
}

void SurfaceTest::selRtfRoundTripsFormatting()
{
    QTextCharFormat rich;
    rich.setFontWeight(QFont::Bold);
    rich.setFontItalic(true);
    rich.setFontUnderline(true);
    rich.setFontPointSize(30);
    rich.setForeground(QColor(0, 128, 0));
    rich.setFontFamilies(QStringList{QStringLiteral("Rockwell")});
    type(QStringLiteral("café {braces} \\ ünï 😀"), rich);
    box->setSelAlignment(RichTextBox::AlignCenterCode);
    box->selectAll();
    const QString markup = box->SelRTF();
    QVERIFY(markup.startsWith(QLatin1String("{\\rtf")));

    RichTextBox other;
    other.setSelRTF(markup);
    QCOMPARE(other.toPlainText(), box->toPlainText());
    QTextCursor cursor(other.document());
    cursor.setPosition(3);
    const QTextCharFormat read = cursor.charFormat();
    QCOMPARE(read.fontWeight(), int(QFont::Bold));
    QVERIFY(read.fontItalic());
    QVERIFY(read.fontUnderline());
    QCOMPARE(read.fontPointSize(), 30.0);
    QCOMPARE(read.foreground().color(), QColor(0, 128, 0));
    QCOMPARE(read.fontFamilies().toStringList().value(0), QStringLiteral("Rockwell"));
    QCOMPARE(other.document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
}

void SurfaceTest::selRtfOfEmptySelectionIsADocument()
{
    type(QStringLiteral("text"));
    const QString markup = box->SelRTF();
    QVERIFY(markup.startsWith(QLatin1String("{\\rtf")));
    QVERIFY(markup.trimmed().endsWith(QLatin1Char('}')));
    RichTextBox other;
    other.setSelRTF(markup);
    QCOMPARE(other.toPlainText(), QString());
}

void SurfaceTest::plainTextThroughSelRtfIsInsertedAsText()
{
    type(QStringLiteral("AXB"));
    select(1, 2);
    box->setSelRTF(QStringLiteral("line one\r\nline {two} \\par"));
    QCOMPARE(box->toPlainText(), QStringLiteral("Aline one\nline {two} \\parB"));
}

void SurfaceTest::selTextReplacesAndDeletes()
{
    type(QStringLiteral("hello world"));
    select(0, 5);
    QCOMPARE(box->SelLength(), 5);
    QCOMPARE(box->SelText(), QStringLiteral("hello"));
    box->setSelText(QStringLiteral("goodbye"));
    QCOMPARE(box->toPlainText(), QStringLiteral("goodbye world"));
    select(7, 13);
    box->setSelText(QString());
    QCOMPARE(box->toPlainText(), QStringLiteral("goodbye"));
    QCOMPARE(box->SelLength(), 0);
}

namespace {
// Reaches the editor's drag-and-drop conversions.
class DragSurface : public RichTextBox
{
public:
    using RichTextBox::createMimeDataFromSelection;
    using RichTextBox::insertFromMimeData;
};
} // namespace

void SurfaceTest::dragsCarryTheSameMarkupAsCopy()
{
    DragSurface source;
    QTextCursor cursor = source.textCursor();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("plain "));
    cursor.insertText(QStringLiteral("strong"), bold);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("next"));
    cursor.setPosition(2);
    cursor.setPosition(14, QTextCursor::KeepAnchor);
    source.setTextCursor(cursor);
    std::unique_ptr<QMimeData> data(source.createMimeDataFromSelection());
    QVERIFY(data->text().startsWith(QLatin1String("{\\rtf")));
    QCOMPARE(data->data(QStringLiteral("text/rtf")), data->text().toLatin1());

    DragSurface target;
    target.insertFromMimeData(data.get());
    RichTextBox viaCopy;
    viaCopy.setSelRTF(source.SelRTF());
    QCOMPARE(target.toPlainText(), viaCopy.toPlainText());
    QCOMPARE(target.toPlainText(), QStringLiteral("ain strong\nn"));
    QTextCursor probe(target.document());
    probe.setPosition(7);
    QCOMPARE(probe.charFormat().fontWeight(), int(QFont::Bold));

    // Text dropped from another program arrives as that text.
    QMimeData plain;
    plain.setText(QStringLiteral("dropped {text}"));
    target.insertFromMimeData(&plain);
    QVERIFY(target.toPlainText().endsWith(QLatin1String("dropped {text}")));
}

void SurfaceTest::selChangeIsRaisedOncePerMove()
{
    type(QStringLiteral("some text"));
    QSignalSpy spy(box.get(), &RichTextBox::SelChange);
    select(0, 4);          // moves the caret and makes a selection: one change
    QCOMPARE(spy.count(), 1);
    select(0, 4);          // the same again: no change
    QCOMPARE(spy.count(), 1);
    QTest::keyClick(box.get(), Qt::Key_Right);
    QCOMPARE(spy.count(), 2);
    QTest::keyClicks(box.get(), QStringLiteral("ab"));
    QCOMPARE(spy.count(), 4);
}

void SurfaceTest::loadTellsWhatItDropped()
{
    const QString lossy = dir->filePath(QStringLiteral("object.rtf"));
    QFile file(lossy);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 a{\\object{\\*\\objdata 0102}}b\\par}");
    file.close();
    box->LoadFile(lossy);
    QCOMPARE(box->LastLoad().dropped.counts.value(QStringLiteral("objdata")), 1);
    // The next load says only what it dropped itself.
    box->SaveFile(dir->filePath(QStringLiteral("again.rtf")));
    box->LoadFile(dir->filePath(QStringLiteral("again.rtf")));
    QVERIFY(box->LastLoad().dropped.counts.isEmpty());
}

void SurfaceTest::saveThenLoadKeepsTextAndFormatting()
{
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontPointSize(15);
    type(QStringLiteral("first\tparagraph"), red);
    box->textCursor().insertBlock();
    type(QStringLiteral("second") + QChar(QChar::LineSeparator) + QStringLiteral("line"));
    box->setSelAlignment(RichTextBox::AlignRightCode);
    const QString path = dir->filePath(QStringLiteral("letter.vrx"));
    box->SaveFile(path);

    RichTextBox loaded;
    loaded.LoadFile(path);
    QCOMPARE(loaded.toPlainText(), box->toPlainText());
    QTextCursor cursor(loaded.document());
    cursor.setPosition(2);
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
    QCOMPARE(cursor.charFormat().fontPointSize(), 15.0);
    QCOMPARE(loaded.document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    // Unformatted text keeps the surface's own face and size.
    cursor.setPosition(loaded.document()->lastBlock().position() + 1);
    QCOMPARE(cursor.charFormat().fontFamilies().toStringList().value(0, loaded.FontName()),
             QStringLiteral("Times New Roman"));
}

void SurfaceTest::plainTextFilesDecode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("loads");   // false: the file is taken for a binary one and refused
    QTest::newRow("ascii lines") << QByteArray("one\ntwo\r\nthree\rfour") << QStringLiteral("one\ntwo\nthree\nfour") << true;
    QTest::newRow("utf-8") << QByteArray("caf\xc3\xa9 \xe2\x82\xac") << QStringLiteral("café €") << true;
    QTest::newRow("utf-8 bom") << QByteArray("\xef\xbb\xbfhi") << QStringLiteral("hi") << true;
    QTest::newRow("utf-16le bom") << QByteArray("\xff\xfeh\0i\0", 6) << QStringLiteral("hi") << true;
    QTest::newRow("utf-16be bom") << QByteArray("\xfe\xff\0h\0i", 6) << QStringLiteral("hi") << true;
    QTest::newRow("windows-1252") << QByteArray("caf\xe9 \x80 \x93q\x94") << QStringLiteral("café € “q”") << true;
    QTest::newRow("binary noise") << QByteArray("a\0b\x01\x02\tc", 7) << QStringLiteral("ab\tc") << false;
    QTest::newRow("empty") << QByteArray() << QString() << true;
}

void SurfaceTest::plainTextFilesDecode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, loads);
    QCOMPARE(decodePlainText(bytes), text);
    const QString path = dir->filePath(QStringLiteral("notes.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    box->setPlainText(QStringLiteral("before"));
    try {
        box->LoadFile(path);
        QVERIFY(loads);
        QCOMPARE(box->toPlainText(), text);
    } catch (const Failure &failure) {
        QVERIFY2(!loads, qPrintable(failure.message()));
        QCOMPARE(box->toPlainText(), QStringLiteral("before"));
    }
}

void SurfaceTest::failedLoadKeepsContent_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QStringLiteral("missing.vrx") << QStringLiteral("No such file");
    QTest::newRow("folder") << QStringLiteral(".") << QStringLiteral("folder");
    QTest::newRow("under a file") << QStringLiteral("plain.txt/inner.vrx") << QStringLiteral("Cannot open");
}

void SurfaceTest::failedLoadKeepsContent()
{
    QFETCH(QString, path);
    QFETCH(QString, reason);
    QFile plain(dir->filePath(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    type(QStringLiteral("precious words"));
    try {
        box->LoadFile(dir->filePath(path));
        QFAIL("the load should fail");
    } catch (const Failure &failure) {
        QVERIFY2(failure.message().contains(reason), qPrintable(failure.message()));
        QVERIFY(failure.message().contains(QFileInfo(dir->filePath(path)).fileName()));
    }
    QCOMPARE(box->toPlainText(), QStringLiteral("precious words"));
}

void SurfaceTest::failedSaveKeepsExistingFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("a folder") << QStringLiteral("@dir");
    QTest::newRow("under a regular file") << QStringLiteral("@dir/old.vrx/new.vrx");
    QTest::newRow("name too long") << QStringLiteral("@dir/") + QString(300, QLatin1Char('n'));
    QTest::newRow("full device") << QStringLiteral("/dev/full");
    QTest::newRow("a pipe with no reader") << QStringLiteral("@dir/pipe");
}

void SurfaceTest::failedSaveKeepsExistingFile()
{
    QFETCH(QString, path);
    if (path.startsWith(QLatin1String("/dev/")) && !QFileInfo::exists(path))
        QSKIP("no such device here");
    path.replace(QLatin1String("@dir"), dir->path());
    if (path.endsWith(QLatin1String("/pipe")))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const QString old = dir->filePath(QStringLiteral("old.vrx"));
    QFile existing(old);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("{\\rtf1 old}");
    existing.close();
    type(QStringLiteral("new words"));
    QVERIFY_THROWS_EXCEPTION(Failure, box->SaveFile(path));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("{\\rtf1 old}"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.vrx")});
    QCOMPARE(box->toPlainText(), QStringLiteral("new words"));
}

void SurfaceTest::savingReplacesAtomically()
{
    const QString path = dir->filePath(QStringLiteral("letter.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("plain old text");
    file.close();
    type(QStringLiteral("replacement"));
    box->SaveFile(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.startsWith("{\\rtf1"));
    QVERIFY(written.contains("replacement"));
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("letter.txt")});
}

QTEST_MAIN(SurfaceTest)
#include "tst_surface.moc"
