#pragma once

#include "RtfKeywords.h"

// Lists: the list table and its overrides, a paragraph's \ls and \ilvl, the
// older \pn form, and the labels written as text for readers without lists.
namespace rtf {

class Parser;
struct Token;

enum ListsId {
    ListTable, ListDefinition, ListLevelGroup, LevelFormat, LevelStart, LevelText, LevelNumbers, LevelFollow,
    LevelLegal, LevelNoRestart, ListIdWord, ListTemplateId, ListHybrid, ListSimple, ListName,
    ListOverrideTable, ListOverride, OverrideLevel, OverrideStart, ListNumberWord, ListLevelWord, ListText,
    PnText, Pn, PnLevel, PnLevelBody, PnLevelBullet, PnLevelContinue, PnDecimal, PnUpperLetter,
    PnLowerLetter, PnUpperRoman, PnLowerRoman, PnStart, PnIndent, PnFont, PnTextBefore, PnTextAfter, PnHang,
    LevelJustify, LevelSpace, LevelIndent, OverrideCount,
};

inline constexpr Keyword listsKeywords[] = {
    {"listtable", Family::Lists, ListTable, Kind::Destination},
    {"list", Family::Lists, ListDefinition, Kind::Destination},
    {"listlevel", Family::Lists, ListLevelGroup, Kind::Destination},
    {"levelnfc", Family::Lists, LevelFormat, Kind::Value},
    {"levelnfcn", Family::Lists, LevelFormat, Kind::Value},
    {"levelstartat", Family::Lists, LevelStart, Kind::Value},
    {"leveltext", Family::Lists, LevelText, Kind::Destination},
    {"levelnumbers", Family::Lists, LevelNumbers, Kind::Destination},
    {"levelfollow", Family::Lists, LevelFollow, Kind::Value},
    {"levellegal", Family::Lists, LevelLegal, Kind::Value},
    {"levelnorestart", Family::Lists, LevelNoRestart, Kind::Value},
    {"listid", Family::Lists, ListIdWord, Kind::Value},
    {"listtemplateid", Family::Lists, ListTemplateId, Kind::Value},
    {"listhybrid", Family::Lists, ListHybrid, Kind::Flag},
    {"listsimple", Family::Lists, ListSimple, Kind::Value},
    {"listname", Family::Lists, ListName, Kind::Destination},
    {"listoverridetable", Family::Lists, ListOverrideTable, Kind::Destination},
    {"listoverride", Family::Lists, ListOverride, Kind::Destination},
    {"lfolevel", Family::Lists, OverrideLevel, Kind::Destination},
    {"listoverridestartat", Family::Lists, OverrideStart, Kind::Flag},
    {"ls", Family::Lists, ListNumberWord, Kind::Value},
    {"ilvl", Family::Lists, ListLevelWord, Kind::Value}, {"listtext", Family::Lists, ListText, Kind::Destination},
    {"pntext", Family::Lists, PnText, Kind::Destination}, {"pn", Family::Lists, Pn, Kind::Destination},
    {"pnlvl", Family::Lists, PnLevel, Kind::Value}, {"pnlvlbody", Family::Lists, PnLevelBody, Kind::Flag},
    {"pnlvlblt", Family::Lists, PnLevelBullet, Kind::Flag},
    {"pnlvlcont", Family::Lists, PnLevelContinue, Kind::Flag},
    {"pndec", Family::Lists, PnDecimal, Kind::Flag}, {"pnucltr", Family::Lists, PnUpperLetter, Kind::Flag},
    {"pnlcltr", Family::Lists, PnLowerLetter, Kind::Flag}, {"pnucrm", Family::Lists, PnUpperRoman, Kind::Flag},
    {"pnlcrm", Family::Lists, PnLowerRoman, Kind::Flag}, {"pnstart", Family::Lists, PnStart, Kind::Value},
    {"pnindent", Family::Lists, PnIndent, Kind::Value}, {"pnf", Family::Lists, PnFont, Kind::Value},
    {"pntxtb", Family::Lists, PnTextBefore, Kind::Destination},
    {"pntxta", Family::Lists, PnTextAfter, Kind::Destination},
    {"pnhang", Family::Lists, PnHang, Kind::Flag},
    // Read for their form only: the program keeps what it needs of them elsewhere.
    {"leveljc", Family::Lists, LevelJustify, Kind::Value}, {"leveljcn", Family::Lists, LevelJustify, Kind::Value},
    {"levelspace", Family::Lists, LevelSpace, Kind::Value}, {"levelindent", Family::Lists, LevelIndent, Kind::Value},
    {"listoverridecount", Family::Lists, OverrideCount, Kind::Value},
};

void listsWord(Parser &p, int id, const Token &t);

// The list instance a paragraph's \ls number names, or -1.
int listInstance(Parser &p, int number);

// The character a bullet from a symbol font stands for in Unicode, or c itself.
char16_t unicodeBullet(char16_t c);

} // namespace rtf
