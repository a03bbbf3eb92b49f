// Measures the RTF reader and writer on generated documents of about 1 MB and
// 10 MB, with Qt's own HTML import of the same content as a yardstick.
// Usage: rtf_bench [--no-yardstick] [megabytes...]   (default: 1 10)

#include "platform/rtf/RtfParser.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QFont>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

namespace {

// Small deterministic generator so runs compare.
class Random
{
public:
    quint32 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int below(int n) { return int(next() % quint32(n)); }

private:
    quint32 m_state = 2463534242u;
};

// A letter-like document: many paragraphs, formatting changing every few
// words (groups and ungrouped toggles), some accents, symbols and escapes.
QByteArray generate(qsizetype targetBytes, bool allBold)
{
    static const char *const words[] = {
        "the", "letter", "arrived", "on", "Tuesday", "with", "a", "short", "note", "about",
        "quarterly", "figures", "and", "an", "invitation", "to", "review", "draft", "minutes",
        "before", "Friday", "meeting", "regards", "section", "appendix", "summary", "budget",
    };
    static const char *const specials[] = {
        "caf\\'e9", "na\\'efve", "\\u8364?", "\\u20013?\\u25991?", "\\u-10179?\\u-8704?",
        "\\emdash", "\\ldblquote quote\\rdblquote", "\\{braces\\}", "\\u1055?\\u1088?\\u1080?",
    };
    static const char *const aligns[] = {"\\ql", "\\qc", "\\qr", "\\qj"};
    Random rnd;
    QByteArray out;
    out.reserve(targetBytes + 4096);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"
           "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}"
           "{\\f2\\fmodern\\fcharset0 Courier New;}{\\f3\\fswiss\\fcharset0 Verdana;}"
           "{\\f4\\froman\\fcharset0 Georgia;}}\r\n"
           "{\\colortbl;\\red0\\green0\\blue0;\\red200\\green0\\blue0;\\red0\\green120\\blue0;"
           "\\red0\\green0\\blue160;\\red120\\green120\\blue120;\\red160\\green80\\blue0;}\r\n";
    if (allBold)
        out += "\\b";
    while (out.size() < targetBytes) {
        out += "\\pard";
        out += aligns[rnd.below(8) < 5 ? 0 : rnd.below(4)];
        out += "\\plain\\f";
        out += QByteArray::number(rnd.below(5));
        out += "\\fs";
        out += QByteArray::number(20 + 2 * rnd.below(5));
        if (allBold)
            out += "\\b";
        out += ' ';
        const int wordsInParagraph = 40 + rnd.below(120);
        for (int w = 0; w < wordsInParagraph; ++w) {
            if (w > 0 && rnd.below(4) == 0) {
                switch (rnd.below(6)) {
                case 0: out += allBold ? "{\\i " : "{\\b "; break;
                case 1: out += "{\\i\\cf2 "; break;
                case 2: out += "{\\ul\\f1 "; break;
                case 3: out += "\\cf" + QByteArray::number(rnd.below(7)) + ' '; break;
                case 4: out += "\\fs" + QByteArray::number(18 + 2 * rnd.below(8)) + ' '; break;
                default: out += "{\\f3\\fs21 "; break;
                }
                const int inner = 1 + rnd.below(4);
                for (int k = 0; k < inner; ++k) {
                    out += words[rnd.below(int(std::size(words)))];
                    out += ' ';
                }
                if (out.endsWith(' ') && out.lastIndexOf('{') > out.lastIndexOf('}'))
                    out += '}';
            }
            if (rnd.below(25) == 0)
                out += specials[rnd.below(int(std::size(specials)))];
            else
                out += words[rnd.below(int(std::size(words)))];
            out += rnd.below(12) == 0 ? ", " : " ";
            if (rnd.below(90) == 0)
                out += "\\tab ";
        }
        out += rnd.below(10) == 0 ? "\\line end.\\par\r\n" : "end.\\par\r\n";
    }
    out += '}';
    return out;
}

// Thread CPU time: the machine may be busy with other work, wall time is noisy.
class Timer
{
public:
    void start() { m_start = now(); }
    double elapsed() const { return now() - m_start; }

private:
    static double now()
    {
        timespec ts {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
    }
    double m_start = 0;
};

double seconds(const Timer &t) { return t.elapsed(); }

// The toolbar's question: is the whole selection bold? Unset means mixed.
std::optional<bool> selectionBold(const QTextCursor &selection)
{
    const QTextDocument *doc = selection.document();
    const int from = selection.selectionStart();
    const int to = selection.selectionEnd();
    const QList<QTextFormat> formats = doc->allFormats();
    std::vector<qint8> boldOf(size_t(formats.size()), -1);   // by format index
    std::optional<bool> state;
    for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= from || f.position() >= to)
                continue;
            const int index = f.charFormatIndex();
            qint8 &cached = boldOf[size_t(index)];
            if (cached < 0)
                cached = formats.at(index).toCharFormat().fontWeight() >= QFont::Bold;
            const bool bold = cached;
            if (!state)
                state = bold;
            else if (*state != bold)
                return std::nullopt;
        }
    }
    return state;
}

