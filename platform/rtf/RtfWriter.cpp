#include "RtfWriter.h"

#include "RtfStyle.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <charconv>
#include <climits>
#include <vector>

namespace rtf {

namespace {

class Writer
{
public:
    explicit Writer(const QTextDocument &doc) : m_doc(doc), m_resolver(doc) {}

    // Writes [from, to); wholeDocument ends every block, including the last, with \par.
    QByteArray write(int from, int to, bool wholeDocument);

private:
    struct Piece {
        QTextBlock block;
        int from;
        int to;
        bool mark;
    };

    int styleFor(int formatIndex);
    int faceId(const QString &face);
    int colourId(const ResolvedStyle &s);

    void word(const char *w);
    void number(int n);
    void wordN(const char *w, int n) { word(w); number(n); }
    void literal(char c);
    void text(QStringView s);
    void escapedName(const QString &name);
    void runFormat(int style);

    const QTextDocument &m_doc;
    StyleResolver m_resolver;
    QByteArray m_out;
    bool m_needSpace = false;

    std::vector<int> m_styleOfFormat;   // format index -> style, -1 unknown
    std::vector<ResolvedStyle> m_styles;
    std::vector<int> m_styleFace;
    std::vector<int> m_styleColour;
    QHash<QString, int> m_faceIds;
    QStringList m_faces;
    QHash<QRgb, int> m_colourIds;
    std::vector<QRgb> m_colours;
};

void Writer::word(const char *w)
{
    m_out.append('\\');
    m_out.append(w);
    m_needSpace = true;
}

void Writer::number(int n)
{
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    m_out.append(buf, r.ptr - buf);
}

void Writer::literal(char c)
{
    if (m_needSpace) {
        m_out.append(' ');
        m_needSpace = false;
    }
    m_out.append(c);
}

void Writer::text(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c > 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}') {
            // Plain ASCII goes out in one piece.
            if (m_needSpace) {
                m_out.append(' ');
                m_needSpace = false;
            }
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
        if (c >= 0x20 && c < 0x7F) {
            if (c == '\\' || c == '{' || c == '}') {
                m_out.append('\\');
                m_out.append(char(c));
                m_needSpace = false;
            } else {
                literal(char(c));
            }
            continue;
        }
        switch (c) {
        case u'\t': word("tab"); continue;
        case u'\x2028': word("line"); continue;
        case u'\xA0': m_out.append("\\~"); m_needSpace = false; continue;
        case u'\xAD': m_out.append("\\-"); m_needSpace = false; continue;
        case u'\x2011': m_out.append("\\_"); m_needSpace = false; continue;
        case u'\x2029': case u'\xFFFC': case u'\xFDD0': case u'\xFDD1':
            continue;   // block and object markers: the structure is written separately
        default:
            break;
        }
        if (c < 0x20)
            continue;
        char16_t units[2] = {c, 0};
        int count = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && QChar::isLowSurrogate(s[i + 1].unicode())) {
            units[1] = s[++i].unicode();
            count = 2;
        } else if (QChar::isSurrogate(c)) {
            units[0] = u'\xFFFD';
        }
        for (int k = 0; k < count; ++k) {
            // \u takes a signed 16-bit number; '?' is the fallback for readers without Unicode.
            wordN("u", int(qint16(units[k])));
            m_out.append('?');
            m_needSpace = false;
        }
    }
}

void Writer::escapedName(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c == ';' || c == '\\' || c == '{' || c == '}') {
            // Hex keeps a ';' from ending the name; readers take it as data.
            static const char hex[] = "0123456789abcdef";
            m_out.append("\\'");
            m_out.append(hex[c >> 4]);
            m_out.append(hex[c & 0xF]);
            m_needSpace = false;
        } else {
            text(QStringView(name).sliced(i, 1 + (QChar::isHighSurrogate(c) && i + 1 < name.size() ? 1 : 0)));
            if (QChar::isHighSurrogate(c) && i + 1 < name.size())
                ++i;
        }
    }
}

int Writer::faceId(const QString &face)
{
    auto it = m_faceIds.constFind(face);
    if (it != m_faceIds.constEnd())
        return *it;
    const int id = int(m_faces.size());
    m_faces.append(face);
    m_faceIds.insert(face, id);
    return id;
}

int Writer::colourId(const ResolvedStyle &s)
{
    if (!s.hasColour)
        return 0;
    auto it = m_colourIds.constFind(s.colour);
    if (it != m_colourIds.constEnd())
        return *it;
    m_colours.push_back(s.colour);
    const int id = int(m_colours.size());  // entry 0 is the automatic colour
    m_colourIds.insert(s.colour, id);
    return id;
}

