#pragma once

#include "RtfKeywords.h"

// Notes, comments, headers and footers: stories of their own, anchored in
// the text (notes, comments) or in their section (headers, footers).
namespace rtf {

class Parser;
struct Token;

namespace storyWords {
enum Id : int {
    FootnoteGroup, EndnoteMark, AutoNoteNumber, AnnotationGroup, AnnotationId, AnnotationAuthor,
    AnnotationDate, AnnotationMark, AnnotationRef, HeaderGroup,
};
} // namespace storyWords

inline constexpr Keyword storiesKeywords[] = {
    {"footnote", Family::Stories, storyWords::FootnoteGroup, Kind::Destination},
    {"ftnalt", Family::Stories, storyWords::EndnoteMark, Kind::Flag},
    {"chftn", Family::Stories, storyWords::AutoNoteNumber, Kind::Symbol},
    {"annotation", Family::Stories, storyWords::AnnotationGroup, Kind::Destination},
    {"atnid", Family::Stories, storyWords::AnnotationId, Kind::Destination},
    {"atnauthor", Family::Stories, storyWords::AnnotationAuthor, Kind::Destination},
    {"atndate", Family::Stories, storyWords::AnnotationDate, Kind::Destination},
    {"chatn", Family::Stories, storyWords::AnnotationMark, Kind::Symbol},
    {"atnref", Family::Stories, storyWords::AnnotationRef, Kind::Destination},
    {"header", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
    {"headerl", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
    {"headerr", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
    {"headerf", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
    {"footer", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
    {"footerl", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
    {"footerr", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
    {"footerf", Family::Stories, storyWords::HeaderGroup, Kind::Destination},
};

void storiesWord(Parser &p, int id, const Token &t);

} // namespace rtf
