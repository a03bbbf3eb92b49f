#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

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
inline constexpr int FamilyCount = int(Family::Kept) + 1;

// What a control word's parameter means, as the format defines each word.
// Other readers go by it: a flag with a parameter is on whatever the number
// (\pagebb0 breaks the page), so "off" for a flag is its absence after the
// reset before it (\pard, \plain, \sectd, \trowd).
enum class Kind : quint8 {
    Flag,           // ignores any parameter
    Toggle,         // on bare or with a number but 0, off with 0
    Value,          // requires a parameter
    Destination,    // starts a destination; ignores any parameter
    Symbol,         // stands for a character or a mark; ignores any parameter
};

enum KeywordFlag : quint8 {
    ChangesRun = 1,     // may change the character formatting of what follows
};

struct Keyword {
    std::string_view name;
    Family family;
    int id = 0;         // the family's own code; for Special, the character
    Kind kind = Kind::Flag;
    quint8 flags = 0;
};

// The row for a control word, or nullptr for a word nobody reads.
const Keyword *findKeyword(QByteArrayView name);

// Whether a word is written in a form its kind allows: a flag, destination
// or symbol bare, a value with its number, a toggle bare for on and with 0
// for off (some readers take \b1 for off).
bool formAllowed(const Keyword &k, bool hasParam, int param);

// The control words of an RTF text that are written in a form their kind
// forbids, or that no row knows outside an ignorable destination ({\*...}),
// each as it stands. Empty for a text every reader reads alike.
QList<QByteArray> misformedWords(QByteArrayView rtf);

struct Token;
// Appends a word read (its kind already applied) as it will be written back,
// up to `limit` bytes in all; a value without its number says nothing and is left out.
void keepWord(QByteArray &kept, const Token &t, qsizetype limit);

} // namespace rtf
