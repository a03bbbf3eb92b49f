#pragma once

#include "RtfKeywords.h"

// Lists: the list table and its overrides, a paragraph's \ls and \ilvl, the
// older \pn form, and the labels written as text for readers without lists.
namespace rtf {

class Parser;
struct Token;

namespace listWords {
enum Id : int {
    ListTable, ListDefinition, ListLevelGroup, LevelFormat, LevelStart, LevelText, LevelNumbers, LevelFollow,
    LevelLegal, LevelNoRestart, ListIdWord, ListTemplateId, ListHybrid, ListSimple, ListName,
    ListOverrideTable, ListOverride, OverrideLevel, OverrideStart, ListNumberWord, ListLevelWord, ListText,
    PnText, Pn, PnLevel, PnLevelBody, PnLevelBullet, PnLevelContinue, PnDecimal, PnUpperLetter,
    PnLowerLetter, PnUpperRoman, PnLowerRoman, PnStart, PnIndent, PnFont, PnTextBefore, PnTextAfter, PnHang,
    LevelJustify, LevelSpace, LevelIndent, OverrideCount,
};
} // namespace listWords

inline constexpr Keyword listsKeywords[] = {
    {"listtable", Family::Lists, listWords::ListTable, Kind::Destination},
    {"list", Family::Lists, listWords::ListDefinition, Kind::Destination},
    {"listlevel", Family::Lists, listWords::ListLevelGroup, Kind::Destination},
    {"levelnfc", Family::Lists, listWords::LevelFormat, Kind::Value},
    {"levelnfcn", Family::Lists, listWords::LevelFormat, Kind::Value},
    {"levelstartat", Family::Lists, listWords::LevelStart, Kind::Value},
    {"leveltext", Family::Lists, listWords::LevelText, Kind::Destination},
    {"levelnumbers", Family::Lists, listWords::LevelNumbers, Kind::Destination},
    {"levelfollow", Family::Lists, listWords::LevelFollow, Kind::Value},
    {"levellegal", Family::Lists, listWords::LevelLegal, Kind::Value},
    {"levelnorestart", Family::Lists, listWords::LevelNoRestart, Kind::Value},
    {"listid", Family::Lists, listWords::ListIdWord, Kind::Value},
    {"listtemplateid", Family::Lists, listWords::ListTemplateId, Kind::Value},
    {"listhybrid", Family::Lists, listWords::ListHybrid, Kind::Flag},
    {"listsimple", Family::Lists, listWords::ListSimple, Kind::Value},
    {"listname", Family::Lists, listWords::ListName, Kind::Destination},
    {"listoverridetable", Family::Lists, listWords::ListOverrideTable, Kind::Destination},
    {"listoverride", Family::Lists, listWords::ListOverride, Kind::Destination},
    {"lfolevel", Family::Lists, listWords::OverrideLevel, Kind::Destination},
    {"listoverridestartat", Family::Lists, listWords::OverrideStart, Kind::Flag},
    {"ls", Family::Lists, listWords::ListNumberWord, Kind::Value},
    {"ilvl", Family::Lists, listWords::ListLevelWord, Kind::Value},
    {"listtext", Family::Lists, listWords::ListText, Kind::Destination},
    {"pntext", Family::Lists, listWords::PnText, Kind::Destination},
    {"pn", Family::Lists, listWords::Pn, Kind::Destination},
    {"pnlvl", Family::Lists, listWords::PnLevel, Kind::Value},
    {"pnlvlbody", Family::Lists, listWords::PnLevelBody, Kind::Flag},
    {"pnlvlblt", Family::Lists, listWords::PnLevelBullet, Kind::Flag},
    {"pnlvlcont", Family::Lists, listWords::PnLevelContinue, Kind::Flag},
    {"pndec", Family::Lists, listWords::PnDecimal, Kind::Flag},
    {"pnucltr", Family::Lists, listWords::PnUpperLetter, Kind::Flag},
    {"pnlcltr", Family::Lists, listWords::PnLowerLetter, Kind::Flag},
    {"pnucrm", Family::Lists, listWords::PnUpperRoman, Kind::Flag},
    {"pnlcrm", Family::Lists, listWords::PnLowerRoman, Kind::Flag},
    {"pnstart", Family::Lists, listWords::PnStart, Kind::Value},
    {"pnindent", Family::Lists, listWords::PnIndent, Kind::Value},
    {"pnf", Family::Lists, listWords::PnFont, Kind::Value},
    {"pntxtb", Family::Lists, listWords::PnTextBefore, Kind::Destination},
    {"pntxta", Family::Lists, listWords::PnTextAfter, Kind::Destination},
    {"pnhang", Family::Lists, listWords::PnHang, Kind::Flag},
    // Read for their form only: the program keeps what it needs of them elsewhere.
    {"leveljc", Family::Lists, listWords::LevelJustify, Kind::Value},
    {"leveljcn", Family::Lists, listWords::LevelJustify, Kind::Value},
    {"levelspace", Family::Lists, listWords::LevelSpace, Kind::Value},
    {"levelindent", Family::Lists, listWords::LevelIndent, Kind::Value},
    {"listoverridecount", Family::Lists, listWords::OverrideCount, Kind::Value},
};

void listsWord(Parser &p, int id, const Token &t);

// The list instance a paragraph's \ls number names, or -1.
int listInstance(Parser &p, int number);

// The character a bullet from a symbol font stands for in Unicode, or c itself.
char16_t unicodeBullet(char16_t c);

} // namespace rtf
