#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <string_view>

// Writes RTF: control words with their delimiter, escaped text, \u for what
// is beyond ASCII. The output is 7-bit.
namespace rtf {

class RtfOut
{
public:
    QByteArray &bytes() { return m_out; }

    void word(std::string_view w);
    void word(std::string_view w, int n);
    void star() { m_out.append("\\*"); m_needSpace = false; }
    void open() { m_out.append('{'); m_needSpace = false; }
    void close() { m_out.append('}'); m_needSpace = false; }
    void newline() { m_out.append("\r\n"); m_needSpace = false; }
    // Text: tabs, line breaks and special spaces as their control words.
    void text(QStringView s);
    // A name in a table, ending at ';': the characters that would end it are escaped.
    void name(QStringView s);
    // Bytes kept verbatim, a group whole.
    void raw(QByteArrayView b) { m_out.append(b); m_needSpace = false; }
    // Control words written before, ending with a word that needs its delimiter.
    void rawWord(QByteArrayView b) { m_out.append(b); m_needSpace = !b.isEmpty(); }
    // Bytes as hex digits, 128 to a line.
    void hex(QByteArrayView b);
    // One character of a list level's text as \'hh.
    void hexByte(quint8 b);

private:
    void delimit()
    {
        if (m_needSpace) {
            m_out.append(' ');
            m_needSpace = false;
        }
    }

    QByteArray m_out;
    bool m_needSpace = false;
};

} // namespace rtf
