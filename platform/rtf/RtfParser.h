#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <vector>

namespace rtf {

enum class Align : quint8 { Left, Right, Center, Justify };

// The character formatting the editor keeps, as the reader resolved it.
struct RunStyle {
    int face = -1;          // index into Content::faces; -1 = the document's default face
    int halfPoints = 24;
    QRgb colour = 0;
    bool hasColour = false; // false = automatic colour
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const RunStyle &, const RunStyle &) = default;
};
size_t qHash(const RunStyle &s, size_t seed = 0) noexcept;

struct Run {
    qsizetype start = 0;    // into Content::text
    qsizetype length = 0;
    int style = 0;          // into Content::styles
};

struct Paragraph {
    qsizetype textStart = 0;
    qsizetype textLength = 0;
    qsizetype firstRun = 0;
    qsizetype runCount = 0;
    Align align = Align::Left;
    int markStyle = 0;      // formatting in effect at the paragraph mark
    bool terminated = false; // ended by \par (or a stand-in); false only for trailing text
};

// What an RTF document holds in the editor's terms, free of Qt's text classes
// so parsing can be measured and fuzzed on its own. Text has no paragraph
// separators: tabs, U+2028 line breaks and ordinary characters only.
struct Content {
    QString text;
    QStringList faces;
    std::vector<RunStyle> styles;
    std::vector<Run> runs;
    std::vector<Paragraph> paragraphs;
};

// True when data starts with "{\rtf" after an optional UTF-8 BOM and whitespace.
bool looksLikeRtf(QByteArrayView data);

// Parses RTF leniently. Requires looksLikeRtf(data); otherwise the result is empty.
Content parse(QByteArrayView data);

} // namespace rtf
