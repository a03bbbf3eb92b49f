#pragma once

#include "RtfKeywords.h"
#include "RtfModel.h"

#include <QString>

#include <vector>

// Paragraph properties, paragraph ends and the control words that stand for
// one character.
namespace rtf {

class Parser;
struct Token;

enum ParaId {
    Pard, AlignLeft, AlignRight, AlignCenter, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple,
    TabRight, TabCenter, TabDecimal, TabPosition, TabBar,
    LeaderDot, LeaderHyphen, LeaderUnderline, LeaderThick, LeaderEqual, LeaderMiddleDot,
    PageBreakBefore, KeepTogether, KeepWithNext, WidowControl, NoWidowControl,
    ShadingColour, ShadingPercent, OutlineLevel, RightToLeft, LeftToRight, InTable, TableDepth,
};

enum BreakId { ParagraphEnd, PageBreak };

inline constexpr Keyword paraKeywords[] = {
    {"pard", Family::Para, Pard}, {"ql", Family::Para, AlignLeft}, {"qr", Family::Para, AlignRight},
    {"qc", Family::Para, AlignCenter}, {"qj", Family::Para, AlignJustify}, {"qd", Family::Para, AlignJustify},
    {"li", Family::Para, LeftIndent}, {"lin", Family::Para, LeftIndent}, {"ri", Family::Para, RightIndent},
    {"rin", Family::Para, RightIndent}, {"fi", Family::Para, FirstIndent}, {"sb", Family::Para, SpaceBefore},
    {"sa", Family::Para, SpaceAfter}, {"sl", Family::Para, LineSpacing}, {"slmult", Family::Para, LineMultiple},
    {"tqr", Family::Para, TabRight}, {"tqc", Family::Para, TabCenter}, {"tqdec", Family::Para, TabDecimal},
    {"tx", Family::Para, TabPosition}, {"tb", Family::Para, TabBar},
    {"tldot", Family::Para, LeaderDot}, {"tlhyph", Family::Para, LeaderHyphen},
    {"tlul", Family::Para, LeaderUnderline}, {"tlth", Family::Para, LeaderThick},
    {"tleq", Family::Para, LeaderEqual}, {"tlmdot", Family::Para, LeaderMiddleDot},
    {"pagebb", Family::Para, PageBreakBefore}, {"keep", Family::Para, KeepTogether},
    {"keepn", Family::Para, KeepWithNext}, {"widctlpar", Family::Para, WidowControl},
    {"nowidctlpar", Family::Para, NoWidowControl}, {"cbpat", Family::Para, ShadingColour},
    {"shading", Family::Para, ShadingPercent}, {"outlinelevel", Family::Para, OutlineLevel},
    {"rtlpar", Family::Para, RightToLeft}, {"ltrpar", Family::Para, LeftToRight},
    {"intbl", Family::Para, InTable}, {"itap", Family::Para, TableDepth},

    {"par", Family::Break, ParagraphEnd}, {"page", Family::Break, PageBreak},

    {"tab", Family::Special, u'\t'}, {"line", Family::Special, u'\x2028'},
    {"emdash", Family::Special, u'\x2014'}, {"endash", Family::Special, u'\x2013'},
    {"emspace", Family::Special, u'\x2003'}, {"enspace", Family::Special, u'\x2002'},
    {"qmspace", Family::Special, u'\x2005'}, {"bullet", Family::Special, u'\x2022'},
    {"lquote", Family::Special, u'\x2018'}, {"rquote", Family::Special, u'\x2019'},
    {"ldblquote", Family::Special, u'\x201C'}, {"rdblquote", Family::Special, u'\x201D'},
    {"zwj", Family::Special, u'\x200D'}, {"zwnj", Family::Special, u'\x200C'},
    {"ltrmark", Family::Special, u'\x200E'}, {"rtlmark", Family::Special, u'\x200F'},
};

void paraWord(Parser &p, int id, const Token &t);

struct ParaState;
// A paragraph style's properties, where the paragraph states none of its own.
void applyParagraphStyle(ParaState &para, const ParaState &style, int styleIndex);

// Tab stops as the paragraph format keeps them: "r6480.1;l720.0" (kind,
// position in twips, leader).
QString tabStopsText(const std::vector<TabStop> &stops);
std::vector<TabStop> tabStopsFromText(const QString &text);
void breakWord(Parser &p, int id, const Token &t);

} // namespace rtf
