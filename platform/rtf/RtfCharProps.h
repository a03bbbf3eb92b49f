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
    ModeLow, ModeHigh, ModeDoubleByte, ModeLeftToRight, ModeRightToLeft, AssociatedFont, AssociatedOnly,
    Language, AsianLanguage, ComplexLanguage,
};

inline constexpr Keyword charKeywords[] = {
    {"plain", Family::Char, Plain, Kind::Flag, ChangesRun}, {"fs", Family::Char, FontSize, Kind::Value, ChangesRun},
    {"cf", Family::Char, ColourIndex, Kind::Value, ChangesRun}, {"b", Family::Char, Bold, Kind::Toggle, ChangesRun},
    {"i", Family::Char, Italic, Kind::Toggle, ChangesRun}, {"v", Family::Char, Hidden, Kind::Toggle, ChangesRun},
    {"ul", Family::Char, UnderlineOn, Kind::Toggle, ChangesRun},
    {"ulnone", Family::Char, UnderlineNone, Kind::Flag, ChangesRun},
    {"uld", Family::Char, UnderlineDotted, Kind::Toggle, ChangesRun},
    {"uldash", Family::Char, UnderlineDash, Kind::Toggle, ChangesRun},
    {"uldashd", Family::Char, UnderlineDash, Kind::Toggle, ChangesRun},
    {"uldashdd", Family::Char, UnderlineDash, Kind::Toggle, ChangesRun},
    {"uldb", Family::Char, UnderlineDouble, Kind::Toggle, ChangesRun},
    {"ulhwave", Family::Char, UnderlineWave, Kind::Toggle, ChangesRun},
    {"ulldash", Family::Char, UnderlineDash, Kind::Toggle, ChangesRun},
    {"ulth", Family::Char, UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthd", Family::Char, UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthdash", Family::Char, UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthdashd", Family::Char, UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthdashdd", Family::Char, UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthldash", Family::Char, UnderlineThick, Kind::Toggle, ChangesRun},
    {"ululdbwave", Family::Char, UnderlineWave, Kind::Toggle, ChangesRun},
    {"ulw", Family::Char, UnderlineWord, Kind::Toggle, ChangesRun},
    {"ulwave", Family::Char, UnderlineWave, Kind::Toggle, ChangesRun},
    {"strike", Family::Char, Strike, Kind::Toggle, ChangesRun},
    {"striked", Family::Char, StrikeDouble, Kind::Toggle, ChangesRun},
    {"super", Family::Char, Super, Kind::Flag, ChangesRun}, {"sub", Family::Char, Sub, Kind::Flag, ChangesRun},
    {"nosupersub", Family::Char, NoSuperSub, Kind::Flag, ChangesRun},
    {"up", Family::Char, Up, Kind::Value, ChangesRun},
    {"dn", Family::Char, Down, Kind::Value, ChangesRun},
    {"highlight", Family::Char, Highlight, Kind::Value, ChangesRun},
    {"chcbpat", Family::Char, CharShading, Kind::Value, ChangesRun},
    {"cb", Family::Char, CharShading, Kind::Value, ChangesRun},
    {"caps", Family::Char, Caps, Kind::Toggle, ChangesRun},
    {"scaps", Family::Char, SmallCaps, Kind::Toggle, ChangesRun},
    // Which script's font \f and \af name.
    {"loch", Family::Char, ModeLow, Kind::Flag, ChangesRun}, {"hich", Family::Char, ModeHigh, Kind::Flag, ChangesRun},
    {"dbch", Family::Char, ModeDoubleByte, Kind::Flag, ChangesRun},
    {"ltrch", Family::Char, ModeLeftToRight, Kind::Flag, ChangesRun},
    {"rtlch", Family::Char, ModeRightToLeft, Kind::Flag, ChangesRun},
    {"af", Family::Char, AssociatedFont, Kind::Value, ChangesRun},
    // The other associated properties and Word's script selector: read for their form only.
    {"afs", Family::Char, AssociatedOnly, Kind::Value}, {"fcs", Family::Char, AssociatedOnly, Kind::Value},
    {"langnp", Family::Char, AssociatedOnly, Kind::Value}, {"langfenp", Family::Char, AssociatedOnly, Kind::Value},
    {"noproof", Family::Char, AssociatedOnly, Kind::Flag},
    {"lang", Family::Char, Language, Kind::Value, ChangesRun},
    {"langfe", Family::Char, AsianLanguage, Kind::Value, ChangesRun},
    {"alang", Family::Char, ComplexLanguage, Kind::Value, ChangesRun},
};

void charWord(Parser &p, int id, const Token &t);

} // namespace rtf
