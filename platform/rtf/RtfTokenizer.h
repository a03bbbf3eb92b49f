#pragma once

#include <QByteArrayView>

#include <cstdint>

namespace rtf {

// One lexical unit of RTF. Views point into the tokenizer's input.
struct Token {
    enum Kind : std::uint8_t {
        End,
        GroupStart,
        GroupEnd,
        Word,       // \name or \nameN; name longer than 32 letters is left unmatched
        Symbol,     // \x for a non-letter x; '\n' stands for backslash + CR/LF
        Text,       // literal bytes (no braces, backslashes, CR, LF or other C0 but TAB)
        Hex,        // \'hh
        Binary,     // \binN payload, already consumed
    };
    Kind kind = End;
    bool hasParam = false;
    char symbol = 0;
    std::uint8_t hex = 0;
    int param = 0;
    QByteArrayView bytes;   // word name, text or payload
};

// Pull tokenizer over bytes. Never fails: malformed input yields the most
// plausible tokens and everything is consumed in one linear pass.
class Tokenizer
{
public:
    explicit Tokenizer(QByteArrayView data, qsizetype start = 0)
        : m_data(data.data()), m_pos(start), m_size(data.size()) {}

    Token next();
    qsizetype position() const { return m_pos; }

private:
    Token readControl();

    const char *m_data;
    qsizetype m_pos;
    qsizetype m_size;
};

} // namespace rtf
