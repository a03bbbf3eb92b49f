#pragma once

#include "RtfKeywords.h"

// Notes, comments, headers and footers: stories of their own, anchored in
// the text (notes, comments) or in their section (headers, footers).
namespace rtf {

class Parser;
struct Token;

enum StoriesId {
    FootnoteGroup, EndnoteMark, AutoNoteNumber, AnnotationGroup, AnnotationId, AnnotationAuthor,
    AnnotationDate, AnnotationMark, AnnotationRef, HeaderGroup,
};

inline constexpr Keyword storiesKeywords[] = {
    {"footnote", Family::Stories, FootnoteGroup, Kind::Destination},
    {"ftnalt", Family::Stories, EndnoteMark, Kind::Flag},
    {"chftn", Family::Stories, AutoNoteNumber, Kind::Symbol},
    {"annotation", Family::Stories, AnnotationGroup, Kind::Destination},
    {"atnid", Family::Stories, AnnotationId, Kind::Destination},
    {"atnauthor", Family::Stories, AnnotationAuthor, Kind::Destination},
    {"atndate", Family::Stories, AnnotationDate, Kind::Destination},
    {"chatn", Family::Stories, AnnotationMark, Kind::Symbol},
    {"atnref", Family::Stories, AnnotationRef, Kind::Destination},
    {"header", Family::Stories, HeaderGroup, Kind::Destination},
    {"headerl", Family::Stories, HeaderGroup, Kind::Destination},
    {"headerr", Family::Stories, HeaderGroup, Kind::Destination},
    {"headerf", Family::Stories, HeaderGroup, Kind::Destination},
    {"footer", Family::Stories, HeaderGroup, Kind::Destination},
    {"footerl", Family::Stories, HeaderGroup, Kind::Destination},
    {"footerr", Family::Stories, HeaderGroup, Kind::Destination},
    {"footerf", Family::Stories, HeaderGroup, Kind::Destination},
};

void storiesWord(Parser &p, int id, const Token &t);

} // namespace rtf
