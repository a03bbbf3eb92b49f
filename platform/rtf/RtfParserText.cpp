#include "RtfParser.h"

#include "RtfRules.h"

// The parser's text: bytes decoded in the code page of the font in effect
// (or of the destination), \u with its fallback skipped, surrogate pairs
// joined, and the characters a document can hold appended to the current
// story as runs of one look.
namespace rtf {

int Parser::targetCodePage()
{
    // Bytes after \dbch or \rtlch are in the code page of that script's font.
    const CharState &c = m_state.chars;
    const int number = c.mode == CharState::DoubleByte && c.asianFont >= 0 ? c.asianFont
                       : c.mode == CharState::RightToLeft && c.complexFont >= 0 ? c.complexFont
                                                                                 : c.font;
    const Font *f = font(number);
    return f ? f->codePage : m_docCodePage;
}

void Parser::textBytes(QByteArrayView bytes)
{
    if (m_skip > 0) {
        const qsizetype n = std::min<qsizetype>(m_skip, bytes.size());
        m_skip -= int(n);
        bytes = bytes.sliced(n);
        if (bytes.isEmpty())
            return;
    }
    Dest *dest = m_state.dest;
    if (dest && dest->wantsBytes()) {
        dest->bytes(*this, bytes);
        return;
    }
    if (dest && dest->endsAtSemicolon()) {
        for (qsizetype semicolon = bytes.indexOf(';'); semicolon >= 0; semicolon = bytes.indexOf(';')) {
            appendBytes(bytes.first(semicolon));
            flushPending();
            resolveSurrogate();
            dest->semicolon(*this);
            bytes = bytes.sliced(semicolon + 1);
        }
    }
    appendBytes(bytes);
}

void Parser::appendBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_codePageDirty) {
        m_bodyCodePage = targetCodePage();
        m_bodyTable = m_decoder.singleByteTable(m_bodyCodePage);
        m_codePageDirty = false;
    }
    int codePage = m_bodyCodePage;
    const std::array<char16_t, 256> *table = m_bodyTable;
    if (const int own = m_state.dest ? m_state.dest->codePage(*this) : 0; own > 0) {
        codePage = own;
        table = m_decoder.singleByteTable(own);
    }
    if (!table) {
        if (!m_pending.isEmpty() && m_pendingCodePage != codePage)
            flushPending();
        m_pending.append(bytes);
        m_pendingCodePage = codePage;
        return;
    }
    char16_t buffer[256];
    qsizetype n = 0;
    for (char b : bytes) {
        buffer[n++] = (*table)[static_cast<unsigned char>(b)];
        if (n == qsizetype(std::size(buffer))) {
            appendUnits(buffer, n);
            n = 0;
        }
    }
    appendUnits(buffer, n);
}

void Parser::flushPending()
{
    if (m_pending.isEmpty())
        return;
    const QString decoded = m_decoder.decodeMultiByte(m_pendingCodePage, m_pending);
    m_pending.clear();
    appendUnits(reinterpret_cast<const char16_t *>(decoded.constData()), decoded.size());
}

void Parser::appendText(QStringView text)
{
    appendUnits(reinterpret_cast<const char16_t *>(text.data()), text.size());
}

void Parser::appendUnits(const char16_t *units, qsizetype n)
{
    if (n == 0)
        return;
    if (m_highSurrogate)
        resolveSurrogate();
    Dest *dest = m_state.dest;
    if (!dest || dest->isBody())
        appendBody(units, n);
    else if (!dest->skipsAll())
        dest->text(*this, QStringView(units, n));
}

void Parser::appendBody(const char16_t *units, qsizetype n)
{
    StoryBuilder &s = story();
    const int style = currentCharStyle();
    const int field = m_state.field;
    auto startRun = [&] {
        // A run grows only while its text is the last in the buffer: a note
        // or header read in between puts its own text after it.
        if (!s.runOpen || s.paragraph.runs.back().style != style || s.paragraph.runs.back().field != field
            || s.paragraph.runs.back().start + s.paragraph.runs.back().length != m_doc.text.size()) {
            s.paragraph.runs.push_back(Run {m_doc.text.size(), 0, style, field, -1});
            s.runOpen = true;
        }
    };
    // Runs of characters the document can hold go in whole; others are dropped.
    qsizetype i = 0;
    while (i < n) {
        qsizetype j = i;
        while (j < n && rules::keptInText(units[j]))
            ++j;
        if (j > i) {
            startRun();
            m_doc.text.append(reinterpret_cast<const QChar *>(units + i), j - i);
            s.paragraph.runs.back().length += j - i;
        }
        i = j + 1;
    }
}

void Parser::resolveSurrogate()
{
    if (!m_highSurrogate)
        return;
    m_highSurrogate = 0;
    appendChar(u'\xFFFD');
}

void Parser::unicode(int value)
{
    const char16_t c = char16_t(unsigned(value) & 0xFFFF);
    if (QChar::isHighSurrogate(c)) {
        resolveSurrogate();
        m_highSurrogate = c;
    } else if (QChar::isLowSurrogate(c)) {
        if (m_highSurrogate) {
            const char16_t pair[2] = {m_highSurrogate, c};
            m_highSurrogate = 0;
            appendUnits(pair, 2);
        } else {
            appendChar(u'\xFFFD');
        }
    } else {
        appendChar(c);
    }
    m_skip = m_state.uc;
}

void Parser::symbol(char c)
{
    switch (c) {
    case '~':
        appendChar(u'\xA0');
        break;
    case '-':
        appendChar(u'\xAD');
        break;
    case '_':
        appendChar(u'\x2011');
        break;
    case '\n':
        if (inText())
            endParagraph();
        break;
    default:
        break;  // index and formula marks carry nothing here
    }
}

} // namespace rtf
