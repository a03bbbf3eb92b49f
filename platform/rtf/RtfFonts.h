#pragma once

#include "RtfKeywords.h"

// Code pages, the font table and the colour table.
namespace rtf {

class Parser;
struct Token;

enum DocId { DocAnsi, DocMac, DocPc, DocPca, DocAnsiCpg, DocDeff, DocUc, DocU, DocDefLang };
enum FontsId { FontTable, ColourTable, FontNumber, FontCharset, FontCodePage, Red, Green, Blue };

inline constexpr Keyword docKeywords[] = {
    {"ansi", Family::Doc, DocAnsi, ChangesRun}, {"mac", Family::Doc, DocMac, ChangesRun},
    {"pc", Family::Doc, DocPc, ChangesRun}, {"pca", Family::Doc, DocPca, ChangesRun},
    {"ansicpg", Family::Doc, DocAnsiCpg, ChangesRun}, {"deff", Family::Doc, DocDeff, ChangesRun},
    {"uc", Family::Doc, DocUc}, {"u", Family::Doc, DocU}, {"deflang", Family::Doc, DocDefLang},
};

inline constexpr Keyword fontsKeywords[] = {
    {"fonttbl", Family::Fonts, FontTable, Destination}, {"colortbl", Family::Fonts, ColourTable, Destination},
    {"f", Family::Fonts, FontNumber, ChangesRun}, {"fcharset", Family::Fonts, FontCharset},
    {"cpg", Family::Fonts, FontCodePage}, {"red", Family::Fonts, Red}, {"green", Family::Fonts, Green},
    {"blue", Family::Fonts, Blue},
};

void docWord(Parser &p, int id, const Token &t);
void fontsWord(Parser &p, int id, const Token &t);

} // namespace rtf
