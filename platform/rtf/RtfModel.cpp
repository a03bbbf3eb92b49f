#include "RtfModel.h"

#include "RtfRules.h"

#include <QHashFunctions>

namespace rtf {

size_t qHash(const CharStyle &s, size_t seed) noexcept
{
    // The small fields packed, so a lookup hashes a few words.
    const quint64 flags = quint64(s.colour.set) | quint64(s.bold) << 1 | quint64(s.italic) << 2 | quint64(s.strike) << 3
        | quint64(s.doubleStrike) << 4 | quint64(s.caps) << 5 | quint64(s.smallCaps) << 6 | quint64(s.hidden) << 7
        | quint64(s.underline) << 8 | quint64(s.vertical) << 12 | quint64(quint16(s.halfPoints)) << 16
        | quint64(quint32(s.offset)) << 32;
    const quint64 languages = quint64(quint16(s.language)) | quint64(quint16(s.asianLanguage)) << 16
        | quint64(quint16(s.complexLanguage)) << 32;
    const quint64 faces = quint64(quint32(s.face)) | quint64(quint32(s.asianFace)) << 32;
    return qHashMulti(seed, faces, s.complexFace, flags, languages, s.colour.rgb, s.highlight.rgb, s.background.rgb,
                      s.charStyle);
}

size_t qHash(const ParaProps &p, size_t seed) noexcept
{
    return qHashMulti(seed, int(p.align), p.leftIndent, p.rightIndent, p.firstIndent, p.spaceBefore,
                      p.spaceAfter, p.lineSpacing, p.tabs, p.style, p.list, p.level, p.shading.rgb,
                      p.pageBreakBefore, p.keepWithNext);
}

bool appendText(Document &doc, Paragraph &paragraph, QStringView text, int style, int field)
{
    auto &runs = paragraph.runs;
    bool added = false;
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype j = i;
        while (j < text.size() && rules::keptInText(text.at(j).unicode()))
            ++j;
        if (j > i) {
            const bool extend = !runs.empty() && !runs.back().isObject() && runs.back().style == style
                && runs.back().field == field && runs.back().start + runs.back().length == doc.text.size();
            if (!extend)
                runs.push_back(Run {doc.text.size(), 0, style, field, -1});
            doc.text.append(text.sliced(i, j - i));
            runs.back().length += j - i;
            added = true;
        }
        i = j + 1;
    }
    return added;
}

void dropBreaksWithinRow(Row &row, bool nested, Dropped &dropped)
{
    bool first = !nested;
    for (Cell &cell : row.cells) {
        for (Block &block : cell.content.blocks) {
            if (!block.table && block.paragraph.pageBreak && !first) {
                block.paragraph.pageBreak = false;
                dropped.add(QStringLiteral("page breaks inside table cells"));
            }
            first = false;
        }
    }
}

} // namespace rtf
