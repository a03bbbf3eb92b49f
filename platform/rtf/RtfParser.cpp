#include "RtfParser.h"

#include "RtfFamilies.h"
#include "RtfRules.h"

#include <algorithm>
#include <utility>

namespace rtf {

namespace {

constexpr int MaxDepth = 1024;

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
    m_stories.push_back(std::make_unique<StoryBuilder>(StoryBuilder {-1, {}, false, false}));
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
                && (k->family == Family::Special || k->family == Family::Break || (k->family == Family::Doc && k->id == docWords::DocU)))
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
    // The main story ends: open tables close, trailing text is a paragraph.
    while (m_stories.size() > 1)
        endStory();
    tellFamilies([this](FamilyState &f) { f.documentEnd(*this); });
    if (!story().paragraph.runs.empty())
        m_doc.body.blocks.push_back(Block {finishParagraph(false), nullptr});
    return std::move(m_doc);
}

template <typename Hook>
void Parser::tellFamilies(Hook hook)
{
    for (const std::unique_ptr<FamilyState> &f : m_families)
        if (f)
            hook(*f);
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
    if (!blank.isEmpty() && (inText()))
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

void Parser::dispatch(const Keyword *k, const Token &t)
{
    switch (k->family) {
    case Family::Skip:
        if (nested())
            skipGroup();
        break;
    case Family::Doc:
        if (k->id == docWords::DocU) {
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
        if (inText())
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
    p.list = p.list >= 0 ? listInstance(*this, p.list) : -1;
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
    m_stories.push_back(std::make_unique<StoryBuilder>(StoryBuilder {index, {}, false, false}));
    tellFamilies([this](FamilyState &f) { f.storyStart(*this); });
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
    tellFamilies([this](FamilyState &f) { f.storyEnd(*this); });
    StoryBuilder &s = story();
    if (!s.paragraph.runs.empty())
        target(s).blocks.push_back(Block {finishParagraph(false), nullptr});
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

Paragraph &Parser::paragraph()
{
    return story().paragraph;
}

void Parser::addBlock(Block block)
{
    target(story()).blocks.push_back(std::move(block));
}

Paragraph Parser::finishParagraph(bool terminated)
{
    StoryBuilder &s = story();
    Paragraph p = std::move(s.paragraph);
    s.paragraph = Paragraph {};
    s.runOpen = false;
    p.props = currentParaProps();
    p.markStyle = currentCharStyle();
    p.terminated = terminated;
    p.pageBreak = std::exchange(s.pageBreakPending, false);
    tellFamilies([&](FamilyState &f) { f.paragraphEnd(*this, p); });
    return p;
}

void Parser::endParagraph(Mark mark)
{
    flushPending();
    resolveSurrogate();
    placeParagraph(*this, finishParagraph(true), mark);
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

Document parse(QByteArrayView data)
{
    Parser parser(data);
    return parser.run();
}

} // namespace rtf
