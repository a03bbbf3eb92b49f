#pragma once

#include "RtfKeywords.h"

// Character formatting: \plain, size, colours, styles and effects.
namespace rtf {

class Parser;
struct Token;

enum CharId {
    Plain, FontSize, ColourIndex, Bold, Italic, Hidden,
    UnderlineOn, UnderlineDouble, UnderlineDotted, UnderlineDash, UnderlineWave, UnderlineWord,
    UnderlineThick, UnderlineNone,
    Strike, StrikeDouble, Super, Sub, NoSuperSub, Up, Down,
    Highlight, CharShading, Caps, SmallCaps,
};

inline constexpr Keyword charKeywords[] = {
    {"plain", Family::Char, Plain, ChangesRun}, {"fs", Family::Char, FontSize, ChangesRun},
    {"cf", Family::Char, ColourIndex, ChangesRun}, {"b", Family::Char, Bold, ChangesRun},
    {"i", Family::Char, Italic, ChangesRun}, {"v", Family::Char, Hidden, ChangesRun},
    {"ul", Family::Char, UnderlineOn, ChangesRun}, {"ulnone", Family::Char, UnderlineNone, ChangesRun},
    {"uld", Family::Char, UnderlineDotted, ChangesRun}, {"uldash", Family::Char, UnderlineDash, ChangesRun},
    {"uldashd", Family::Char, UnderlineDash, ChangesRun}, {"uldashdd", Family::Char, UnderlineDash, ChangesRun},
    {"uldb", Family::Char, UnderlineDouble, ChangesRun}, {"ulhwave", Family::Char, UnderlineWave, ChangesRun},
    {"ulldash", Family::Char, UnderlineDash, ChangesRun}, {"ulth", Family::Char, UnderlineThick, ChangesRun},
    {"ulthd", Family::Char, UnderlineThick, ChangesRun}, {"ulthdash", Family::Char, UnderlineThick, ChangesRun},
    {"ulthdashd", Family::Char, UnderlineThick, ChangesRun},
    {"ulthdashdd", Family::Char, UnderlineThick, ChangesRun},
    {"ulthldash", Family::Char, UnderlineThick, ChangesRun},
    {"ululdbwave", Family::Char, UnderlineWave, ChangesRun}, {"ulw", Family::Char, UnderlineWord, ChangesRun},
    {"ulwave", Family::Char, UnderlineWave, ChangesRun},
    {"strike", Family::Char, Strike, ChangesRun}, {"striked", Family::Char, StrikeDouble, ChangesRun},
    {"super", Family::Char, Super, ChangesRun}, {"sub", Family::Char, Sub, ChangesRun},
    {"nosupersub", Family::Char, NoSuperSub, ChangesRun}, {"up", Family::Char, Up, ChangesRun},
    {"dn", Family::Char, Down, ChangesRun}, {"highlight", Family::Char, Highlight, ChangesRun},
    {"chcbpat", Family::Char, CharShading, ChangesRun}, {"cb", Family::Char, CharShading, ChangesRun},
    {"caps", Family::Char, Caps, ChangesRun}, {"scaps", Family::Char, SmallCaps, ChangesRun},
};

void charWord(Parser &p, int id, const Token &t);

} // namespace rtf
