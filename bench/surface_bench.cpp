// Measures the document surface on large documents: the toolbar's reflection
// of a select-all (the tri-state reads a caret move triggers), SaveFile and
// LoadFile through a real RichTextBox.
// Usage: surface_bench [megabytes...]   (default: 1 10)

#include "platform/RichTextBox.h"
#include "platform/rtf/RtfWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QAbstractTextDocumentLayout>
#include <QTextCursor>

#include <cstdio>

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
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(rtf::writeDocument(source)) < 0)
            qFatal("cannot write %s", qPrintable(path));
    }
    const double fileMb = QFileInfo(path).size() / 1e6;

    RichTextBox box;
    box.resize(800, 600);
    box.setRightMargin(box.Width() - 400);   // as a document window fits it
    QElapsedTimer timer;
    timer.start();
    box.LoadFile(path);
    const double load = ms(timer);

    timer.restart();
    box.SaveFile(path);
    const double save = ms(timer);

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

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<double> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QString::fromLocal8Bit(argv[i]).toDouble());
    if (sizes.isEmpty())
        sizes = {1, 10};
    for (double size : sizes) {
        run(size, false);
        run(size, true);
    }
    return 0;
}
