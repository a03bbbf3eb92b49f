#pragma once

#include "RtfKeywords.h"

// The stylesheet, and the paragraph and character styles text refers to.
namespace rtf {

class Parser;
struct Token;

namespace styleWords {
enum Id : int { StyleSheet, ParaStyle, CharStyleRef, TableStyle, SectionStyle, BasedOn, NextStyle, Additive };
} // namespace styleWords

inline constexpr Keyword stylesKeywords[] = {
    {"stylesheet", Family::Styles, styleWords::StyleSheet, Kind::Destination},
    {"s", Family::Styles, styleWords::ParaStyle, Kind::Value, ChangesRun},
    {"cs", Family::Styles, styleWords::CharStyleRef, Kind::Value, ChangesRun},
    {"ts", Family::Styles, styleWords::TableStyle, Kind::Value},
    {"ds", Family::Styles, styleWords::SectionStyle, Kind::Value},
    {"sbasedon", Family::Styles, styleWords::BasedOn, Kind::Value},
    {"snext", Family::Styles, styleWords::NextStyle, Kind::Value},
    {"additive", Family::Styles, styleWords::Additive, Kind::Flag},
};

void stylesWord(Parser &p, int id, const Token &t);

struct ParaState;
// A paragraph's properties with what it takes from the style it names.
ParaState paragraphWithStyle(Parser &p, const ParaState &para);

} // namespace rtf
