// Zip archives as the program opens them (damaged, lying, oversized or
// reaching outside the package), and the judgement of what a file is by its
// content: documents go to their readers, text stays text, anything else is
// refused before it reaches the window.

#include "platform/DocumentFormat.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"
#include "platform/package/Zip.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using documentformat::Format;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class PackageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void archives_data();
    void archives();
    void unsafeNamesNeverReachTheReader();
    void packageTotalIsCapped();
    void recognition_data();
    void recognition();
    void refusedLoadKeepsTheDocument_data();
    void refusedLoadKeepsTheDocument();
    void packagedDocumentLoads_data();
    void packagedDocumentLoads();

private:
    QTemporaryDir dir;
    QString file(const QString &name) const { return dir.filePath(name); }
};

void PackageTest::initTestCase()
{
    QVERIFY(dir.isValid());
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral(SCRIBVALE_SOURCE_DIR "/tests/package/make_archives.py"), dir.path()});
    if (!python.waitForStarted())
        QSKIP("python3 is needed to write the test archives");
    QVERIFY(python.waitForFinished(120000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
}

void PackageTest::archives_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("part");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<QString>("reason");   // in the open or read error
    QTest::addColumn<qint64>("partCap");   // 0: the default limits

    QTest::newRow("a document") << "word.docx" << "word/document.xml" << true << true << "" << qint64(0);
    QTest::newRow("names without regard to case") << "word.docx" << "WORD/Document.XML" << true << true << "" << qint64(0);
    QTest::newRow("a picture") << "word.docx" << "word/media/image1.png" << true << true << "" << qint64(0);
    QTest::newRow("a part that is not there") << "word.docx" << "word/styles.xml" << true << false << "no part" << qint64(0);
    QTest::newRow("zip bomb: a part inflating past its cap")
        << "bomb.docx" << "word/document.xml" << true << false << "larger than 256 MB" << qint64(0);
    QTest::newRow("absurd compression ratio")
        << "ratio.docx" << "word/document.xml" << true << false << "compressed more than" << qint64(0);
    QTest::newRow("headers that understate the size: the count stops it")
        << "understated.zip" << "big.xml" << true << false << "larger than 1 MB" << (qint64(1) << 20);
    QTest::newRow("truncated archive") << "truncated.docx" << "" << false << false << "cut short" << qint64(0);
    QTest::newRow("corrupt central directory") << "corrupt-directory.docx" << "" << false << false << "damaged" << qint64(0);
    QTest::newRow("entry recorded at the wrong place") << "wrong-offset.docx" << "" << false << false << "" << qint64(0);
    QTest::newRow("100,000 entries") << "many.zip" << "" << false << false << "100000 entries" << qint64(0);
    QTest::newRow("one name twice, cases apart") << "duplicate.docx" << "" << false << false << "two entries" << qint64(0);
    QTest::newRow("path traversal") << "traversal.zip" << "../evil.xml" << true << false << "no part" << qint64(0);
    QTest::newRow("an empty archive") << "empty.zip" << "mimetype" << true << false << "no part" << qint64(0);
}

void PackageTest::archives()
{
    QFETCH(QString, archive);
    QFETCH(QString, part);
    QFETCH(bool, opens);
    QFETCH(bool, reads);
    QFETCH(QString, reason);
    QFETCH(qint64, partCap);
    const QByteArray bytes = readAll(file(archive));
    QVERIFY(!bytes.isEmpty());
    package::Limits limits;
    if (partCap > 0)
        limits.partBytes = partCap;
    package::ZipParts parts(bytes, limits);
    QCOMPARE(parts.isOpen(), opens);
    if (!opens) {
        QVERIFY2(parts.error().contains(reason), qPrintable(parts.error()));
        QVERIFY(parts.names().isEmpty());
        return;
    }
    QString error;
    const std::optional<QByteArray> got = parts.read(part, &error);
    QCOMPARE(got.has_value(), reads);
    if (!reads)
        QVERIFY2(error.contains(reason) && !error.isEmpty(), qPrintable(error));
    // Whatever was refused, no more than the caps was ever inflated.
    QVERIFY(parts.inflated() <= limits.partBytes + 64 * 1024);
}

void PackageTest::unsafeNamesNeverReachTheReader()
{
    package::ZipParts parts(readAll(file("traversal.zip")));
    QVERIFY(parts.isOpen());
    QCOMPARE(parts.names(), QStringList{QStringLiteral("good.xml")});
    QCOMPARE(parts.read(QStringLiteral("good.xml")).value_or(QByteArray()), QByteArray("kept"));
    QVERIFY(!parts.read(QStringLiteral("up.xml")));
}

