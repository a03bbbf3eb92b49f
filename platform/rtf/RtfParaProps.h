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

namespace paraWords {
enum Id : int {
    Pard, AlignLeft, AlignRight, AlignCenter, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple,
    TabRight, TabCenter, TabDecimal, TabPosition, TabBar,
    LeaderDot, LeaderHyphen, LeaderUnderline, LeaderThick, LeaderEqual, LeaderMiddleDot,
    PageBreakBefore, KeepTogether, KeepWithNext, WidowControl, NoWidowControl,
    ShadingColour, ShadingPercent, OutlineLevel, RightToLeft, LeftToRight, InTable, TableDepth,
};
} // namespace paraWords

namespace breakWords {
enum Id : int { ParagraphEnd, PageBreak };
} // namespace breakWords

inline constexpr Keyword paraKeywords[] = {
    {"pard", Family::Para, paraWords::Pard, Kind::Flag}, {"ql", Family::Para, paraWords::AlignLeft, Kind::Flag},
    {"qr", Family::Para, paraWords::AlignRight, Kind::Flag},
    {"qc", Family::Para, paraWords::AlignCenter, Kind::Flag},
    {"qj", Family::Para, paraWords::AlignJustify, Kind::Flag},
    {"qd", Family::Para, paraWords::AlignJustify, Kind::Flag},
    {"li", Family::Para, paraWords::LeftIndent, Kind::Value},
    {"lin", Family::Para, paraWords::LeftIndent, Kind::Value},
    {"ri", Family::Para, paraWords::RightIndent, Kind::Value},
    {"rin", Family::Para, paraWords::RightIndent, Kind::Value},
    {"fi", Family::Para, paraWords::FirstIndent, Kind::Value},
    {"sb", Family::Para, paraWords::SpaceBefore, Kind::Value},
    {"sa", Family::Para, paraWords::SpaceAfter, Kind::Value},
    {"sl", Family::Para, paraWords::LineSpacing, Kind::Value},
    {"slmult", Family::Para, paraWords::LineMultiple, Kind::Value},
    {"tqr", Family::Para, paraWords::TabRight, Kind::Flag}, {"tqc", Family::Para, paraWords::TabCenter, Kind::Flag},
    {"tqdec", Family::Para, paraWords::TabDecimal, Kind::Flag},
    {"tx", Family::Para, paraWords::TabPosition, Kind::Value}, {"tb", Family::Para, paraWords::TabBar, Kind::Value},
    {"tldot", Family::Para, paraWords::LeaderDot, Kind::Flag},
    {"tlhyph", Family::Para, paraWords::LeaderHyphen, Kind::Flag},
    {"tlul", Family::Para, paraWords::LeaderUnderline, Kind::Flag},
    {"tlth", Family::Para, paraWords::LeaderThick, Kind::Flag},
    {"tleq", Family::Para, paraWords::LeaderEqual, Kind::Flag},
    {"tlmdot", Family::Para, paraWords::LeaderMiddleDot, Kind::Flag},
    {"pagebb", Family::Para, paraWords::PageBreakBefore, Kind::Flag},
    {"keep", Family::Para, paraWords::KeepTogether, Kind::Flag},
    {"keepn", Family::Para, paraWords::KeepWithNext, Kind::Flag},
    {"widctlpar", Family::Para, paraWords::WidowControl, Kind::Flag},
    {"nowidctlpar", Family::Para, paraWords::NoWidowControl, Kind::Flag},
    {"cbpat", Family::Para, paraWords::ShadingColour, Kind::Value},
    {"shading", Family::Para, paraWords::ShadingPercent, Kind::Value},
    {"outlinelevel", Family::Para, paraWords::OutlineLevel, Kind::Value},
    {"rtlpar", Family::Para, paraWords::RightToLeft, Kind::Flag},
    {"ltrpar", Family::Para, paraWords::LeftToRight, Kind::Flag},
    {"intbl", Family::Para, paraWords::InTable, Kind::Flag},
    {"itap", Family::Para, paraWords::TableDepth, Kind::Value},

    {"par", Family::Break, breakWords::ParagraphEnd, Kind::Symbol},
    {"page", Family::Break, breakWords::PageBreak, Kind::Symbol},

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

void breakWord(Parser &p, int id, const Token &t);

} // namespace rtf
