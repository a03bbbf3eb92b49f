#pragma once

#include "RtfQt.h"

#include "RtfKeywords.h"

// Code pages, the font table and the colour table.
namespace rtf {

class Parser;
struct Token;

namespace docWords {
enum Id : int { DocVersion, DocAnsi, DocMac, DocPc, DocPca, DocAnsiCpg, DocDeff, DocUc, DocU, DocDefLang };
} // namespace docWords
namespace fontWords {
enum Id : int {
    FontTable, ColourTable, FontNumber, FontCharset, FontCodePage, Red, Green, Blue,
    FontFamilyNil, FontRoman, FontSwiss, FontModern, FontScript, FontDecor, FontTech, FontBidi, FontPitch,
    FontPanose, FontAlternative,
};
} // namespace fontWords

inline constexpr Keyword docKeywords[] = {
    // \rtf1 names the version: the one word that starts a destination with a number.
    {"rtf", Family::Doc, docWords::DocVersion, Kind::Value},
    {"ansi", Family::Doc, docWords::DocAnsi, Kind::Flag, ChangesRun},
    {"mac", Family::Doc, docWords::DocMac, Kind::Flag, ChangesRun},
    {"pc", Family::Doc, docWords::DocPc, Kind::Flag, ChangesRun},
    {"pca", Family::Doc, docWords::DocPca, Kind::Flag, ChangesRun},
    {"ansicpg", Family::Doc, docWords::DocAnsiCpg, Kind::Value, ChangesRun},
    {"deff", Family::Doc, docWords::DocDeff, Kind::Value, ChangesRun},
    {"uc", Family::Doc, docWords::DocUc, Kind::Value}, {"u", Family::Doc, docWords::DocU, Kind::Value},
    {"deflang", Family::Doc, docWords::DocDefLang, Kind::Value},
};

inline constexpr Keyword fontsKeywords[] = {
    {"fonttbl", Family::Fonts, fontWords::FontTable, Kind::Destination},
    {"colortbl", Family::Fonts, fontWords::ColourTable, Kind::Destination},
    {"f", Family::Fonts, fontWords::FontNumber, Kind::Value, ChangesRun},
    {"fcharset", Family::Fonts, fontWords::FontCharset, Kind::Value},
    {"cpg", Family::Fonts, fontWords::FontCodePage, Kind::Value},
    {"red", Family::Fonts, fontWords::Red, Kind::Value},
    {"green", Family::Fonts, fontWords::Green, Kind::Value},
    {"blue", Family::Fonts, fontWords::Blue, Kind::Value},
    {"fnil", Family::Fonts, fontWords::FontFamilyNil, Kind::Flag},
    {"froman", Family::Fonts, fontWords::FontRoman, Kind::Flag},
    {"fswiss", Family::Fonts, fontWords::FontSwiss, Kind::Flag},
    {"fmodern", Family::Fonts, fontWords::FontModern, Kind::Flag},
    {"fscript", Family::Fonts, fontWords::FontScript, Kind::Flag},
    {"fdecor", Family::Fonts, fontWords::FontDecor, Kind::Flag},
    {"ftech", Family::Fonts, fontWords::FontTech, Kind::Flag},
    {"fbidi", Family::Fonts, fontWords::FontBidi, Kind::Flag},
    {"fprq", Family::Fonts, fontWords::FontPitch, Kind::Value},
    {"panose", Family::Fonts, fontWords::FontPanose, Kind::Destination},
    {"falt", Family::Fonts, fontWords::FontAlternative, Kind::Destination},
};

void docWord(Parser &p, int id, const Token &t);
void fontsWord(Parser &p, int id, const Token &t);

// How a face is written in the font table: what the file said of it, the
// rest guessed from its name. Equal to guessedFont() where the file said
// nothing a guess would not.
FontRef writtenFont(const QString &name, const QList<FontRef> &described);
FontRef guessedFont(const QString &name);

} // namespace rtf
