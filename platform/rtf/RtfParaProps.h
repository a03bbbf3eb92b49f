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
    {"pard", Family::Para, Pard, Kind::Flag}, {"ql", Family::Para, AlignLeft, Kind::Flag},
    {"qr", Family::Para, AlignRight, Kind::Flag},
    {"qc", Family::Para, AlignCenter, Kind::Flag}, {"qj", Family::Para, AlignJustify, Kind::Flag},
    {"qd", Family::Para, AlignJustify, Kind::Flag},
    {"li", Family::Para, LeftIndent, Kind::Value}, {"lin", Family::Para, LeftIndent, Kind::Value},
    {"ri", Family::Para, RightIndent, Kind::Value},
    {"rin", Family::Para, RightIndent, Kind::Value}, {"fi", Family::Para, FirstIndent, Kind::Value},
    {"sb", Family::Para, SpaceBefore, Kind::Value},
    {"sa", Family::Para, SpaceAfter, Kind::Value}, {"sl", Family::Para, LineSpacing, Kind::Value},
    {"slmult", Family::Para, LineMultiple, Kind::Value},
    {"tqr", Family::Para, TabRight, Kind::Flag}, {"tqc", Family::Para, TabCenter, Kind::Flag},
    {"tqdec", Family::Para, TabDecimal, Kind::Flag},
    {"tx", Family::Para, TabPosition, Kind::Value}, {"tb", Family::Para, TabBar, Kind::Value},
    {"tldot", Family::Para, LeaderDot, Kind::Flag}, {"tlhyph", Family::Para, LeaderHyphen, Kind::Flag},
    {"tlul", Family::Para, LeaderUnderline, Kind::Flag}, {"tlth", Family::Para, LeaderThick, Kind::Flag},
    {"tleq", Family::Para, LeaderEqual, Kind::Flag}, {"tlmdot", Family::Para, LeaderMiddleDot, Kind::Flag},
    {"pagebb", Family::Para, PageBreakBefore, Kind::Flag}, {"keep", Family::Para, KeepTogether, Kind::Flag},
    {"keepn", Family::Para, KeepWithNext, Kind::Flag}, {"widctlpar", Family::Para, WidowControl, Kind::Flag},
    {"nowidctlpar", Family::Para, NoWidowControl, Kind::Flag}, {"cbpat", Family::Para, ShadingColour, Kind::Value},
    {"shading", Family::Para, ShadingPercent, Kind::Value},
    {"outlinelevel", Family::Para, OutlineLevel, Kind::Value},
    {"rtlpar", Family::Para, RightToLeft, Kind::Flag}, {"ltrpar", Family::Para, LeftToRight, Kind::Flag},
    {"intbl", Family::Para, InTable, Kind::Flag}, {"itap", Family::Para, TableDepth, Kind::Value},

    {"par", Family::Break, ParagraphEnd, Kind::Symbol}, {"page", Family::Break, PageBreak, Kind::Symbol},

    {"tab", Family::Special, u'\t', Kind::Symbol}, {"line", Family::Special, u'\x2028', Kind::Symbol},
    {"emdash", Family::Special, u'\x2014', Kind::Symbol}, {"endash", Family::Special, u'\x2013', Kind::Symbol},
    {"emspace", Family::Special, u'\x2003', Kind::Symbol}, {"enspace", Family::Special, u'\x2002', Kind::Symbol},
    {"qmspace", Family::Special, u'\x2005', Kind::Symbol}, {"bullet", Family::Special, u'\x2022', Kind::Symbol},
    {"lquote", Family::Special, u'\x2018', Kind::Symbol}, {"rquote", Family::Special, u'\x2019', Kind::Symbol},
    {"ldblquote", Family::Special, u'\x201C', Kind::Symbol},
    {"rdblquote", Family::Special, u'\x201D', Kind::Symbol},
    {"zwj", Family::Special, u'\x200D', Kind::Symbol}, {"zwnj", Family::Special, u'\x200C', Kind::Symbol},
    {"ltrmark", Family::Special, u'\x200E', Kind::Symbol}, {"rtlmark", Family::Special, u'\x200F', Kind::Symbol},
};

void paraWord(Parser &p, int id, const Token &t);
// \widowctrl: paragraphs have widow control unless they say otherwise.
void setWidowControlByDefault(Parser &p);

struct ParaState;
// A style's definition completed with what its parent (resolved) states and it does not.
void inheritParagraphStyle(ParaState &style, const ParaState &parent);
// A paragraph naming a style: what it does not state comes from the style's
// own definition and from what the style inherits, as other readers take it.
void applyParagraphStyle(ParaState &para, const ParaState &own, const ParaState &inherited, int styleIndex);

// Tab stops as the paragraph format keeps them: "r6480.1;l720.0" (kind,
// position in twips, leader).
QString tabStopsText(const std::vector<TabStop> &stops);
std::vector<TabStop> tabStopsFromText(const QString &text);
void breakWord(Parser &p, int id, const Token &t);

} // namespace rtf
