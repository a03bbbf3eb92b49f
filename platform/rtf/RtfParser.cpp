#include "RtfParser.h"

#include "RtfFamilies.h"
#include "RtfRules.h"

#include <algorithm>
#include <utility>

namespace rtf {

size_t qHash(const CharStyle &s, size_t seed) noexcept
{
    // The small fields packed, so a lookup hashes a few words.
    const quint64 flags = quint64(s.colour.set) | quint64(s.bold) << 1 | quint64(s.italic) << 2 | quint64(s.strike) << 3
        | quint64(s.doubleStrike) << 4 | quint64(s.caps) << 5 | quint64(s.smallCaps) << 6 | quint64(s.hidden) << 7
        | quint64(s.underline) << 8 | quint64(s.vertical) << 12 | quint64(quint16(s.halfPoints)) << 16
        | quint64(quint32(s.offset)) << 32;
    const quint64 languages = quint64(quint16(s.language)) | quint64(quint16(s.asianLanguage)) << 16
        | quint64(quint16(s.complexLanguage)) << 32;
    const quint64 faces = quint64(quint32(s.face)) | quint64(quint32(s.asianFace)) << 32;
    return qHashMulti(seed, faces, s.complexFace, flags, languages, s.colour.rgb, s.highlight.rgb, s.background.rgb,
                      s.charStyle);
}

size_t qHash(const ParaProps &p, size_t seed) noexcept
{
    return qHashMulti(seed, int(p.align), p.leftIndent, p.rightIndent, p.firstIndent, p.spaceBefore,
                      p.spaceAfter, p.lineSpacing, p.tabs, p.style, p.list, p.level, p.shading.rgb,
                      p.pageBreakBefore, p.keepWithNext);
}

namespace {

constexpr int MaxDepth = 1024;
constexpr int MaxTableDepth = 8;       // deeper nesting costs Qt time doubling with each level
constexpr int MaxCellsPerRow = 63;

constexpr bool keepChar(char16_t c)
{
    return rules::keptInText(c);
}

// Ignores everything up to the end of its group.
class SkipDest final : public Dest
{
public:
    bool skipsAll() const override { return true; }
};
SkipDest theSkipDest;

// An ignorable destination nobody reads, at document level: kept verbatim.
class KeptDocGroup final : public Dest
{
public:
    bool skipsAll() const override { return true; }
};

// Document-level groups the program does not read but keeps for the writer,
// except those it would leave stale: the program that wrote the file, and
// defaults and page styles that name fonts and styles by their old numbers.
bool keptAtDocumentLevel(QByteArrayView keyword)
{
    return keyword != "generator" && keyword != "defchp" && keyword != "defpap" && keyword != "pgdsctbl";
}

} // namespace

// One open table: its finished rows, the row being read and its cell.
struct Parser::TableBuilder {
    std::unique_ptr<Table> table = std::make_unique<Table>();
    std::vector<Cell> rowCells;
    Cell cell;
    bool cellOpen = false;
};

// The story being read: its blocks, the paragraph in progress and the
// tables open around it, innermost last.
struct Parser::StoryBuilder {
    int index;                  // into Document::stories; -1 for the body
    Paragraph paragraph;
    bool runOpen = false;
    bool pageBreakPending = false;
    std::vector<TableBuilder> tables;
    std::vector<RowProps> rowDefs;      // a note's table leaves the row around it as it was
};

Parser::Parser(QByteArrayView data)
    : m_data(data), m_tokenizer(data, std::max<qsizetype>(0, data.indexOf('{')))
{
    m_doc.paraProps.push_back(ParaProps {});
    m_paraPropsIds.insert(ParaProps {}, 0);
}

Parser::~Parser() = default;

Document Parser::run()
{
    if (!rules::looksLikeRtf(m_data))
        return {};
    m_stack.reserve(64);
    m_stories.push_back(std::make_unique<StoryBuilder>(StoryBuilder {-1, {}, false, false, {}, {}}));
    bool star = false;
    while (!m_done) {
        Token t = m_tokenizer.next();
        if (m_overflow > 0 && t.kind != Token::GroupStart && t.kind != Token::GroupEnd
            && t.kind != Token::End)
            continue;   // nesting this deep carries nothing worth keeping
        Dest *dest = m_state.dest;
        if (dest && dest->skipsAll() && t.kind != Token::GroupStart && t.kind != Token::GroupEnd
            && t.kind != Token::End)
            continue;
        if (t.kind != Token::Word)
            star = false;
        switch (t.kind) {
        case Token::End:
            while (!m_done)
                groupEnd();
            break;
        case Token::GroupStart:
            m_leadingBlank = {};
            groupStart();
            break;
        case Token::GroupEnd:
            if (!m_leadingBlank.isEmpty())
                flushLeadingBlank();
            groupEnd();
            break;
        case Token::Text:
            // Blanks between the groups of a file's head lay the file out
            // and are no text: held until text follows, dropped where a group starts.
            if (m_skip == 0 && !dest && m_depth <= 2 && isBlank(t.bytes) && atDocumentStart()) {
                m_leadingBlank = t.bytes;
                break;
            }
            if (!m_leadingBlank.isEmpty())
                flushLeadingBlank();
            textBytes(t.bytes);
            break;
        case Token::Hex:
            if (!m_leadingBlank.isEmpty())
                flushLeadingBlank();
            if (m_skip > 0) {
                --m_skip;
                break;
            }
            if (!(dest && dest->wantsBytes())) {
                const char byte = char(t.hex);
                appendBytes(QByteArrayView(&byte, 1));
            }
            break;
        case Token::Binary:
            flushPending();
            if (m_skip > 0) {
                --m_skip;
                break;
            }
            if (dest && dest->wantsBytes())
                dest->binary(*this, t.bytes);
            break;
        case Token::Symbol:
            flushPending();
            if (m_skip > 0) {
                --m_skip;
                break;
            }
            if (t.symbol == '*') {
                star = true;
                break;
            }
            symbol(t.symbol);
            break;
        case Token::Word: {
            flushPending();
            if (m_skip > 0) {
                --m_skip;
                star = false;
                break;
            }
            const Keyword *k = findKeyword(t.bytes);
            if (star) {
                star = false;
                if ((!k || (k->family == Family::Skip && keptAtDocumentLevel(t.bytes))) && nested()) {
                    // An ignorable destination nobody reads: kept verbatim at
                    // document level, dropped elsewhere.
                    if (m_depth == 2 && !m_state.dest && inMainStory() && m_doc.body.blocks.empty()
                        && story().paragraph.runs.empty() && wordOpensGroup(t.bytes)) {
                        open(std::make_unique<KeptDocGroup>());
                    } else {
                        m_doc.dropped.add(QString::fromLatin1(t.bytes.toByteArray()));
                        skipGroup();
                    }
                    break;
                }
            }
            // A word as its kind reads: a flag ignores its number, a toggle
            // with any number but 0 is on.
            if (t.hasParam && k && k->kind != Kind::Value && (k->kind != Kind::Toggle || t.param != 0)) {
                t.hasParam = false;
                t.param = 0;
            }
            if (m_head && k && k->kind != Kind::Destination && k->family != Family::Doc && k->family != Family::Info
                && k->family != Family::Skip && !dest)
                m_head = false;     // formatting or content: the file's head is over
            if (!m_leadingBlank.isEmpty() && k
                && (k->family == Family::Special || k->family == Family::Break || (k->family == Family::Doc && k->id == DocU)))
                flushLeadingBlank();
            if (dest && dest->word(*this, k, t))
                break;
            if (!k)
                break;
            if (k->flags & ChangesRun)
                charStyleChanged();
            dispatch(k, t);
            break;
        }
        }
    }
    for (StyleDef &style : m_doc.styles)
        style.para.list = style.para.list >= 0 ? m_listByNumber.value(style.para.list, -1) : -1;
    // The main story ends: open tables close, trailing text is a paragraph.
    while (m_stories.size() > 1)
        endStory();
    closeTablesDeeperThan(0);
    StoryBuilder &main = story();
    if (!main.paragraph.runs.empty())
        m_doc.body.blocks.push_back(Block {finishParagraph(main, false), nullptr});
    return std::move(m_doc);
}

bool Parser::atDocumentStart()
{
    return m_head && m_depth <= 2 && inMainStory() && m_doc.body.blocks.empty() && story().paragraph.runs.empty();
}

bool Parser::isBlank(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\t'; });
}

void Parser::flushLeadingBlank()
{
    const QByteArrayView blank = std::exchange(m_leadingBlank, {});
    // Not into a table the blank came before (\fonttbl after "{ ").
    if (!blank.isEmpty() && (!m_state.dest || m_state.dest->isBody()))
        textBytes(blank);
}

QByteArrayView Parser::groupBytesSoFar() const
{
    const qsizetype start = m_stack.empty() ? 0 : m_stack.back().start;
    return m_data.sliced(start, m_tokenizer.position() - start);
}

bool Parser::wordOpensGroup(QByteArrayView word) const
{
    QByteArrayView g = groupBytesSoFar().sliced(1);
    const auto skipSpace = [&g] {
        while (!g.isEmpty() && (g.front() == ' ' || g.front() == '\r' || g.front() == '\n'))
            g = g.sliced(1);
    };
    skipSpace();
    if (g.startsWith("\\*")) {
        g = g.sliced(2);
        skipSpace();
    }
    if (!g.startsWith('\\') || !g.sliced(1).startsWith(word))
        return false;
    for (const char c : g.sliced(1 + word.size()))
        if (!(c == '-' || c == ' ' || (c >= '0' && c <= '9')))
            return false;
    return true;
}

Dest *Parser::open(std::unique_ptr<Dest> dest)
{
    Dest *d = dest.get();
    m_dests.push_back(OpenDest {std::move(dest), m_depth});
    m_state.dest = d;
    return d;
}

void Parser::skipGroup()
{
    if (nested())
        m_state.dest = &theSkipDest;
}

Dest *Parser::skipDest() const
{
    return &theSkipDest;
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
    m_stack.push_back(Frame {m_state, m_tokenizer.position() - 1});
    ++m_depth;
    if (m_state.dest)
        m_state.dest->innerGroupStart(*this);
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
    if (m_state.dest && (m_dests.empty() || m_dests.back().depth < m_depth || m_dests.back().dest.get() != m_state.dest))
        m_state.dest->innerGroupEnd(*this);
    while (!m_dests.empty() && m_dests.back().depth >= m_depth) {
        OpenDest closing = std::move(m_dests.back());
        m_dests.pop_back();
        if (dynamic_cast<KeptDocGroup *>(closing.dest.get())) {
            if (QByteArray group = rules::keepableGroup(groupBytesSoFar()); !group.isEmpty())
                m_doc.keptGroups.push_back(std::move(group));
            else
                m_doc.dropped.add(QStringLiteral("unbalanced groups"));
        } else
            closing.dest->close(*this);
    }
    if (m_depth == 1) {
        m_done = true;
        return;
    }
    m_state = std::move(m_stack.back().state);
    m_stack.pop_back();
    --m_depth;
    charStyleChanged();
}

// ---- text -------------------------------------------------------------------------------

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
        while (j < n && keepChar(units[j]))
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
        if (!m_state.dest || m_state.dest->isBody())
            endParagraph();
        break;
    default:
        break;  // index and formula marks carry nothing here
    }
}

