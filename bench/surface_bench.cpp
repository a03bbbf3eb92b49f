// Measures the document surface on large documents: the toolbar's reflection
// of a select-all (the tri-state reads a caret move triggers), SaveFile and
// LoadFile through a real RichTextBox; a letter with a large photograph and a
// long table.
// Usage: surface_bench [--best N] [megabytes...]   (default: 1 10)
// --best N opens and saves each letter N times and reports the fastest,
// steadier than one run on a shared machine; --letters skips the
// photograph and the table, --uniform the mixed-format letter.
// --packages opens the mixed letter as LibreOffice writes it in .docx and
// .odt beside its RTF (needs soffice), and nothing else; --keep DIR keeps
// the three files in DIR and uses them again on the next run.

#include "platform/Failure.h"
#include "platform/RichTextBox.h"
#include "platform/rtf/RtfParser.h"
#include "platform/rtf/RtfWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTextEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QAbstractTextDocumentLayout>
#include <QTextCursor>

#include <cstdio>
#include <memory>

#include <sys/resource.h>

namespace {

quint32 rng = 2463534242u;
int below(int n)
{
    rng ^= rng << 13;
    rng ^= rng >> 17;
    rng ^= rng << 5;
    return int(rng % quint32(n));
}

// Letter-like text: formatting changes every few words, alignment per paragraph.
void fill(QTextDocument *doc, qsizetype characters, bool uniform)
{
    static const char *const words[] = {"the", "letter", "arrived", "on", "Tuesday", "with", "a", "short",
                                        "note", "about", "quarterly", "figures", "café", "naïve", "€", "中文"};
    static const char *const faces[] = {"Arial", "Times New Roman", "Courier New", "Rockwell"};
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    qsizetype written = 0;
    while (written < characters) {
        QTextBlockFormat block;
        block.setAlignment(uniform ? Qt::AlignLeft : QList<Qt::Alignment>{Qt::AlignLeft, Qt::AlignHCenter,
                                                                         Qt::AlignRight}[below(3)]);
        if (written > 0)
            cursor.insertBlock(block);
        else
            cursor.setBlockFormat(block);
        for (int run = 0; run < 15; ++run) {
            QTextCharFormat format;
            format.setFontWeight(uniform || below(3) == 0 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(!uniform && below(4) == 0);
            format.setFontUnderline(!uniform && below(5) == 0);
            format.setFontPointSize(uniform ? 12 : 10 + below(4) * 2);
            format.setFontFamilies(QStringList{QString::fromUtf8(faces[uniform ? 0 : below(4)])});
            // A handful of colours, as the colour box offers: Qt hashes every
            // solid brush alike, so thousands of distinct colours would
            // measure its format table rather than the surface.
            format.setForeground(QColor::fromRgb(uniform ? 0 : QList<QRgb>{0x000000, 0xff0000, 0x0000ff,
                                                                           0x008000, 0xc00000}[below(5)]));
            QString text;
            for (int w = 0, n = 3 + below(3); w < n; ++w)
                text += QString::fromUtf8(words[below(16)]) + QLatin1Char(' ');
            cursor.insertText(text, format);
            written += text.size();
        }
    }
    cursor.endEditBlock();
    doc->setUndoRedoEnabled(true);
}

double ms(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e6; }

int best = 1;
bool lettersOnly = false;
bool uniformOnly = false;
bool packages = false;
QString keepDir;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0)
        qFatal("cannot write %s", qPrintable(path));
}

long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void reflect(RichTextBox &box)
{
    // What one selection change costs the toolbar: six reads.
    (void)box.SelBold();
    (void)box.SelItalic();
    (void)box.SelUnderline();
    (void)box.SelAlignment();
    (void)box.SelAlignment();
    (void)box.SelAlignment();
}

