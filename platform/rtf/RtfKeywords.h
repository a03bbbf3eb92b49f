#pragma once

#include <QByteArrayView>

#include <string_view>

namespace rtf {

// The family that owns a keyword handles it; the parser only dispatches.
enum class Family : quint8 {
    Skip,       // a destination whose content never reaches the document
    Doc,        // code pages, \deff, \uc, \u, \deflang
    Fonts,      // font and colour tables
    Char,       // character formatting
    Special,    // a control word that stands for one character
    Para,       // paragraph properties
    Break,      // \par and its stand-ins
    Styles,
    Lists,
    Fields,
    Tables,
    Pictures,
    Stories,    // notes, comments, headers and footers
    Info,       // \info and page setup
    Kept,       // groups kept verbatim at their position
};

enum KeywordFlag : quint8 {
    ChangesRun = 1,     // may change the character formatting of what follows
    Destination = 2,    // starts a destination: known after \*
};

struct Keyword {
    std::string_view name;
    Family family;
    int id = 0;         // the family's own code; for Special, the character
    quint8 flags = 0;
};

// The row for a control word, or nullptr for a word nobody reads.
const Keyword *findKeyword(QByteArrayView name);

} // namespace rtf