void Parser::dispatch(const Keyword *k, const Token &t)
{
    switch (k->family) {
    case Family::Skip:
        if (nested())
            skipGroup();
        break;
    case Family::Doc:
        if (k->id == DocU) {
            unicode(t.param);
            break;
        }
        docWord(*this, k->id, t);
        break;
    case Family::Special:
        appendChar(char16_t(k->id));
        break;
    case Family::Fonts: fontsWord(*this, k->id, t); break;
    case Family::Char: charWord(*this, k->id, t); break;
    case Family::Para: paraWord(*this, k->id, t); break;
    case Family::Break:
        if (!m_state.dest || m_state.dest->isBody())
            breakWord(*this, k->id, t);
        break;
    case Family::Styles: stylesWord(*this, k->id, t); break;
    case Family::Lists: listsWord(*this, k->id, t); break;
    case Family::Fields: fieldsWord(*this, k->id, t); break;
    case Family::Tables: tablesWord(*this, k->id, t); break;
    case Family::Pictures: picturesWord(*this, k->id, t); break;
    case Family::Stories: storiesWord(*this, k->id, t); break;
    case Family::Info: infoWord(*this, k->id, t); break;
    case Family::Kept: keptWord(*this, k->id, t); break;
    }
}

// ---- formatting ---------------------------------------------------------------------------