void run(double megabytes, bool uniform)
{
    // The document is made apart from any editor and reaches the surface as
    // a file, the way a person's documents do.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.vrx"));
    {
        QTextDocument source;
        fill(&source, qsizetype(megabytes * 1e6 / 1.1), uniform);
        writeFile(path, rtf::writeDocument(source));
    }
    const double fileMb = QFileInfo(path).size() / 1e6;

    QElapsedTimer timer;
    double load = 1e300, save = 1e300;
    std::unique_ptr<RichTextBox> surface;
    for (int attempt = 0; attempt < best; ++attempt) {
        surface = std::make_unique<RichTextBox>();
        surface->resize(800, 600);
        surface->setRightMargin(surface->Width() - 400);   // as a document window fits it
        timer.start();
        surface->LoadFile(path);
        load = qMin(load, ms(timer));
        timer.restart();
        surface->SaveFile(path);
        save = qMin(save, ms(timer));
    }
    RichTextBox &box = *surface;

    // Selecting everything lays the document out to its end (Qt's own
    // cost, done lazily otherwise); the reads after it are what the
    // toolbar's reflection adds to every selection change.
    timer.restart();
    (void)box.document()->documentLayout()->documentSize();
    const double layout = ms(timer);
    box.selectAll();
    timer.restart();
    reflect(box);
    const double firstReflect = ms(timer);
    timer.restart();
    reflect(box);
    const double againReflect = ms(timer);
    QTextCursor caret = box.textCursor();
    caret.setPosition(box.document()->characterCount() / 2);
    box.setTextCursor(caret);
    timer.restart();
    reflect(box);
    const double caretReflect = ms(timer);

    std::printf("%-8s %6.1f MB RTF: LoadFile %6.0f ms, SaveFile %6.0f ms, full layout %6.0f ms, "
                "select-all reflection %6.2f ms (again %5.2f ms, caret %5.2f ms), peak RSS %ld MB\n",
                uniform ? "uniform" : "mixed", fileMb, load, save, layout, firstReflect, againReflect,
                caretReflect, peakKilobytes() / 1024);
    std::fflush(stdout);
}

// Loads and saves path through a surface laid out as a document window's.
void loadAndSave(const QString &path, double &load, double &save)
{
    RichTextBox box;
    box.resize(800, 600);
    box.setRightMargin(box.Width() - 400);
    QElapsedTimer timer;
    timer.start();
    box.LoadFile(path);
    load = ms(timer);
    timer.restart();
    box.SaveFile(path + QStringLiteral(".saved"));
    save = ms(timer);
}

// A letter with a photograph of about 5 MB: its hex is decoded in one pass,
// Qt decodes the picture once, for display, and the bytes go back unchanged.
void runPhotograph()
{
    QImage photo(2600, 2000, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = qRgb(x * 255 / photo.width(), below(256), y * 255 / photo.height());
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "JPEG", 95);
    QByteArray rtf = "{\\rtf1 A photograph:\\par{\\pict\\jpegblip\\picw2600\\pich2000\\picwgoal9000\\pichgoal6923\r\n";
    const QByteArray hex = jpeg.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        rtf += hex.mid(i, 128) + "\r\n";
    rtf += "}\\par}";

    QElapsedTimer timer;
    timer.start();
    const rtf::Document model = rtf::parse(rtf);
    const double parse = ms(timer);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.vrx"));
    writeFile(path, rtf);
    double load = 0, save = 0;
    loadAndSave(path, load, save);
    std::printf("photograph %4.1f MB JPEG in %4.1f MB RTF: parse with hex decoding %5.0f ms (%4.0f MB/s), "
                "LoadFile %5.0f ms, SaveFile %5.0f ms\n",
                jpeg.size() / 1e6, rtf.size() / 1e6, parse, rtf.size() / 1e3 / parse, load, save);
    std::fflush(stdout);
}

// A 2,000-row, 5-column price table with bordered cells, as LibreOffice
// writes one; Qt's own HTML import and layout of the same table as the yardstick.
void runTable(int rows, int columns)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Liberation Serif;}}"
                     "\\pard\\plain\\f0\\fs24 Prices\\par\r\n";
    QByteArray definition = "\\trowd\\trql\\trgaph55\\trleft0";
    for (int c = 0; c < columns; ++c)
        definition += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                      "\\clbrdrr\\brdrs\\brdrw10\\cellx" + QByteArray::number((c + 1) * 1927);
    QString html = QStringLiteral("<p>Prices</p><table border=\"1\" cellspacing=\"0\">");
    for (int r = 0; r < rows; ++r) {
        rtf += definition;
        html += QStringLiteral("<tr>");
        for (int c = 0; c < columns; ++c) {
            const QByteArray text = c % 2 ? "Item " + QByteArray::number(r) : QByteArray::number(r * c) + ".50";
            rtf += "\\pard\\plain\\intbl\\ql\\f0\\fs24 " + text + "\\cell";
            html += QStringLiteral("<td width=\"128\">%1</td>").arg(QString::fromLatin1(text));
        }
        rtf += "\\row\r\n";
        html += QStringLiteral("</tr>");
    }
    rtf += "\\pard\\plain\\f0\\fs24 After\\par}";
    html += QStringLiteral("</table><p>After</p>");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("table.vrx"));
    writeFile(path, rtf);
    double load = 0, save = 0;
    loadAndSave(path, load, save);

    QTextEdit edit;
    edit.resize(800, 600);
    edit.setLineWrapMode(QTextEdit::FixedPixelWidth);
    edit.setLineWrapColumnOrWidth(800 - 40);
    QElapsedTimer timer;
    timer.start();
    edit.setHtml(html);
    (void)edit.document()->documentLayout()->documentSize();
    const double qt = ms(timer);
    std::printf("table %d x %d, %4.1f MB RTF: LoadFile %5.0f ms, SaveFile %5.0f ms; "
                "Qt's setHtml of the same table, laid out: %5.0f ms\n",
                rows, columns, rtf.size() / 1e6, load, save, qt);
    std::fflush(stdout);
}

