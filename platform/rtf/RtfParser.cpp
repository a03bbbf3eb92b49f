#include "RtfParser.h"

#include "RtfCodePages.h"
#include "RtfTokenizer.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace rtf {

size_t qHash(const RunStyle &s, size_t seed) noexcept
{
    return qHashMulti(seed, s.face, s.halfPoints, s.colour, s.hasColour, s.bold, s.italic, s.underline);
}

bool looksLikeRtf(QByteArrayView data)
{
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

namespace {

constexpr int MaxDepth = 1024;
constexpr int MaxHalfPoints = 3276;   // 1638 pt, the largest size Qt's layout handles well

enum class Kw : quint8 {
    SkipDest, SkipUntilResult, Result, FontTable, ColourTable,
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U,
    Plain, F, Fs, Cf, B, I, Ul, UlNone, V,
    Pard, Ql, Qr, Qc, Qj,
    Par, Char,
    FCharset, Cpg, Red, Green, Blue,
};

struct Keyword {
    std::string_view name;
    Kw kw;
    char16_t ch = 0;
};

constexpr auto keywords = [] {
    auto table = std::to_array<Keyword>({
        // Groups whose content never reaches the text.
        {"aftncn", Kw::SkipDest}, {"aftnsep", Kw::SkipDest}, {"aftnsepc", Kw::SkipDest},
        {"annotation", Kw::SkipDest}, {"atnauthor", Kw::SkipDest}, {"atndate", Kw::SkipDest},
        {"atnicn", Kw::SkipDest}, {"atnid", Kw::SkipDest}, {"atnparent", Kw::SkipDest},
        {"atnref", Kw::SkipDest}, {"atntime", Kw::SkipDest}, {"atrfend", Kw::SkipDest},
        {"atrfstart", Kw::SkipDest}, {"author", Kw::SkipDest}, {"background", Kw::SkipDest},
        {"bkmkend", Kw::SkipDest}, {"bkmkstart", Kw::SkipDest}, {"blipuid", Kw::SkipDest},
        {"buptim", Kw::SkipDest}, {"category", Kw::SkipDest}, {"colorschememapping", Kw::SkipDest},
        {"comment", Kw::SkipDest}, {"company", Kw::SkipDest}, {"creatim", Kw::SkipDest},
        {"datafield", Kw::SkipDest}, {"datastore", Kw::SkipDest}, {"defchp", Kw::SkipDest},
        {"defpap", Kw::SkipDest}, {"do", Kw::SkipDest}, {"doccomm", Kw::SkipDest},
        {"docvar", Kw::SkipDest}, {"dptxbxtext", Kw::SkipDest}, {"ebcend", Kw::SkipDest},
        {"ebcstart", Kw::SkipDest}, {"factoidname", Kw::SkipDest}, {"falt", Kw::SkipDest},
        {"fchars", Kw::SkipDest}, {"ffdeftext", Kw::SkipDest}, {"ffentrymcr", Kw::SkipDest},
        {"ffexitmcr", Kw::SkipDest}, {"ffformat", Kw::SkipDest}, {"ffhelptext", Kw::SkipDest},
        {"ffl", Kw::SkipDest}, {"ffname", Kw::SkipDest}, {"ffstattext", Kw::SkipDest},
        {"file", Kw::SkipDest}, {"filetbl", Kw::SkipDest}, {"fldtype", Kw::SkipDest},
        {"fname", Kw::SkipDest}, {"fontemb", Kw::SkipDest}, {"fontfile", Kw::SkipDest},
        {"footer", Kw::SkipDest}, {"footerf", Kw::SkipDest}, {"footerl", Kw::SkipDest},
        {"footerr", Kw::SkipDest}, {"footnote", Kw::SkipDest}, {"formfield", Kw::SkipDest},
        {"ftncn", Kw::SkipDest}, {"ftnsep", Kw::SkipDest}, {"ftnsepc", Kw::SkipDest},
        {"generator", Kw::SkipDest}, {"gridtbl", Kw::SkipDest}, {"header", Kw::SkipDest},
        {"headerf", Kw::SkipDest}, {"headerl", Kw::SkipDest}, {"headerr", Kw::SkipDest},
        {"hl", Kw::SkipDest}, {"hlfr", Kw::SkipDest}, {"hlinkbase", Kw::SkipDest},
        {"hlloc", Kw::SkipDest}, {"hlsrc", Kw::SkipDest}, {"hsv", Kw::SkipDest},
        {"htmltag", Kw::SkipDest}, {"info", Kw::SkipDest}, {"keycode", Kw::SkipDest},
        {"keywords", Kw::SkipDest}, {"latentstyles", Kw::SkipDest}, {"lchars", Kw::SkipDest},
        {"levelnumbers", Kw::SkipDest}, {"leveltext", Kw::SkipDest}, {"lfolevel", Kw::SkipDest},
        {"linkval", Kw::SkipDest}, {"list", Kw::SkipDest}, {"listlevel", Kw::SkipDest},
        {"listname", Kw::SkipDest}, {"listoverride", Kw::SkipDest},
        {"listoverridetable", Kw::SkipDest}, {"listpicture", Kw::SkipDest},
        {"liststylename", Kw::SkipDest}, {"listtable", Kw::SkipDest},
        {"lsdlockedexcept", Kw::SkipDest}, {"macc", Kw::SkipDest}, {"maccPr", Kw::SkipDest},
        {"mailmerge", Kw::SkipDest}, {"manager", Kw::SkipDest}, {"mmath", Kw::SkipDest},
        {"mmathPr", Kw::SkipDest}, {"nesttableprops", Kw::SkipDest}, {"nextfile", Kw::SkipDest},
        {"nonesttables", Kw::SkipDest}, {"nonshppict", Kw::SkipDest}, {"objalias", Kw::SkipDest},
        {"objclass", Kw::SkipDest}, {"objdata", Kw::SkipDest}, {"objname", Kw::SkipDest},
        {"objsect", Kw::SkipDest}, {"objtime", Kw::SkipDest}, {"oldcprops", Kw::SkipDest},
        {"oldpprops", Kw::SkipDest}, {"oldsprops", Kw::SkipDest}, {"oldtprops", Kw::SkipDest},
        {"oleclsid", Kw::SkipDest}, {"operator", Kw::SkipDest}, {"panose", Kw::SkipDest},
        {"password", Kw::SkipDest}, {"passwordhash", Kw::SkipDest}, {"pgdsctbl", Kw::SkipDest},
        {"pgp", Kw::SkipDest}, {"pgptbl", Kw::SkipDest}, {"picprop", Kw::SkipDest},
        {"pict", Kw::SkipDest}, {"pn", Kw::SkipDest}, {"pnseclvl", Kw::SkipDest},
        {"pntxta", Kw::SkipDest}, {"pntxtb", Kw::SkipDest}, {"printim", Kw::SkipDest},
        {"private", Kw::SkipDest}, {"propname", Kw::SkipDest}, {"protend", Kw::SkipDest},
        {"protstart", Kw::SkipDest}, {"protusertbl", Kw::SkipDest}, {"pxe", Kw::SkipDest},
        {"revtbl", Kw::SkipDest}, {"revtim", Kw::SkipDest}, {"rsidtbl", Kw::SkipDest},
        {"rxe", Kw::SkipDest}, {"shp", Kw::SkipDest}, {"shpgrp", Kw::SkipDest},
        {"shpinst", Kw::SkipDest}, {"shppict", Kw::SkipDest}, {"shprslt", Kw::SkipDest},
        {"shptxt", Kw::SkipDest}, {"sn", Kw::SkipDest}, {"sp", Kw::SkipDest},
        {"staticval", Kw::SkipDest}, {"stylesheet", Kw::SkipDest}, {"subject", Kw::SkipDest},
        {"sv", Kw::SkipDest}, {"svb", Kw::SkipDest}, {"tc", Kw::SkipDest},
        {"template", Kw::SkipDest}, {"themedata", Kw::SkipDest}, {"title", Kw::SkipDest},
        {"txe", Kw::SkipDest}, {"ud", Kw::SkipDest}, {"userprops", Kw::SkipDest},
        {"wgrffmtfilter", Kw::SkipDest}, {"windowcaption", Kw::SkipDest},
        {"writereservation", Kw::SkipDest}, {"writereservhash", Kw::SkipDest},
        {"xe", Kw::SkipDest}, {"xform", Kw::SkipDest}, {"xmlattrname", Kw::SkipDest},
        {"xmlattrvalue", Kw::SkipDest}, {"xmlclose", Kw::SkipDest}, {"xmlname", Kw::SkipDest},
        {"xmlnstbl", Kw::SkipDest}, {"xmlopen", Kw::SkipDest},
        // Skipped, but a result group inside them is shown.
        {"fldinst", Kw::SkipUntilResult}, {"object", Kw::SkipUntilResult},
        {"fldrslt", Kw::Result}, {"result", Kw::Result},
        {"fonttbl", Kw::FontTable}, {"colortbl", Kw::ColourTable},
        // Document.
        {"ansi", Kw::Ansi}, {"mac", Kw::Mac}, {"pc", Kw::Pc}, {"pca", Kw::Pca},
        {"ansicpg", Kw::AnsiCpg}, {"deff", Kw::Deff}, {"uc", Kw::Uc}, {"u", Kw::U},
        // Characters.
        {"plain", Kw::Plain}, {"f", Kw::F}, {"fs", Kw::Fs}, {"cf", Kw::Cf},
        {"b", Kw::B}, {"i", Kw::I}, {"v", Kw::V}, {"ulnone", Kw::UlNone},
        {"ul", Kw::Ul}, {"uld", Kw::Ul}, {"uldash", Kw::Ul}, {"uldashd", Kw::Ul},
        {"uldashdd", Kw::Ul}, {"uldb", Kw::Ul}, {"ulhwave", Kw::Ul}, {"ulldash", Kw::Ul},
        {"ulth", Kw::Ul}, {"ulthd", Kw::Ul}, {"ulthdash", Kw::Ul}, {"ulthdashd", Kw::Ul},
        {"ulthdashdd", Kw::Ul}, {"ulthldash", Kw::Ul}, {"ululdbwave", Kw::Ul}, {"ulw", Kw::Ul},
        {"ulwave", Kw::Ul},
        // Paragraphs.
        {"pard", Kw::Pard}, {"ql", Kw::Ql}, {"qr", Kw::Qr}, {"qc", Kw::Qc}, {"qj", Kw::Qj},
        {"qd", Kw::Qj},
        {"par", Kw::Par}, {"sect", Kw::Par}, {"page", Kw::Par}, {"row", Kw::Par},
        {"nestrow", Kw::Par},
        {"tab", Kw::Char, u'\t'}, {"cell", Kw::Char, u'\t'}, {"nestcell", Kw::Char, u'\t'},
        {"line", Kw::Char, u'\x2028'},
        {"emdash", Kw::Char, u'\x2014'}, {"endash", Kw::Char, u'\x2013'},
        {"emspace", Kw::Char, u'\x2003'}, {"enspace", Kw::Char, u'\x2002'},
        {"qmspace", Kw::Char, u'\x2005'}, {"bullet", Kw::Char, u'\x2022'},
        {"lquote", Kw::Char, u'\x2018'}, {"rquote", Kw::Char, u'\x2019'},
        {"ldblquote", Kw::Char, u'\x201C'}, {"rdblquote", Kw::Char, u'\x201D'},
        {"zwj", Kw::Char, u'\x200D'}, {"zwnj", Kw::Char, u'\x200C'},
        {"ltrmark", Kw::Char, u'\x200E'}, {"rtlmark", Kw::Char, u'\x200F'},
        // Tables.
        {"fcharset", Kw::FCharset}, {"cpg", Kw::Cpg},
        {"red", Kw::Red}, {"green", Kw::Green}, {"blue", Kw::Blue},
    });
    return table;
}();

constexpr quint32 keywordHash(std::string_view name)
{
    quint32 h = 2166136261u;
    for (char c : name)
        h = (h ^ quint8(c)) * 16777619u;
    return h;
}

// Open addressing over the keyword table: one hash and usually one compare per word.
constexpr size_t KeywordSlots = 1024;
constexpr auto keywordSlots = [] {
    std::array<qint16, KeywordSlots> table {};
    for (auto &slot : table)
        slot = -1;
    for (size_t i = 0; i < keywords.size(); ++i) {
        size_t h = keywordHash(keywords[i].name) % KeywordSlots;
        while (table[h] >= 0)
            h = (h + 1) % KeywordSlots;
        table[h] = qint16(i);
    }
    return table;
}();

const Keyword *findKeyword(QByteArrayView name)
{
    const std::string_view key(name.data(), size_t(name.size()));
    for (size_t h = keywordHash(key) % KeywordSlots;; h = (h + 1) % KeywordSlots) {
        const qint16 i = keywordSlots[h];
        if (i < 0)
            return nullptr;
        if (keywords[size_t(i)].name == key)
            return &keywords[size_t(i)];
    }
}

// Characters that must not reach a QTextDocument as text: they would split
// blocks or stand for objects the model does not have.
constexpr bool keepChar(char16_t c)
{
    if (c < 0x20)
        return c == u'\t';
    return c != 0x2029 && c != 0xFFFC && c != 0xFDD0 && c != 0xFDD1;
}

enum class Dest : quint8 { Normal, Skip, SkipUntilResult, FontTable, ColourTable };

struct State {
    int font = -1;          // -1: the \deff font
    int halfPoints = 24;
    int colour = 0;
    int uc = 1;
    Align align = Align::Left;
    Dest dest = Dest::Normal;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool hidden = false;
};

struct Font {
    int face = -1;
    int codePage = 1252;
};

class Parser
{
public:
    Content run(QByteArrayView data);

private:
    enum class Target { None, Body, FontName };

    void groupStart();
    void groupEnd();
    void text(QByteArrayView bytes);
    void word(const Token &t);
    void symbol(char c);
    void unicode(int value);

    Target target() const;
    int targetCodePage();
    void invalidate() { m_styleDirty = m_codePageDirty = true; }
    void appendBytes(QByteArrayView bytes);
    void appendUnits(const char16_t *units, qsizetype n);
    void appendChar(char16_t c) { appendUnits(&c, 1); }
    void flushPending();
    void resolveSurrogate();

    void endParagraph(bool terminated);
    int currentStyle();
    const Font *font(int number);
    int internFace(const QString &name);

    void startFontEntry(int number);
    void finishFontEntry();
    void finishColour();

    Content m_out;
    QHash<RunStyle, int> m_styleIds;
    RunStyle m_lastStyle;
    int m_lastStyleId = -1;
    // Cached lookups, recomputed when a group closes or a property changes.
    bool m_styleDirty = true;
    bool m_codePageDirty = true;
    int m_bodyCodePage = 1252;
    const std::array<char16_t, 256> *m_bodyTable = nullptr;

    State m_state;
    std::vector<State> m_stack;
    int m_depth = 0;
    int m_overflow = 0;
    bool m_done = false;

    int m_docCodePage = 1252;
    int m_deff = 0;
    QHash<int, Font> m_fonts;
    QHash<QString, int> m_faceIds;

    bool m_entryOpen = false;
    bool m_entryNamed = false;
    int m_entryNumber = 0;
    int m_entryCharset = -1;
    int m_entryCpg = 0;
    int m_entryDepth = 0;
    QString m_entryName;

    std::vector<std::optional<QRgb>> m_colours;
    int m_colourDepth = -1;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;

    int m_skip = 0;
    char16_t m_highSurrogate = 0;
    QByteArray m_pending;
    int m_pendingCodePage = 0;
    ByteDecoder m_decoder;

    bool m_runOpen = false;
    qsizetype m_paraTextStart = 0;
    qsizetype m_paraRunStart = 0;
};

Content Parser::run(QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return {};
    m_stack.reserve(64);
    Tokenizer tokenizer(data, data.indexOf('{'));
    while (!m_done) {
        const Token t = tokenizer.next();
        if (m_overflow > 0 && t.kind != Token::GroupStart && t.kind != Token::GroupEnd
            && t.kind != Token::End)
            continue;   // nesting this deep carries nothing worth keeping
        switch (t.kind) {
        case Token::End:
            while (!m_done)
                groupEnd();
            break;
        case Token::GroupStart:
            groupStart();
            break;
        case Token::GroupEnd:
            groupEnd();
            break;
        case Token::Text:
            text(t.bytes);
            break;
        case Token::Hex:
            if (m_skip > 0) {
                --m_skip;
                break;
            }
            if (target() != Target::None) {
                const char byte = char(t.hex);
                appendBytes(QByteArrayView(&byte, 1));
            }
            break;
        case Token::Binary:
            flushPending();
            if (m_skip > 0)
                --m_skip;
            break;
        case Token::Symbol:
            flushPending();
            if (m_skip > 0) {
                --m_skip;
                break;
            }
            symbol(t.symbol);
            break;
        case Token::Word:
            flushPending();
            if (m_skip > 0) {
                --m_skip;
                break;
            }
            word(t);
            break;
        }
    }
    return std::move(m_out);
}

void Parser::groupStart()
{
    flushPending();
    resolveSurrogate();
    m_skip = 0;
    if (m_depth >= MaxDepth) {
        ++m_overflow;
        return;
    }
    m_stack.push_back(m_state);
    ++m_depth;
}

void Parser::groupEnd()
{
    flushPending();
    resolveSurrogate();
    m_skip = 0;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_depth == 0) {
        m_done = true;
        return;
    }
    if (m_entryOpen && m_depth <= m_entryDepth)
        finishFontEntry();
    if (m_depth == m_colourDepth) {
        if (m_colourSet)
            finishColour();
        m_colourDepth = -1;
    }
    if (m_depth == 1) {
        // The root group closes: trailing text without \par is a paragraph too.
        if (qsizetype(m_out.runs.size()) > m_paraRunStart)
            endParagraph(false);
        m_done = true;
    }
    m_state = m_stack.back();
    m_stack.pop_back();
    --m_depth;
    invalidate();
}

Parser::Target Parser::target() const
{
    switch (m_state.dest) {
    case Dest::Normal:
        return m_state.hidden ? Target::None : Target::Body;
    case Dest::FontTable:
        return m_entryOpen && !m_entryNamed ? Target::FontName : Target::None;
    default:
        return Target::None;
    }
}

int Parser::targetCodePage()
{
    if (m_state.dest == Dest::FontTable) {
        if (m_entryCpg > 0)
            return normalisedCodePage(m_entryCpg);
        return m_entryCharset >= 0 ? codePageForCharset(m_entryCharset, m_docCodePage) : m_docCodePage;
    }
    const Font *f = font(m_state.font);
    return f ? f->codePage : m_docCodePage;
}

void Parser::text(QByteArrayView bytes)
{
    if (m_skip > 0) {
        const qsizetype n = std::min<qsizetype>(m_skip, bytes.size());
        m_skip -= int(n);
        bytes = bytes.sliced(n);
        if (bytes.isEmpty())
            return;
    }
    switch (m_state.dest) {
    case Dest::Normal:
        if (!m_state.hidden)
            appendBytes(bytes);
        return;
    case Dest::FontTable: {
        if (!m_entryOpen || m_entryNamed)
            return;
        const qsizetype semicolon = bytes.indexOf(';');
        if (semicolon < 0) {
            appendBytes(bytes);
            return;
        }
        appendBytes(bytes.first(semicolon));
        flushPending();
        resolveSurrogate();
        m_entryNamed = true;
        return;
    }
    case Dest::ColourTable:
        for (char c : bytes) {
            if (c == ';')
                finishColour();
        }
        return;
    default:
        return;
    }
}

void Parser::appendBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    int codePage;
    const std::array<char16_t, 256> *table;
    if (m_state.dest == Dest::FontTable) {
        codePage = targetCodePage();
        table = m_decoder.singleByteTable(codePage);
    } else {
        if (m_codePageDirty) {
            m_bodyCodePage = targetCodePage();
            m_bodyTable = m_decoder.singleByteTable(m_bodyCodePage);
            m_codePageDirty = false;
        }
        codePage = m_bodyCodePage;
        table = m_bodyTable;
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
        const char16_t c = (*table)[static_cast<unsigned char>(b)];
        if (c >= 0x20 || c == u'\t')
            buffer[n++] = c;
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
    QString kept;
    kept.reserve(decoded.size());
    for (QChar c : decoded) {
        if (keepChar(c.unicode()))
            kept.append(c);
    }
    appendUnits(reinterpret_cast<const char16_t *>(kept.constData()), kept.size());
}

void Parser::appendUnits(const char16_t *units, qsizetype n)
{
    if (n == 0)
        return;
    if (m_highSurrogate)
        resolveSurrogate();
    switch (target()) {
    case Target::Body: {
        const int style = currentStyle();
        if (!m_runOpen || m_out.runs.back().style != style) {
            m_out.runs.push_back(Run {m_out.text.size(), 0, style});
            m_runOpen = true;
        }
        m_out.text.append(reinterpret_cast<const QChar *>(units), n);
        m_out.runs.back().length += n;
        break;
    }
    case Target::FontName:
        m_entryName.append(reinterpret_cast<const QChar *>(units), n);
        break;
    case Target::None:
        break;
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
    } else if (keepChar(c)) {
        appendChar(c);
    } else {
        resolveSurrogate();
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
        if (m_state.dest == Dest::Normal)
            endParagraph(true);
        break;
    case '*':
        if (m_depth > 1)
            m_state.dest = Dest::Skip;
        break;
    default:
        break;  // index and formula marks carry nothing here
    }
}

void Parser::word(const Token &t)
{
    if (m_state.dest == Dest::Skip)
        return;
    const Keyword *k = findKeyword(t.bytes);
    if (!k)
        return;
    if (m_state.dest == Dest::SkipUntilResult) {
        if (k->kw == Kw::Result)
            m_state.dest = Dest::Normal;
        return;
    }
    switch (k->kw) {
    case Kw::Ansi: case Kw::Mac: case Kw::Pc: case Kw::Pca: case Kw::AnsiCpg: case Kw::Deff:
    case Kw::Plain: case Kw::F: case Kw::Fs: case Kw::Cf: case Kw::B: case Kw::I:
    case Kw::Ul: case Kw::UlNone:
        invalidate();
        break;
    default:
        break;
    }
    const bool on = !t.hasParam || t.param != 0;
    const bool body = m_state.dest == Dest::Normal;
    const bool nested = m_depth > 1;    // destinations never swallow the root group

    switch (k->kw) {
    case Kw::SkipDest:
        if (nested)
            m_state.dest = Dest::Skip;
        break;
    case Kw::SkipUntilResult:
        if (nested)
            m_state.dest = Dest::SkipUntilResult;
        break;
    case Kw::Result:
        break;
    case Kw::FontTable:
        if (nested && body)
            m_state.dest = Dest::FontTable;
        break;
    case Kw::ColourTable:
        if (nested && body) {
            m_state.dest = Dest::ColourTable;
            m_colours.clear();
            m_colourDepth = m_depth;
            m_colourSet = false;
            m_red = m_green = m_blue = 0;
        }
        break;
    case Kw::Ansi:
        m_docCodePage = 1252;
        break;
    case Kw::Mac:
        m_docCodePage = 10000;
        break;
    case Kw::Pc:
        m_docCodePage = 437;
        break;
    case Kw::Pca:
        m_docCodePage = 850;
        break;
    case Kw::AnsiCpg:
        m_docCodePage = normalisedCodePage(t.param);
        break;
    case Kw::Deff:
        m_deff = t.param;
        break;
    case Kw::Uc:
        m_state.uc = std::clamp(t.hasParam ? t.param : 1, 0, 0xFFFF);
        break;
    case Kw::U:
        unicode(t.param);
        break;
    case Kw::Char:
        appendChar(k->ch);     // also inside font names
        break;
    case Kw::F:
        if (m_state.dest == Dest::FontTable)
            startFontEntry(t.param);
        else if (body)
            m_state.font = t.param;
        break;
    case Kw::FCharset:
        if (m_state.dest == Dest::FontTable && m_entryOpen)
            m_entryCharset = t.param;
        break;
    case Kw::Cpg:
        if (m_state.dest == Dest::FontTable && m_entryOpen)
            m_entryCpg = t.param;
        break;
    case Kw::Red:
    case Kw::Green:
    case Kw::Blue:
        if (m_state.dest == Dest::ColourTable) {
            const int v = std::clamp(t.param, 0, 255);
            (k->kw == Kw::Red ? m_red : k->kw == Kw::Green ? m_green : m_blue) = v;
            m_colourSet = true;
        }
        break;
    default:
        break;
    }
    if (!body)
        return;

    switch (k->kw) {
    case Kw::Plain:
        m_state.font = -1;
        m_state.halfPoints = 24;
        m_state.colour = 0;
        m_state.bold = m_state.italic = m_state.underline = m_state.hidden = false;
        break;
    case Kw::Fs:
        if (!t.hasParam)
            m_state.halfPoints = 24;
        else if (t.param > 0)
            m_state.halfPoints = std::min(t.param, MaxHalfPoints);
        break;
    case Kw::Cf:
        m_state.colour = t.param;
        break;
    case Kw::B:
        m_state.bold = on;
        break;
    case Kw::I:
        m_state.italic = on;
        break;
    case Kw::Ul:
        m_state.underline = on;
        break;
    case Kw::UlNone:
        m_state.underline = false;
        break;
    case Kw::V:
        m_state.hidden = on;
        break;
    case Kw::Pard:
    case Kw::Ql:
        m_state.align = Align::Left;
        break;
    case Kw::Qr:
        m_state.align = Align::Right;
        break;
    case Kw::Qc:
        m_state.align = Align::Center;
        break;
    case Kw::Qj:
        m_state.align = Align::Justify;
        break;
    case Kw::Par:
        endParagraph(true);
        break;
    default:
        break;
    }
}

void Parser::endParagraph(bool terminated)
{
    resolveSurrogate();
    Paragraph p;
    p.textStart = m_paraTextStart;
    p.textLength = m_out.text.size() - m_paraTextStart;
    p.firstRun = m_paraRunStart;
    p.runCount = qsizetype(m_out.runs.size()) - m_paraRunStart;
    p.align = m_state.align;
    p.markStyle = currentStyle();
    p.terminated = terminated;
    m_out.paragraphs.push_back(p);
    m_paraTextStart = m_out.text.size();
    m_paraRunStart = qsizetype(m_out.runs.size());
    m_runOpen = false;
}

const Font *Parser::font(int number)
{
    auto it = m_fonts.constFind(number);
    if (it == m_fonts.constEnd())
        it = m_fonts.constFind(m_deff);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

int Parser::currentStyle()
{
    if (!m_styleDirty)
        return m_lastStyleId;
    m_styleDirty = false;
    RunStyle s;
    if (const Font *f = font(m_state.font))
        s.face = f->face;
    s.halfPoints = m_state.halfPoints;
    if (m_state.colour > 0 && size_t(m_state.colour) < m_colours.size()) {
        if (const auto &c = m_colours[size_t(m_state.colour)]) {
            s.colour = *c;
            s.hasColour = true;
        }
    }
    s.bold = m_state.bold;
    s.italic = m_state.italic;
    s.underline = m_state.underline;
    if (m_lastStyleId >= 0 && s == m_lastStyle)
        return m_lastStyleId;   // a toggle that changed nothing
    auto it = m_styleIds.constFind(s);
    if (it == m_styleIds.constEnd()) {
        it = m_styleIds.insert(s, int(m_out.styles.size()));
        m_out.styles.push_back(s);
    }
    m_lastStyle = s;
    m_lastStyleId = *it;
    return m_lastStyleId;
}

int Parser::internFace(const QString &name)
{
    auto it = m_faceIds.constFind(name);
    if (it != m_faceIds.constEnd())
        return *it;
    const int id = int(m_out.faces.size());
    m_out.faces.append(name);
    m_faceIds.insert(name, id);
    return id;
}

void Parser::startFontEntry(int number)
{
    if (m_entryOpen)
        finishFontEntry();
    m_entryOpen = true;
    m_entryNamed = false;
    m_entryNumber = number;
    m_entryCharset = -1;
    m_entryCpg = 0;
    m_entryDepth = m_depth;
    m_entryName.clear();
}

void Parser::finishFontEntry()
{
    flushPending();
    resolveSurrogate();
    Font f;
    const QString name = m_entryName.trimmed();
    f.face = name.isEmpty() ? -1 : internFace(name);
    if (m_entryCpg > 0)
        f.codePage = normalisedCodePage(m_entryCpg);
    else
        f.codePage = m_entryCharset >= 0 ? codePageForCharset(m_entryCharset, m_docCodePage) : m_docCodePage;
    m_fonts.insert(m_entryNumber, f);
    m_entryOpen = false;
    m_entryName.clear();
    invalidate();
}

void Parser::finishColour()
{
    if (m_colourSet)
        m_colours.emplace_back(qRgb(m_red, m_green, m_blue));
    else
        m_colours.emplace_back(std::nullopt);
    m_red = m_green = m_blue = 0;
    m_colourSet = false;
    invalidate();
}

} // namespace

Content parse(QByteArrayView data)
{
    Parser parser;
    return parser.run(data);
}

} // namespace rtf
