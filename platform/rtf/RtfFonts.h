#pragma once

#include "RtfKeywords.h"

// Code pages, the font table and the colour table.
namespace rtf {

class Parser;
struct Token;

enum DocId { DocVersion, DocAnsi, DocMac, DocPc, DocPca, DocAnsiCpg, DocDeff, DocUc, DocU, DocDefLang };
enum FontsId {
    FontTable, ColourTable, FontNumber, FontCharset, FontCodePage, Red, Green, Blue,
    FontFamilyNil, FontRoman, FontSwiss, FontModern, FontScript, FontDecor, FontTech, FontBidi, FontPitch,
    FontPanose, FontAlternative,
};

inline constexpr Keyword docKeywords[] = {
    // \rtf1 names the version: the one word that starts a destination with a number.
    {"rtf", Family::Doc, DocVersion, Kind::Value},
    {"ansi", Family::Doc, DocAnsi, Kind::Flag, ChangesRun}, {"mac", Family::Doc, DocMac, Kind::Flag, ChangesRun},
    {"pc", Family::Doc, DocPc, Kind::Flag, ChangesRun}, {"pca", Family::Doc, DocPca, Kind::Flag, ChangesRun},
    {"ansicpg", Family::Doc, DocAnsiCpg, Kind::Value, ChangesRun},
    {"deff", Family::Doc, DocDeff, Kind::Value, ChangesRun},
    {"uc", Family::Doc, DocUc, Kind::Value}, {"u", Family::Doc, DocU, Kind::Value},
    {"deflang", Family::Doc, DocDefLang, Kind::Value},
};

inline constexpr Keyword fontsKeywords[] = {
    {"fonttbl", Family::Fonts, FontTable, Kind::Destination},
    {"colortbl", Family::Fonts, ColourTable, Kind::Destination},
    {"f", Family::Fonts, FontNumber, Kind::Value, ChangesRun},
    {"fcharset", Family::Fonts, FontCharset, Kind::Value},
    {"cpg", Family::Fonts, FontCodePage, Kind::Value}, {"red", Family::Fonts, Red, Kind::Value},
    {"green", Family::Fonts, Green, Kind::Value},
    {"blue", Family::Fonts, Blue, Kind::Value},
    {"fnil", Family::Fonts, FontFamilyNil, Kind::Flag}, {"froman", Family::Fonts, FontRoman, Kind::Flag},
    {"fswiss", Family::Fonts, FontSwiss, Kind::Flag}, {"fmodern", Family::Fonts, FontModern, Kind::Flag},
    {"fscript", Family::Fonts, FontScript, Kind::Flag}, {"fdecor", Family::Fonts, FontDecor, Kind::Flag},
    {"ftech", Family::Fonts, FontTech, Kind::Flag}, {"fbidi", Family::Fonts, FontBidi, Kind::Flag},
    {"fprq", Family::Fonts, FontPitch, Kind::Value},
    {"panose", Family::Fonts, FontPanose, Kind::Destination},
    {"falt", Family::Fonts, FontAlternative, Kind::Destination},
};

void docWord(Parser &p, int id, const Token &t);
void fontsWord(Parser &p, int id, const Token &t);

} // namespace rtf