// The mixed letter converted by LibreOffice to .docx and .odt, each opened
// as a document window opens it, against the RTF it was converted from.
void runPackages(double megabytes)
{
    QTemporaryDir temporary;
    const QDir dir(keepDir.isEmpty() ? temporary.path() : keepDir);
    const QString rtfPath = dir.filePath(QStringLiteral("letter.rtf"));
    if (QFileInfo::exists(rtfPath) && QFileInfo::exists(dir.filePath(QStringLiteral("letter.odt")))) {
        std::printf("using the files in %s\n", qPrintable(dir.path()));
    } else {
        QDir().mkpath(dir.path());
        QTextDocument source;
        fill(&source, qsizetype(megabytes * 1e6 / 1.1), false);
        writeFile(rtfPath, rtf::writeDocument(source));
    }
    const QStringList targets = {QStringLiteral("docx:MS Word 2007 XML"), QStringLiteral("odt")};
    for (const QString &target : targets) {
        if (QFileInfo::exists(dir.filePath(QStringLiteral("letter.") + target.section(u':', 0, 0))))
            continue;
        QProcess soffice;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), dir.path());
        soffice.setProcessEnvironment(env);
        soffice.start(QStringLiteral("soffice"),
                      {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                       QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                       QStringLiteral("--convert-to"), target, QStringLiteral("--outdir"), dir.path(), rtfPath});
        if (!soffice.waitForStarted()) {
            std::printf("packages: skipped, LibreOffice (soffice) is not installed\n");
            return;
        }
        soffice.waitForFinished(-1);
    }
    double rtfLoad = 0;
    for (const char *extension : {"rtf", "docx", "odt"}) {
        const QString path = dir.filePath(QStringLiteral("letter.") + QLatin1String(extension));
        if (!QFileInfo::exists(path)) {
            std::printf("%-5s LibreOffice wrote none\n", extension);
            continue;
        }
        double load = 1e300;
        QString failed;
        for (int attempt = 0; attempt < best && failed.isEmpty(); ++attempt) {
            RichTextBox box;
            box.resize(800, 600);
            box.setRightMargin(box.Width() - 400);
            QElapsedTimer timer;
            timer.start();
            try {
                box.LoadFile(path);
                load = qMin(load, ms(timer));
            } catch (const Failure &failure) {
                failed = failure.message().section(u'\n', -1);
            }
        }
        const double fileMb = QFileInfo(path).size() / 1e6;
        if (!failed.isEmpty()) {
            std::printf("%-5s %5.1f MB: cannot open: %s\n", extension, fileMb, qPrintable(failed));
            continue;
        }
        if (rtfLoad == 0)
            rtfLoad = load;
        std::printf("%-5s %5.1f MB of the %.0f MB letter: LoadFile %6.0f ms, %4.2f x the RTF's, peak RSS %ld MB\n",
                    extension, fileMb, megabytes, load, load / rtfLoad, peakKilobytes() / 1024);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<double> sizes;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--best" && i + 1 < argc)
            best = qMax(1, QByteArray(argv[++i]).toInt());
        else if (QByteArray(argv[i]) == "--letters")
            lettersOnly = true;
        else if (QByteArray(argv[i]) == "--uniform")
            uniformOnly = true;
        else if (QByteArray(argv[i]) == "--packages")
            packages = true;
        else if (QByteArray(argv[i]) == "--keep" && i + 1 < argc)
            keepDir = QString::fromLocal8Bit(argv[++i]);
        else
            sizes.append(QString::fromLocal8Bit(argv[i]).toDouble());
    }
    if (sizes.isEmpty())
        sizes = {1, 10};
    if (packages) {
        for (double size : sizes)
            runPackages(size);
        return 0;
    }
    for (double size : sizes) {
        if (!uniformOnly)
            run(size, false);
        run(size, true);
    }
    if (lettersOnly)
        return 0;
    runPhotograph();
    runTable(2000, 5);
    return 0;
}