int Writer::styleFor(int formatIndex)
{
    if (formatIndex < 0)
        formatIndex = 0;
    if (size_t(formatIndex) >= m_styleOfFormat.size())
        m_styleOfFormat.resize(size_t(formatIndex) + 1, -1);
    int &slot = m_styleOfFormat[size_t(formatIndex)];
    if (slot < 0) {
        const ResolvedStyle s = m_resolver.resolve(m_doc.allFormats().value(formatIndex).toCharFormat());
        slot = int(m_styles.size());
        m_styles.push_back(s);
        m_styleFace.push_back(faceId(s.face));
        m_styleColour.push_back(colourId(s));
    }
    return slot;
}

void Writer::runFormat(int style)
{
    const ResolvedStyle &s = m_styles[size_t(style)];
    word("plain");
    wordN("f", m_styleFace[size_t(style)]);
    wordN("fs", s.halfPoints);
    wordN("cf", m_styleColour[size_t(style)]);
    if (s.bold)
        word("b");
    if (s.italic)
        word("i");
    if (s.underline)
        word("ul");
}

QByteArray Writer::write(int from, int to, bool wholeDocument)
{
    // Pass 1: the pieces to write and the fonts and colours they use.
    std::vector<Piece> pieces;
    faceId(m_resolver.defaultFace());   // \deff0 always names a real font
    if (from < to) {
        for (QTextBlock b = m_doc.findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
            const int start = std::max(from, b.position());
            const int markPos = b.position() + b.length() - 1;
            const int end = std::min(to, markPos);
            const bool mark = wholeDocument || markPos < to;
            if (start >= end && !mark)
                continue;
            pieces.push_back(Piece {b, start, end, mark});
            bool any = false;
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                if (f.position() + f.length() <= start || f.position() >= end)
                    continue;
                styleFor(f.charFormatIndex());
                any = true;
            }
            if (!any)
                styleFor(b.charFormatIndex());
        }
    }

    // Pass 2: header, tables, paragraphs.
    const int span = std::max(0, std::min(to, m_doc.characterCount()) - from);
    m_out.reserve(qsizetype(span) * 2 + 512);
    m_out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl");
    for (int i = 0; i < m_faces.size(); ++i) {
        m_out.append("{");
        wordN("f", i);
        word("fnil");
        word("fcharset0");
        m_out.append(' ');
        m_needSpace = false;
        escapedName(m_faces.at(i));
        m_out.append(";}");
        m_needSpace = false;
    }
    m_out.append("}\r\n{\\colortbl;");
    for (QRgb c : m_colours) {
        wordN("red", qRed(c));
        wordN("green", qGreen(c));
        wordN("blue", qBlue(c));
        m_out.append(';');
        m_needSpace = false;
    }
    m_out.append("}\r\n");

    for (const Piece &piece : pieces) {
        word("pard");
        switch (m_resolver.alignment(piece.block.blockFormat())) {
        case Qt::AlignRight: word("qr"); break;
        case Qt::AlignHCenter: word("qc"); break;
        case Qt::AlignJustify: word("qj"); break;
        default: word("ql"); break;
        }
        int current = -1;
        const QString blockText = piece.block.text();
        const int blockStart = piece.block.position();
        for (auto it = piece.block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int fs = std::max(f.position(), piece.from);
            const int fe = std::min(f.position() + f.length(), piece.to);
            if (fs >= fe)
                continue;
            const int style = styleFor(f.charFormatIndex());
            if (style != current) {
                runFormat(style);
                current = style;
            }
            text(QStringView(blockText).sliced(fs - blockStart, fe - fs));
        }
        if (current < 0)
            runFormat(styleFor(piece.block.charFormatIndex()));
        if (piece.mark) {
            word("par");
            m_out.append("\r\n");
            m_needSpace = false;
        }
    }
    m_out.append('}');
    return m_out;
}

} // namespace

QByteArray writeDocument(const QTextDocument &doc)
{
    Writer w(doc);
    return w.write(0, INT_MAX, true);
}

QByteArray writeSelection(const QTextCursor &cursor)
{
    if (cursor.isNull() || !cursor.document()) {
        const QTextDocument empty;
        return Writer(empty).write(0, 0, false);
    }
    Writer w(*cursor.document());
    return w.write(cursor.selectionStart(), cursor.selectionEnd(), false);
}

} // namespace rtf
