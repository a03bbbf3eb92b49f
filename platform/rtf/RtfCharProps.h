#pragma once

#include "RtfKeywords.h"

// Character formatting: \plain, size, colours, styles and effects.
namespace rtf {

class Parser;
struct Token;

namespace charWords {
enum Id : int {
    Plain, FontSize, ColourIndex, Bold, Italic, Hidden,
    UnderlineOn, UnderlineDouble, UnderlineDotted, UnderlineDash, UnderlineWave, UnderlineWord,
    UnderlineThick, UnderlineNone,
    Strike, StrikeDouble, Super, Sub, NoSuperSub, Up, Down,
    Highlight, CharShading, Caps, SmallCaps,
    ModeLow, ModeHigh, ModeDoubleByte, ModeLeftToRight, ModeRightToLeft, AssociatedFont, AssociatedOnly,
    Language, AsianLanguage, ComplexLanguage,
};
} // namespace charWords

inline constexpr Keyword charKeywords[] = {
    {"plain", Family::Char, charWords::Plain, Kind::Flag, ChangesRun},
    {"fs", Family::Char, charWords::FontSize, Kind::Value, ChangesRun},
    {"cf", Family::Char, charWords::ColourIndex, Kind::Value, ChangesRun},
    {"b", Family::Char, charWords::Bold, Kind::Toggle, ChangesRun},
    {"i", Family::Char, charWords::Italic, Kind::Toggle, ChangesRun},
    {"v", Family::Char, charWords::Hidden, Kind::Toggle, ChangesRun},
    {"ul", Family::Char, charWords::UnderlineOn, Kind::Toggle, ChangesRun},
    {"ulnone", Family::Char, charWords::UnderlineNone, Kind::Flag, ChangesRun},
    {"uld", Family::Char, charWords::UnderlineDotted, Kind::Toggle, ChangesRun},
    {"uldash", Family::Char, charWords::UnderlineDash, Kind::Toggle, ChangesRun},
    {"uldashd", Family::Char, charWords::UnderlineDash, Kind::Toggle, ChangesRun},
    {"uldashdd", Family::Char, charWords::UnderlineDash, Kind::Toggle, ChangesRun},
    {"uldb", Family::Char, charWords::UnderlineDouble, Kind::Toggle, ChangesRun},
    {"ulhwave", Family::Char, charWords::UnderlineWave, Kind::Toggle, ChangesRun},
    {"ulldash", Family::Char, charWords::UnderlineDash, Kind::Toggle, ChangesRun},
    {"ulth", Family::Char, charWords::UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthd", Family::Char, charWords::UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthdash", Family::Char, charWords::UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthdashd", Family::Char, charWords::UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthdashdd", Family::Char, charWords::UnderlineThick, Kind::Toggle, ChangesRun},
    {"ulthldash", Family::Char, charWords::UnderlineThick, Kind::Toggle, ChangesRun},
    {"ululdbwave", Family::Char, charWords::UnderlineWave, Kind::Toggle, ChangesRun},
    {"ulw", Family::Char, charWords::UnderlineWord, Kind::Toggle, ChangesRun},
    {"ulwave", Family::Char, charWords::UnderlineWave, Kind::Toggle, ChangesRun},
    {"strike", Family::Char, charWords::Strike, Kind::Toggle, ChangesRun},
    {"striked", Family::Char, charWords::StrikeDouble, Kind::Toggle, ChangesRun},
    {"super", Family::Char, charWords::Super, Kind::Flag, ChangesRun},
    {"sub", Family::Char, charWords::Sub, Kind::Flag, ChangesRun},
    {"nosupersub", Family::Char, charWords::NoSuperSub, Kind::Flag, ChangesRun},
    {"up", Family::Char, charWords::Up, Kind::Value, ChangesRun},
    {"dn", Family::Char, charWords::Down, Kind::Value, ChangesRun},
    {"highlight", Family::Char, charWords::Highlight, Kind::Value, ChangesRun},
    {"chcbpat", Family::Char, charWords::CharShading, Kind::Value, ChangesRun},
    {"cb", Family::Char, charWords::CharShading, Kind::Value, ChangesRun},
    {"caps", Family::Char, charWords::Caps, Kind::Toggle, ChangesRun},
    {"scaps", Family::Char, charWords::SmallCaps, Kind::Toggle, ChangesRun},
    // Which script's font \f and \af name.
    {"loch", Family::Char, charWords::ModeLow, Kind::Flag, ChangesRun},
    {"hich", Family::Char, charWords::ModeHigh, Kind::Flag, ChangesRun},
    {"dbch", Family::Char, charWords::ModeDoubleByte, Kind::Flag, ChangesRun},
    {"ltrch", Family::Char, charWords::ModeLeftToRight, Kind::Flag, ChangesRun},
    {"rtlch", Family::Char, charWords::ModeRightToLeft, Kind::Flag, ChangesRun},
    {"af", Family::Char, charWords::AssociatedFont, Kind::Value, ChangesRun},
    // The other associated properties and Word's script selector: read for their form only.
    {"afs", Family::Char, charWords::AssociatedOnly, Kind::Value},
    {"fcs", Family::Char, charWords::AssociatedOnly, Kind::Value},
    {"langnp", Family::Char, charWords::AssociatedOnly, Kind::Value},
    {"langfenp", Family::Char, charWords::AssociatedOnly, Kind::Value},
    {"noproof", Family::Char, charWords::AssociatedOnly, Kind::Flag},
    {"lang", Family::Char, charWords::Language, Kind::Value, ChangesRun},
    {"langfe", Family::Char, charWords::AsianLanguage, Kind::Value, ChangesRun},
    {"alang", Family::Char, charWords::ComplexLanguage, Kind::Value, ChangesRun},
};

void charWord(Parser &p, int id, const Token &t);

} // namespace rtf
