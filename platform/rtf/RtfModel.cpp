#include "RtfModel.h"

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

} // namespace rtf
