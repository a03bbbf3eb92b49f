#pragma once

#include "RtfKeywords.h"

// The document's information group, its page setup and its sections.
namespace rtf {

class Parser;
struct Token;

enum InfoId {
    InfoGroup, InfoString, InfoDate, PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop,
    MarginBottom, Gutter, Landscape, FacingPages, SectionEnd, SectionDefaults, SectionKeyword, DocumentKeyword,
};

inline constexpr Keyword infoKeywords[] = {
    {"info", Family::Info, InfoGroup, Destination},
    {"title", Family::Info, InfoString, Destination}, {"subject", Family::Info, InfoString, Destination},
    {"author", Family::Info, InfoString, Destination}, {"operator", Family::Info, InfoString, Destination},
    {"keywords", Family::Info, InfoString, Destination}, {"comment", Family::Info, InfoString, Destination},
    {"doccomm", Family::Info, InfoString, Destination}, {"company", Family::Info, InfoString, Destination},
    {"manager", Family::Info, InfoString, Destination}, {"category", Family::Info, InfoString, Destination},
    {"hlinkbase", Family::Info, InfoString, Destination},
    {"creatim", Family::Info, InfoDate, Destination}, {"revtim", Family::Info, InfoDate, Destination},
    {"printim", Family::Info, InfoDate, Destination}, {"buptim", Family::Info, InfoDate, Destination},
    {"paperw", Family::Info, PaperWidth}, {"paperh", Family::Info, PaperHeight},
    {"margl", Family::Info, MarginLeft}, {"margr", Family::Info, MarginRight},
    {"margt", Family::Info, MarginTop}, {"margb", Family::Info, MarginBottom},
    {"gutter", Family::Info, Gutter}, {"landscape", Family::Info, Landscape},
    {"facingp", Family::Info, FacingPages}, {"sect", Family::Info, SectionEnd},
    {"sectd", Family::Info, SectionDefaults},
    // Section properties, kept as written.
    {"sbknone", Family::Info, SectionKeyword}, {"sbkcol", Family::Info, SectionKeyword},
    {"sbkpage", Family::Info, SectionKeyword}, {"sbkeven", Family::Info, SectionKeyword},
    {"sbkodd", Family::Info, SectionKeyword}, {"cols", Family::Info, SectionKeyword},
    {"colsx", Family::Info, SectionKeyword}, {"colno", Family::Info, SectionKeyword},
    {"colw", Family::Info, SectionKeyword}, {"colsr", Family::Info, SectionKeyword},
    {"linebetcol", Family::Info, SectionKeyword}, {"pgnstarts", Family::Info, SectionKeyword},
    {"pgncont", Family::Info, SectionKeyword}, {"pgnrestart", Family::Info, SectionKeyword},
    {"pgndec", Family::Info, SectionKeyword}, {"pgnucrm", Family::Info, SectionKeyword},
    {"pgnlcrm", Family::Info, SectionKeyword}, {"pgnucltr", Family::Info, SectionKeyword},
    {"pgnlcltr", Family::Info, SectionKeyword}, {"pgwsxn", Family::Info, SectionKeyword},
    {"pghsxn", Family::Info, SectionKeyword}, {"marglsxn", Family::Info, SectionKeyword},
    {"margrsxn", Family::Info, SectionKeyword}, {"margtsxn", Family::Info, SectionKeyword},
    {"margbsxn", Family::Info, SectionKeyword}, {"guttersxn", Family::Info, SectionKeyword},
    {"lndscpsxn", Family::Info, SectionKeyword}, {"titlepg", Family::Info, SectionKeyword},
    {"headery", Family::Info, SectionKeyword}, {"footery", Family::Info, SectionKeyword},
    {"linex", Family::Info, SectionKeyword}, {"linemod", Family::Info, SectionKeyword},
    {"linestarts", Family::Info, SectionKeyword}, {"linerestart", Family::Info, SectionKeyword},
    {"endnhere", Family::Info, SectionKeyword}, {"vertalt", Family::Info, SectionKeyword},
    {"vertalc", Family::Info, SectionKeyword}, {"vertalb", Family::Info, SectionKeyword},
    {"vertalj", Family::Info, SectionKeyword}, {"sectdefaultcl", Family::Info, SectionKeyword},
    {"pgnhn", Family::Info, SectionKeyword}, {"pgnx", Family::Info, SectionKeyword},
    {"pgny", Family::Info, SectionKeyword}, {"sftnbj", Family::Info, SectionKeyword},
    {"sftnrstcont", Family::Info, SectionKeyword}, {"sftnnar", Family::Info, SectionKeyword},
    {"saftnnar", Family::Info, SectionKeyword}, {"rtlsect", Family::Info, SectionKeyword},
    {"ltrsect", Family::Info, SectionKeyword},
    // Document formatting, kept as written.
    {"deftab", Family::Info, DocumentKeyword}, {"widowctrl", Family::Info, DocumentKeyword},
    {"ftnbj", Family::Info, DocumentKeyword}, {"ftnnar", Family::Info, DocumentKeyword},
    {"ftnnalc", Family::Info, DocumentKeyword}, {"ftnnauc", Family::Info, DocumentKeyword},
    {"ftnnrlc", Family::Info, DocumentKeyword}, {"ftnnruc", Family::Info, DocumentKeyword},
    {"ftnnchi", Family::Info, DocumentKeyword}, {"ftnstart", Family::Info, DocumentKeyword},
    {"ftnrstpg", Family::Info, DocumentKeyword}, {"ftnrestart", Family::Info, DocumentKeyword},
    {"ftnrstcont", Family::Info, DocumentKeyword}, {"ftntj", Family::Info, DocumentKeyword},
    {"aenddoc", Family::Info, DocumentKeyword}, {"aendnotes", Family::Info, DocumentKeyword},
    {"aftnbj", Family::Info, DocumentKeyword}, {"aftntj", Family::Info, DocumentKeyword},
    {"aftnnar", Family::Info, DocumentKeyword}, {"aftnnalc", Family::Info, DocumentKeyword},
    {"aftnnauc", Family::Info, DocumentKeyword}, {"aftnnrlc", Family::Info, DocumentKeyword},
    {"aftnnruc", Family::Info, DocumentKeyword}, {"aftnnchi", Family::Info, DocumentKeyword},
    {"aftnstart", Family::Info, DocumentKeyword}, {"aftnrstcont", Family::Info, DocumentKeyword},
    {"aftnrestart", Family::Info, DocumentKeyword}, {"endnotes", Family::Info, DocumentKeyword},
    {"enddoc", Family::Info, DocumentKeyword}, {"fet", Family::Info, DocumentKeyword},
    {"hyphauto", Family::Info, DocumentKeyword}, {"hyphhotz", Family::Info, DocumentKeyword},
    {"hyphconsec", Family::Info, DocumentKeyword}, {"hyphcaps", Family::Info, DocumentKeyword},
    {"margmirror", Family::Info, DocumentKeyword}, {"pgnstart", Family::Info, DocumentKeyword},
    {"viewkind", Family::Info, DocumentKeyword}, {"viewscale", Family::Info, DocumentKeyword},
    {"viewzk", Family::Info, DocumentKeyword}, {"deflangfe", Family::Info, DocumentKeyword},
    {"formshade", Family::Info, DocumentKeyword}, {"makebackup", Family::Info, DocumentKeyword},
    {"defformat", Family::Info, DocumentKeyword}, {"linestart", Family::Info, DocumentKeyword},
    {"gutterprl", Family::Info, DocumentKeyword}, {"rtldoc", Family::Info, DocumentKeyword},
    {"ltrdoc", Family::Info, DocumentKeyword},
};

void infoWord(Parser &p, int id, const Token &t);

} // namespace rtf
