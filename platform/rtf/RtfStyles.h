#pragma once

#include "RtfKeywords.h"

// The stylesheet, and the paragraph and character styles text refers to.
namespace rtf {

class Parser;
struct Token;

enum StylesId { StyleSheet, ParaStyle, CharStyleRef, TableStyle, SectionStyle, BasedOn, NextStyle, Additive };

inline constexpr Keyword stylesKeywords[] = {
    {"stylesheet", Family::Styles, StyleSheet, Kind::Destination},
    {"s", Family::Styles, ParaStyle, Kind::Value, ChangesRun},
    {"cs", Family::Styles, CharStyleRef, Kind::Value, ChangesRun}, {"ts", Family::Styles, TableStyle, Kind::Value},
    {"ds", Family::Styles, SectionStyle, Kind::Value}, {"sbasedon", Family::Styles, BasedOn, Kind::Value},
    {"snext", Family::Styles, NextStyle, Kind::Value}, {"additive", Family::Styles, Additive, Kind::Flag},
};

void stylesWord(Parser &p, int id, const Token &t);

struct ParaState;
// A paragraph's properties with what it takes from the style it names.
ParaState paragraphWithStyle(Parser &p, const ParaState &para);

} // namespace rtf
