#include "RtfTokenizer.h"

#include <array>
#include <climits>

namespace rtf {

namespace {

// Bytes that end a run of literal text.
constexpr std::array<bool, 256> makeStopTable()
{
    std::array<bool, 256> t {};
    for (int b = 0; b < 0x20; ++b)
        t[b] = b != '\t';
    t[static_cast<unsigned char>('\\')] = true;
    t[static_cast<unsigned char>('{')] = true;
    t[static_cast<unsigned char>('}')] = true;
    return t;
}
constexpr std::array<bool, 256> stopByte = makeStopTable();

constexpr bool isLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
constexpr bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int hexValue(unsigned char c)
{
    if (isDigit(c))
        return c - '0';
    const unsigned char l = c | 0x20;
    if (l >= 'a' && l <= 'f')
        return l - 'a' + 10;
    return -1;
}

Token makeToken(Token::Kind kind)
{
    Token t;
    t.kind = kind;
    return t;
}

} // namespace

Token Tokenizer::next()
{
    while (m_pos < m_size) {
        const unsigned char c = static_cast<unsigned char>(m_data[m_pos]);
        if (!stopByte[c]) {
            const qsizetype start = m_pos;
            do {
                ++m_pos;
            } while (m_pos < m_size && !stopByte[static_cast<unsigned char>(m_data[m_pos])]);
            Token t;
            t.kind = Token::Text;
            t.bytes = QByteArrayView(m_data + start, m_pos - start);
            return t;
        }
        switch (c) {
        case '{':
            ++m_pos;
            return makeToken(Token::GroupStart);
        case '}':
            ++m_pos;
            return makeToken(Token::GroupEnd);
        case '\\':
            return readControl();
        default:
            ++m_pos;    // CR, LF, NUL and other control bytes carry nothing
            break;
        }
    }
    return makeToken(Token::End);
}

Token Tokenizer::readControl()
{
    ++m_pos;    // backslash
    Token t;
    if (m_pos >= m_size)
        return t;
    const unsigned char c = static_cast<unsigned char>(m_data[m_pos]);

    if (!isLetter(c)) {
        ++m_pos;
        switch (c) {
        case '\\': case '{': case '}':
            t.kind = Token::Text;
            t.bytes = QByteArrayView(m_data + m_pos - 1, 1);
            return t;
        case '\r': case '\n':
            t.kind = Token::Symbol;
            t.symbol = '\n';
            return t;
        case '\'': {
            // The two characters after it, as other readers take them: hex
            // digits give the byte, a character that is none is consumed all
            // the same (braces and backslashes stay: they are structure).
            int value = 0;
            int digits = 0;
            bool junk = false;
            for (int i = 0; i < 2 && m_pos < m_size; ++i) {
                const unsigned char d = static_cast<unsigned char>(m_data[m_pos]);
                if (d == '\\' || d == '{' || d == '}')
                    break;
                ++m_pos;
                const int v = hexValue(d);
                if (v < 0 || junk) {
                    junk = true;
                    continue;
                }
                value = value * 16 + v;
                ++digits;
            }
            if (digits == 0) {
                t.kind = Token::Symbol;
                t.symbol = '\'';
                return t;
            }
            t.kind = Token::Hex;
            t.hex = static_cast<std::uint8_t>(value);
            return t;
        }
        default:
            t.kind = Token::Symbol;
            t.symbol = static_cast<char>(c);
            return t;
        }
    }

    const qsizetype nameStart = m_pos;
    while (m_pos < m_size && isLetter(static_cast<unsigned char>(m_data[m_pos])))
        ++m_pos;
    t.kind = Token::Word;
    t.bytes = QByteArrayView(m_data + nameStart, m_pos - nameStart);
    if (t.bytes.size() > 32)
        t.bytes = QByteArrayView();     // matches no known word

    bool negative = false;
    if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(static_cast<unsigned char>(m_data[m_pos + 1]))) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_size && isDigit(static_cast<unsigned char>(m_data[m_pos]))) {
        long long value = 0;
        do {
            if (value <= INT_MAX)
                value = value * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        } while (m_pos < m_size && isDigit(static_cast<unsigned char>(m_data[m_pos])));
        if (value > INT_MAX)
            value = INT_MAX;
        t.hasParam = true;
        t.param = static_cast<int>(negative ? -value : value);
    }
    if (m_pos < m_size && m_data[m_pos] == ' ')
        ++m_pos;

    if (t.bytes == QByteArrayView("bin")) {
        t.kind = Token::Binary;
        const qsizetype remaining = m_size - m_pos;
        const qsizetype n = t.param <= 0 ? 0 : (t.param < remaining ? t.param : remaining);
        t.bytes = QByteArrayView(m_data + m_pos, n);
        m_pos += n;
    }
    return t;
}

} // namespace rtf
