#pragma once

#include "RtfKeywords.h"

// Groups kept verbatim at their place in the text: bookmarks and the ends
// of commented ranges.
namespace rtf {

class Parser;
struct Token;

enum KeptId { KeptInline };

inline constexpr Keyword keptKeywords[] = {
    {"bkmkstart", Family::Kept, KeptInline, Kind::Destination},
    {"bkmkend", Family::Kept, KeptInline, Kind::Destination},
    {"atrfstart", Family::Kept, KeptInline, Kind::Destination},
    {"atrfend", Family::Kept, KeptInline, Kind::Destination},
};

void keptWord(Parser &p, int id, const Token &t);

} // namespace rtf
