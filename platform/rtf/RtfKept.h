#pragma once

#include "RtfKeywords.h"

// Groups kept verbatim at their place in the text: bookmarks and the ends
// of commented ranges.
namespace rtf {

class Parser;
struct Token;

namespace keptWords {
enum Id : int { KeptInline };
} // namespace keptWords

inline constexpr Keyword keptKeywords[] = {
    {"bkmkstart", Family::Kept, keptWords::KeptInline, Kind::Destination},
    {"bkmkend", Family::Kept, keptWords::KeptInline, Kind::Destination},
    {"atrfstart", Family::Kept, keptWords::KeptInline, Kind::Destination},
    {"atrfend", Family::Kept, keptWords::KeptInline, Kind::Destination},
};

void keptWord(Parser &p, int id, const Token &t);

} // namespace rtf