void PackageTest::packageTotalIsCapped()
{
    // Four parts of 400 KB under a total of 1 MB: the third is refused, and
    // so is anything after it.
    package::Limits limits;
    limits.totalBytes = qint64(1) << 20;
    package::ZipParts parts(readAll(file("four-parts.zip")), limits);
    QVERIFY(parts.read(QStringLiteral("part0.xml")));
    QVERIFY(parts.read(QStringLiteral("part1.xml")));
    QString error;
    QVERIFY(!parts.read(QStringLiteral("part2.xml"), &error));
    QVERIFY2(error.contains(QStringLiteral("more than 1 MB")), qPrintable(error));
    QVERIFY(!parts.read(QStringLiteral("part3.xml")));
}

void PackageTest::recognition_data()
{
    QTest::addColumn<QByteArray>("input");   // "@name" reads the test archive
    QTest::addColumn<int>("format");
    const int rtf = int(Format::Rtf), text = int(Format::Text), word = int(Format::WordDocument),
              odt = int(Format::OpenDocument), flat = int(Format::FlatOpenDocument), no = int(Format::Unreadable);

    QTest::newRow("rtf") << QByteArray("{\\rtf1\\ansi hello}") << rtf;
    QTest::newRow("rtf after a byte-order mark and a blank line") << QByteArray("\xEF\xBB\xBF\r\n{\\rtf1 x}") << rtf;
    QTest::newRow("utf-8 text") << QByteArray("Dear friend,\n\xC3\xA9t\xC3\xA9\n") << text;
    QTest::newRow("legacy code page text") << QByteArray("caf\xE9 \x93quoted\x94\r\n") << text;
    QTest::newRow("utf-16 with a byte-order mark") << QByteArray("\xFF\xFEH\0i\0\n\0", 8) << text;
    QTest::newRow("utf-16 big-endian with a byte-order mark") << QByteArray("\xFE\xFF\0H\0i", 6) << text;
    QTest::newRow("utf-16 without a byte-order mark") << QByteArray("H\0e\0l\0l\0o\0 \0t\0h\0e\0r\0e\0", 22) << text;
    QTest::newRow("empty file") << QByteArray() << text;
    QTest::newRow("text starting BM") << QByteArray("BMW service on Monday\n") << text;
    QTest::newRow("text starting ID3") << QByteArray("ID3 tags explained\n") << text;
    QTest::newRow("text starting RIFF") << QByteArray("RIFF is a container; WAVE files use it\n") << text;
    QTest::newRow("a log with colour escapes") << QByteArray("\x1B[31merror\x1B[0m: disk full\n") << text;
    QTest::newRow("html") << QByteArray("<!DOCTYPE html><html><body>Hi</body></html>") << text;
    QTest::newRow("other xml") << QByteArray("<?xml version=\"1.0\"?><note><to>Ann</to></note>") << text;
    QTest::newRow("flat text")
        << QByteArray("<?xml version=\"1.0\"?>\n<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:"
                      "xmlns:office:1.0\" office:mimetype=\"application/vnd.oasis.opendocument.text\"/>")
        << flat;
    QTest::newRow("flat text, other prefix, with a byte-order mark")
        << QByteArray("\xEF\xBB\xBF<o:document xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                      "o:mimetype=\"application/vnd.oasis.opendocument.text\"></o:document>")
        << flat;
    QTest::newRow("flat spreadsheet")
        << QByteArray("<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                      "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\"/>")
        << no;
    QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) << no;
    QTest::newRow("jpeg") << QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10) << no;
    QTest::newRow("gif") << QByteArray("GIF89a\x01\0\x01\0", 10) << no;
    QTest::newRow("pdf") << QByteArray("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj\n") << no;
    QTest::newRow("elf program") << QByteArray("\x7F" "ELF\x02\x01\x01", 7) << no;
    QTest::newRow("gzip") << QByteArray("\x1F\x8B\x08\x00", 4) << no;
    QTest::newRow("old word document") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10) << no;
    QTest::newRow("wave sound") << QByteArray("RIFF\x24\x08\0\0WAVEfmt ", 16) << no;
    QTest::newRow("mp4 video") << QByteArray("\0\0\0\x20" "ftypisom", 12) << no;
    QTest::newRow("bzip2") << QByteArray("BZh91AY&SY\x01") << no;
    QTest::newRow("mp3 with a tag") << QByteArray("ID3\x04\0\0\0\0\0", 9) << no;
    QTest::newRow("text with a NUL") << QByteArray("looks like text\0but is not, with NULs\0 both sides\0\0", 51) << no;
    QTest::newRow("many control characters") << QByteArray("\x01\x02\x03\x04\x05\x06 abc \x07\x08\x0E\x0F") << no;
    QTest::newRow("docx") << QByteArray("@word.docx") << word;
    QTest::newRow("dotx") << QByteArray("@word-template.dotx") << word;
    QTest::newRow("docx typed by extension") << QByteArray("@default-type.docx") << word;
    QTest::newRow("odt") << QByteArray("@text.odt") << odt;
    QTest::newRow("odt without its mimetype entry") << QByteArray("@no-mimetype.odt") << odt;
    QTest::newRow("xlsx") << QByteArray("@sheet.xlsx") << no;
    QTest::newRow("ods") << QByteArray("@sheet.ods") << no;
    QTest::newRow("other zip") << QByteArray("@plain.zip") << no;
    QTest::newRow("empty zip") << QByteArray("@empty.zip") << no;
    QTest::newRow("truncated zip") << QByteArray("@truncated.docx") << no;
}

