#pragma once

#include "RtfKeywords.h"

// The stylesheet, and the paragraph and character styles text refers to.
namespace rtf {

class Parser;
struct Token;

enum StylesId { StyleSheet, ParaStyle, CharStyleRef, TableStyle, SectionStyle, BasedOn, NextStyle, Additive };

inline constexpr Keyword stylesKeywords[] = {
    {"stylesheet", Family::Styles, StyleSheet, Destination}, {"s", Family::Styles, ParaStyle, ChangesRun},
    {"cs", Family::Styles, CharStyleRef, ChangesRun | Destination}, {"ts", Family::Styles, TableStyle, Destination},
    {"ds", Family::Styles, SectionStyle, Destination}, {"sbasedon", Family::Styles, BasedOn},
    {"snext", Family::Styles, NextStyle}, {"additive", Family::Styles, Additive},
};

void stylesWord(Parser &p, int id, const Token &t);

} // namespace rtf
