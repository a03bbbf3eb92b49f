#include "RtfOut.h"

#include "RtfRules.h"

#include <QChar>

#include <charconv>

namespace rtf {

void RtfOut::word(std::string_view w)
{
    m_out.append('\\');
    m_out.append(w.data(), qsizetype(w.size()));
    m_needSpace = true;
}

void RtfOut::word(std::string_view w, int n)
{
    m_out.append('\\');
    m_out.append(w.data(), qsizetype(w.size()));
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    m_out.append(buf, r.ptr - buf);
    m_needSpace = true;
}

void RtfOut::text(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}') {
            // Plain ASCII goes out in one piece.
            delimit();
            char buffer[256];
            qsizetype n = 0;
            while (i < s.size() && n < qsizetype(sizeof buffer)) {
                const char16_t d = s[i].unicode();
                if (d < 0x20 || d >= 0x7F || d == '\\' || d == '{' || d == '}')
                    break;
                buffer[n++] = char(d);
                ++i;
            }
            m_out.append(buffer, n);
            --i;
            continue;
        }
        switch (c) {
        case u'\\': case u'{': case u'}':
            m_out.append('\\');
            m_out.append(char(c));
            m_needSpace = false;
            continue;
        case u'\t': word("tab"); continue;
        case u'\x2028': word("line"); continue;
        case u'\xA0': m_out.append("\\~"); m_needSpace = false; continue;
        case u'\xAD': m_out.append("\\-"); m_needSpace = false; continue;
        case u'\x2011': m_out.append("\\_"); m_needSpace = false; continue;
        default:
            break;
        }
        if (!rules::keptInText(c))
            continue;   // control characters, block and object marks: the structure is written separately
        char16_t units[2] = {c, 0};
        int count = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
            units[1] = s[++i].unicode();
            count = 2;
        } else if (QChar::isSurrogate(c)) {
            units[0] = u'\xFFFD';
        }
        for (int k = 0; k < count; ++k)
            rules::appendUnicodeEscape(m_out, units[k]);
        m_needSpace = false;
    }
}

void RtfOut::name(QStringView s)
{
    delimit();
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == ';' || c == '\\' || c == '{' || c == '}') {
            // Hex keeps a ';' from ending the name; readers take it as data.
            hexByte(quint8(c));
        } else {
            const qsizetype n = QChar::isHighSurrogate(c) && i + 1 < s.size() ? 2 : 1;
            text(s.sliced(i, n));
            i += n - 1;
        }
    }
}

void RtfOut::hexByte(quint8 b)
{
    static const char digits[] = "0123456789abcdef";
    m_out.append("\\'");
    m_out.append(digits[b >> 4]);
    m_out.append(digits[b & 0xF]);
    m_needSpace = false;
}

void RtfOut::hex(QByteArrayView b)
{
    static const char digits[] = "0123456789abcdef";
    delimit();
    const qsizetype lines = b.size() / 64 + 1;
    const qsizetype start = m_out.size();
    m_out.resize(start + b.size() * 2 + lines * 2);
    char *dst = m_out.data() + start;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (i % 64 == 0) {
            *dst++ = '\r';
            *dst++ = '\n';
        }
        const quint8 v = quint8(b[i]);
        *dst++ = digits[v >> 4];
        *dst++ = digits[v & 0xF];
    }
    m_out.truncate(dst - m_out.constData());
}

} // namespace rtf