const Parser::Font *Parser::font(int number) const
{
    auto it = m_fonts.constFind(number);
    if (it == m_fonts.constEnd())
        it = m_fonts.constFind(m_deff);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

Colour Parser::colour(int index) const
{
    if (index > 0 && size_t(index) < m_colours.size())
        return m_colours[size_t(index)];
    return {};
}

CharStyle Parser::resolve(const CharState &c)
{
    CharStyle s = c.style;
    const Font *f = font(c.font);
    s.face = f ? f->face : -1;
    const Font *asian = c.asianFont >= 0 ? font(c.asianFont) : nullptr;
    s.asianFace = asian ? asian->face : -1;
    const Font *complex = c.complexFont >= 0 ? font(c.complexFont) : nullptr;
    s.complexFace = complex ? complex->face : -1;
    s.colour = colour(c.colour);
    s.highlight = colour(c.highlight);
    s.background = colour(c.background);
    return s;
}

int Parser::internCharStyle(const CharStyle &s)
{
    auto it = m_charStyleIds.constFind(s);
    if (it == m_charStyleIds.constEnd()) {
        it = m_charStyleIds.insert(s, int(m_doc.charStyles.size()));
        m_doc.charStyles.push_back(s);
    }
    return *it;
}

int Parser::currentCharStyle()
{
    if (!m_styleDirty)
        return m_lastStyleId;
    m_styleDirty = false;
    const CharStyle s = resolve(m_state.chars);
    if (m_lastStyleId >= 0 && s == m_lastStyle)
        return m_lastStyleId;   // a toggle that changed nothing
    m_lastStyle = s;
    m_lastStyleId = internCharStyle(s);
    return m_lastStyleId;
}

int Parser::internParaProps(const ParaProps &p)
{
    // Paragraphs mostly repeat the one before: compared, not hashed.
    if (m_lastParaPropsId >= 0 && m_doc.paraProps[size_t(m_lastParaPropsId)] == p)
        return m_lastParaPropsId;
    auto it = m_paraPropsIds.constFind(p);
    if (it == m_paraPropsIds.constEnd()) {
        it = m_paraPropsIds.insert(p, int(m_doc.paraProps.size()));
        m_doc.paraProps.push_back(p);
    }
    m_lastParaPropsId = *it;
    return *it;
}

int Parser::currentParaProps()
{
    ParaProps p = m_state.para.style >= 0 ? paragraphWithStyle(*this, m_state.para).props : m_state.para.props;
    p.shading = colour(m_state.para.shading);
    p.list = p.list >= 0 ? m_listByNumber.value(p.list, -1) : -1;
    if (p.list < 0)
        p.level = 0;
    return internParaProps(p);
}

int Parser::internFace(const QString &name)
{
    auto it = m_faceIds.constFind(name);
    if (it != m_faceIds.constEnd())
        return *it;
    const int id = int(m_doc.faces.size());
    m_doc.faces.append(name);
    m_faceIds.insert(name, id);
    return id;
}

// ---- structure ------------------------------------------------------------------------------

int Parser::beginStory()
{
    flushPending();
    resolveSurrogate();
    m_doc.stories.emplace_back();
    const int index = int(m_doc.stories.size()) - 1;
    m_stories.push_back(std::make_unique<StoryBuilder>(StoryBuilder {index, {}, false, false, {}, {}}));
    return index;
}

Story &Parser::target(const StoryBuilder &s)
{
    return s.index < 0 ? m_doc.body : m_doc.stories[size_t(s.index)];
}

void Parser::endStory()
{
    if (m_stories.size() <= 1)
        return;
    flushPending();
    resolveSurrogate();
    closeTablesDeeperThan(0);
    StoryBuilder &s = story();
    if (!s.paragraph.runs.empty())
        target(s).blocks.push_back(Block {finishParagraph(s, false), nullptr});
    m_stories.pop_back();
}

void Parser::insertObject(InlineObject::Kind kind, int index)
{
    StoryBuilder &s = story();
    m_doc.objects.push_back(InlineObject {kind, index});
    s.paragraph.runs.push_back(
        Run {m_doc.text.size(), 1, currentCharStyle(), m_state.field, int(m_doc.objects.size()) - 1});
    m_doc.text.append(QChar::ObjectReplacementCharacter);
    s.runOpen = false;
}

int Parser::lastObject(InlineObject::Kind kind)
{
    const Paragraph &p = story().paragraph;
    if (p.runs.empty() || !p.runs.back().isObject())
        return -1;
    const InlineObject &o = m_doc.objects[size_t(p.runs.back().object)];
    return o.kind == kind ? o.index : -1;
}

RowProps &Parser::rowDef(int depth)
{
    depth = std::clamp(depth, 1, MaxTableDepth);
    std::vector<RowProps> &defs = story().rowDefs;
    if (defs.size() < size_t(depth))
        defs.resize(size_t(depth));
    return defs[size_t(depth - 1)];
}

int Parser::tableDepthForDefinitions() const
{
    if (!m_nestedDefs)
        return 1;
    const int open = int(m_stories.back()->tables.size());
    return std::clamp(std::max(open, m_state.para.depth), 2, MaxTableDepth);
}

void Parser::addBlock(int depth, Block block)
{
    StoryBuilder &s = story();
    if (depth == 0) {
        target(s).blocks.push_back(std::move(block));
        return;
    }
    TableBuilder &t = s.tables[size_t(depth - 1)];
    t.cell.content.blocks.push_back(std::move(block));
    t.cellOpen = true;
}

void Parser::finishCell(int depth)
{
    TableBuilder &t = story().tables[size_t(depth - 1)];
    if (int(t.rowCells.size()) >= MaxCellsPerRow && !t.rowCells.empty()) {
        // Beyond the cap, cells join the last one.
        auto &last = t.rowCells.back().content.blocks;
        for (Block &b : t.cell.content.blocks)
            last.push_back(std::move(b));
        m_doc.dropped.add(QStringLiteral("cells beyond %1 in a row").arg(MaxCellsPerRow));
    } else {
        t.rowCells.push_back(std::move(t.cell));
    }
    t.cell = Cell {};
    t.cellOpen = false;
}

void Parser::closeTablesDeeperThan(int depth)
{
    StoryBuilder &s = story();
    while (int(s.tables.size()) > depth) {
        const int d = int(s.tables.size());
        TableBuilder &t = s.tables.back();
        if (t.cellOpen)
            finishCell(d);
        finishRow(d);       // a row without its \row still counts
        std::unique_ptr<Table> table = std::move(s.tables.back().table);
        s.tables.pop_back();
        if (!table->rows.empty())
            addBlock(d - 1, Block {Paragraph {}, std::move(table)});
    }
}

Paragraph Parser::finishParagraph(StoryBuilder &s, bool terminated)
{
    Paragraph p = std::move(s.paragraph);
    s.paragraph = Paragraph {};
    s.runOpen = false;
    p.props = currentParaProps();
    p.markStyle = currentCharStyle();
    p.terminated = terminated;
    p.pageBreak = std::exchange(s.pageBreakPending, false);
    // A list label read as text is not text when the paragraph names a list,
    // also one the file does not define: other readers show no label then.
    if (m_state.para.props.list >= 0 || m_doc.paraProps[size_t(p.props)].list >= 0)
        std::erase_if(p.runs, [](const Run &r) { return r.field == LabelField; });
    for (Run &r : p.runs)
        if (r.field == LabelField)
            r.field = -1;
    return p;
}

void Parser::endParagraph(Mark mark)
{
    flushPending();
    resolveSurrogate();
    StoryBuilder &s = story();
    Paragraph p = finishParagraph(s, true);

    const ParaState &para = m_state.para;
    int depth = para.inTable ? std::clamp(para.depth, 1, MaxTableDepth) : 0;
    if (mark != Mark::Paragraph)
        depth = std::clamp(std::max(depth, mark == Mark::NestCell ? 2 : 1), 1, MaxTableDepth);
    closeTablesDeeperThan(depth);
    while (int(s.tables.size()) < depth)
        s.tables.emplace_back();
    addBlock(depth, Block {std::move(p), nullptr});
    if (mark != Mark::Paragraph)
        finishCell(depth);
}

void Parser::endRow(bool nested)
{
    flushPending();
    resolveSurrogate();
    StoryBuilder &s = story();
    const int depth = nested ? std::clamp(std::max(int(s.tables.size()), m_state.para.depth), 2, MaxTableDepth) : 1;
    if (!s.paragraph.runs.empty())
        endParagraph(nested ? Mark::NestCell : Mark::Cell);  // text after the last cell is one more
    closeTablesDeeperThan(depth);
    while (int(s.tables.size()) < depth)
        s.tables.emplace_back();
    finishRow(depth);
}

void Parser::finishRow(int depth)
{
    TableBuilder &t = story().tables[size_t(depth - 1)];
    if (t.cellOpen)
        finishCell(depth);
    if (t.rowCells.empty())
        return;
    const RowProps &def = rowDef(depth);
    Row row;
    row.props = def;
    row.props.cells.clear();
    row.cells = std::move(t.rowCells);
    t.rowCells.clear();
    // Each cell takes its definition; cells the definition lacks get one.
    int right = def.left;
    for (size_t i = 0; i < row.cells.size(); ++i) {
        if (i < def.cells.size())
            row.cells[i].props = def.cells[i];
        else
            row.cells[i].props.right = right + 1440;
        // Edges out of order or absurd are put in order, within the longest
        // length, as they read again once written.
        row.cells[i].props.right = std::max(right + 1, std::min(row.cells[i].props.right, rules::MaxLength));
        right = row.cells[i].props.right;
    }
    t.table->rows.push_back(std::move(row));
}

bool Parser::atTableEnd()
{
    const StoryBuilder &s = story();
    return s.paragraph.runs.empty() && !s.tables.empty();
}

void Parser::pageBreak()
{
    flushPending();
    resolveSurrogate();
    // A break with no text since the one before leaves a blank page: an
    // empty paragraph stands on it.
    if (!story().paragraph.runs.empty() || story().pageBreakPending)
        endParagraph();
    story().pageBreakPending = true;
}

int Parser::internTabs(const std::vector<TabStop> &stops)
{
    QByteArray key;
    for (const TabStop &t : stops) {
        key.append(reinterpret_cast<const char *>(&t.position), sizeof t.position);
        key.append(char(t.kind));
        key.append(char(t.leader));
    }
    auto it = m_tabIds.constFind(key);
    if (it == m_tabIds.constEnd()) {
        it = m_tabIds.insert(key, int(m_doc.tabLists.size()));
        m_doc.tabLists.push_back(stops);
    }
    return *it;
}

Section &Parser::currentSection()
{
    if (m_doc.sections.empty())
        m_doc.sections.emplace_back();
    return m_doc.sections.back();
}

void Parser::startSection()
{
    currentSection();
    closeTablesDeeperThan(0);
    Section next;
    next.firstBlock = qsizetype(m_doc.body.blocks.size());
    m_doc.sections.push_back(next);
}

// ---- old-style lists ---------------------------------------------------------------------------

int Parser::internPn(const PnDef &def)
{
    for (size_t i = 0; i < m_pnDefs.size(); ++i)
        if (m_pnDefs[i] == def)
            return int(i);
    m_pnDefs.push_back(def);
    m_pnInstances.push_back(-1);
    return int(m_pnDefs.size()) - 1;
}

Document parse(QByteArrayView data)
{
    Parser parser(data);
    return parser.run();
}

} // namespace rtf