double timeBoldScan(QTextDocument &doc, std::optional<bool> *result)
{
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    Timer t;
    t.start();
    *result = selectionBold(all);
    return seconds(t);
}

const char *describe(const std::optional<bool> &s)
{
    return !s ? "mixed" : *s ? "all bold" : "none bold";
}

void run(double megabytes, bool yardstick)
{
    const qsizetype bytes = qsizetype(megabytes * 1024 * 1024);
    const QByteArray rtf = generate(bytes, false);
    const double mb = double(rtf.size()) / (1024 * 1024);
    std::printf("\n== %.1f MB of RTF (%lld bytes), thread CPU seconds\n", mb, static_cast<long long>(rtf.size()));

    Timer t;
    double parseBest = 1e9;
    rtf::Document content;
    for (int i = 0; i < 3; ++i) {
        t.start();
        content = rtf::parse(rtf);
        parseBest = std::min(parseBest, seconds(t));
    }
    size_t runs = 0;
    for (const rtf::Block &b : content.body.blocks)
        runs += b.paragraph.runs.size();
    std::printf("parse only        %8.3f s  %7.1f MB/s   (%zu paragraphs, %zu runs, %zu formats)\n",
                parseBest, mb / parseBest, content.body.blocks.size(), runs, content.charStyles.size());

    // Best of three: a single run on a shared machine measures the machine.
    QTextDocument doc;
    double build = 1e9;
    for (int i = 0; i < 3; ++i) {
        doc.clear();
        t.start();
        (void)rtf::readIntoDocument(&doc, rtf);
        build = std::min(build, seconds(t));
    }
    std::printf("read into doc     %8.3f s  %7.1f MB/s   (%d blocks, parse included)\n", build,
                mb / build, doc.blockCount());

    QByteArray written;
    double write = 1e9;
    for (int i = 0; i < 3; ++i) {
        written.clear();
        t.start();
        written = rtf::writeDocument(doc);
        write = std::min(write, seconds(t));
    }
    std::printf("write             %8.3f s  %7.1f MB/s   (%lld bytes out)\n", write,
                double(written.size()) / (1024 * 1024) / write, static_cast<long long>(written.size()));

    std::optional<bool> bold;
    const double scanMixed = timeBoldScan(doc, &bold);
    std::printf("bold scan, mixed  %8.3f s  -> %s\n", scanMixed, describe(bold));

    QTextDocument boldDoc;
    (void)rtf::readIntoDocument(&boldDoc, generate(bytes, true));
    const double scanUniform = timeBoldScan(boldDoc, &bold);
    std::printf("bold scan, all    %8.3f s  -> %s (full pass)\n", scanUniform, describe(bold));

    if (!yardstick)
        return;
    t.start();
    const QString html = doc.toHtml();
    const double toHtml = seconds(t);
    QTextDocument htmlDoc;
    t.start();
    htmlDoc.setHtml(html);
    const double setHtml = seconds(t);
    std::printf("Qt toHtml         %8.3f s   (%lld chars)\n", toHtml, static_cast<long long>(html.size()));
    std::printf("Qt setHtml        %8.3f s   (yardstick for read into doc)\n", setHtml);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "minimal");
    QGuiApplication app(argc, argv);
    QList<double> sizes;
    bool yardstick = true;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--no-yardstick")
            yardstick = false;
        else
            sizes << QByteArray(argv[i]).toDouble();
    }
    if (sizes.isEmpty())
        sizes = {1, 10};
    for (double mb : sizes)
        run(mb, yardstick);
    return 0;
}
