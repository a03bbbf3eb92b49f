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
    {"footnote", Family::Stories, FootnoteGroup, Destination}, {"ftnalt", Family::Stories, EndnoteMark},
    {"chftn", Family::Stories, AutoNoteNumber}, {"annotation", Family::Stories, AnnotationGroup, Destination},
    {"atnid", Family::Stories, AnnotationId, Destination}, {"atnauthor", Family::Stories, AnnotationAuthor, Destination},
    {"atndate", Family::Stories, AnnotationDate, Destination}, {"chatn", Family::Stories, AnnotationMark},
    {"atnref", Family::Stories, AnnotationRef, Destination},
    {"header", Family::Stories, HeaderGroup, Destination}, {"headerl", Family::Stories, HeaderGroup, Destination},
    {"headerr", Family::Stories, HeaderGroup, Destination}, {"headerf", Family::Stories, HeaderGroup, Destination},
    {"footer", Family::Stories, HeaderGroup, Destination}, {"footerl", Family::Stories, HeaderGroup, Destination},
    {"footerr", Family::Stories, HeaderGroup, Destination}, {"footerf", Family::Stories, HeaderGroup, Destination},
};

void storiesWord(Parser &p, int id, const Token &t);

} // namespace rtf