void PackageTest::recognition()
{
    QFETCH(QByteArray, input);
    QFETCH(int, format);
    if (input.startsWith('@'))
        input = readAll(file(QString::fromUtf8(input.mid(1))));
    const documentformat::Recognised got = documentformat::recognise(input);
    QCOMPARE(int(got.format), format);
    QCOMPARE(got.parts != nullptr, format == int(Format::WordDocument) || format == int(Format::OpenDocument));
    if (format == int(Format::Unreadable))
        QVERIFY(!got.reason.isEmpty());
}

void PackageTest::refusedLoadKeepsTheDocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");   // written to name; empty: a test archive
    QTest::addColumn<QString>("reason");

    const QString notOurs = QStringLiteral("not a document Scribvale can read");
    QTest::newRow("a picture") << "photo.png" << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16) << notOurs;
    QTest::newRow("a program") << "tool" << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0\0", 11) << notOurs;
    QTest::newRow("a spreadsheet in a zip") << "sheet.xlsx" << QByteArray() << notOurs;
    QTest::newRow("a zip of another kind") << "plain.zip" << QByteArray() << notOurs;
    QTest::newRow("truncated archive") << "truncated.docx" << QByteArray() << "cut short";
    QTest::newRow("corrupt central directory") << "corrupt-directory.docx" << QByteArray() << "damaged";
    QTest::newRow("missing main part") << "missing-content.odt" << QByteArray() << "content.xml is missing";
    QTest::newRow("zip bomb") << "bomb.odt" << QByteArray() << "larger than 256 MB";
    QTest::newRow("100,000 entries") << "many.zip" << QByteArray() << "entries";
}

void PackageTest::refusedLoadKeepsTheDocument()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    if (!bytes.isEmpty()) {
        QFile out(file(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    const QByteArray before = readAll(file(name));
    RichTextBox surface;
    surface.setSelText(QStringLiteral("unsaved words"));
    try {
        surface.LoadFile(file(name));
        QFAIL("the file was taken as a document");
    } catch (const Failure &failure) {
        QVERIFY2(failure.message().contains(name), qPrintable(failure.message()));
        QVERIFY2(failure.message().contains(reason), qPrintable(failure.message()));
    }
    QCOMPARE(surface.toPlainText(), QStringLiteral("unsaved words"));
    QVERIFY(surface.ForeignFile().isEmpty());
    QCOMPARE(readAll(file(name)), before);
}

void PackageTest::packagedDocumentLoads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("odt") << file("text.odt") << "Hello from an odt";
    QTest::newRow("odt named .txt") << "@text.odt>letter.txt" << "Hello from an odt";
    QTest::newRow("fodt") << QStringLiteral(SCRIBVALE_SOURCE_DIR "/tests/interop/odt/lo-para.fodt") << "";
}

void PackageTest::packagedDocumentLoads()
{
    QFETCH(QString, path);
    QFETCH(QString, text);
    if (path.startsWith(u'@')) {
        // The content decides, not the name.
        const QStringList copy = path.mid(1).split(u'>');
        QFile::remove(file(copy[1]));
        QVERIFY(QFile::copy(file(copy[0]), file(copy[1])));
        path = file(copy[1]);
    }
    RichTextBox surface;
    surface.LoadFile(path);
    QVERIFY(!surface.toPlainText().isEmpty());
    if (!text.isEmpty())
        QCOMPARE(surface.toPlainText(), text);
    QCOMPARE(surface.ForeignFile(), path);
    // Another file read afterwards is no longer foreign.
    QFile plain(file("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("words");
    plain.close();
    surface.LoadFile(file("plain.txt"));
    QVERIFY(surface.ForeignFile().isEmpty());
}

QTEST_MAIN(PackageTest)
#include "tst_package.moc"
