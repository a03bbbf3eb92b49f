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
};

inline constexpr Keyword listsKeywords[] = {
    {"listtable", Family::Lists, ListTable, Destination}, {"list", Family::Lists, ListDefinition},
    {"listlevel", Family::Lists, ListLevelGroup}, {"levelnfc", Family::Lists, LevelFormat},
    {"levelnfcn", Family::Lists, LevelFormat}, {"levelstartat", Family::Lists, LevelStart},
    {"leveltext", Family::Lists, LevelText}, {"levelnumbers", Family::Lists, LevelNumbers},
    {"levelfollow", Family::Lists, LevelFollow}, {"levellegal", Family::Lists, LevelLegal},
    {"levelnorestart", Family::Lists, LevelNoRestart}, {"listid", Family::Lists, ListIdWord},
    {"listtemplateid", Family::Lists, ListTemplateId}, {"listhybrid", Family::Lists, ListHybrid},
    {"listsimple", Family::Lists, ListSimple}, {"listname", Family::Lists, ListName},
    {"listoverridetable", Family::Lists, ListOverrideTable, Destination},
    {"listoverride", Family::Lists, ListOverride}, {"lfolevel", Family::Lists, OverrideLevel},
    {"listoverridestartat", Family::Lists, OverrideStart}, {"ls", Family::Lists, ListNumberWord},
    {"ilvl", Family::Lists, ListLevelWord}, {"listtext", Family::Lists, ListText, Destination},
    {"pntext", Family::Lists, PnText, Destination}, {"pn", Family::Lists, Pn, Destination},
    {"pnlvl", Family::Lists, PnLevel}, {"pnlvlbody", Family::Lists, PnLevelBody},
    {"pnlvlblt", Family::Lists, PnLevelBullet}, {"pnlvlcont", Family::Lists, PnLevelContinue},
    {"pndec", Family::Lists, PnDecimal}, {"pnucltr", Family::Lists, PnUpperLetter},
    {"pnlcltr", Family::Lists, PnLowerLetter}, {"pnucrm", Family::Lists, PnUpperRoman},
    {"pnlcrm", Family::Lists, PnLowerRoman}, {"pnstart", Family::Lists, PnStart},
    {"pnindent", Family::Lists, PnIndent}, {"pnf", Family::Lists, PnFont},
    {"pntxtb", Family::Lists, PnTextBefore, Destination}, {"pntxta", Family::Lists, PnTextAfter, Destination},
    {"pnhang", Family::Lists, PnHang},
};

void listsWord(Parser &p, int id, const Token &t);

// The character a bullet from a symbol font stands for in Unicode, or c itself.
char16_t unicodeBullet(char16_t c);

} // namespace rtf
