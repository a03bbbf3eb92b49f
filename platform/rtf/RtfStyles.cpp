#include "RtfStyles.h"

#include "RtfBuild.h"
#include "RtfParaProps.h"
#include "RtfParser.h"
#include "RtfRules.h"
#include "RtfWriting.h"

#include <QTextDocument>

#include <algorithm>
#include <functional>

namespace rtf {

using namespace styleWords;

namespace {

constexpr int MaxStyles = 4096;

// The styles by their kinds and numbers, and each one's formatting as its
// definition states it.
class StyleLookup final : public FamilyState
{
public:
    static constexpr Family Slot = Family::Styles;
    QHash<int, int> byNumber;       // styleKey -> into Document::styles
    std::vector<State> states;      // per style
};

// Character formatting, field by field: each a style states (differs from
// the defaults) and the other.
template <typename Pick>
CharState mergeChars(const CharState &own, const CharState &other, Pick pick)
{
    static const CharState none;
    CharState out = other;
    const auto field = [&](auto member) {
        if (own.*member != none.*member)
            out.*member = pick(own.*member, none.*member);
    };
    const auto styleField = [&](auto member) {
        if (own.style.*member != none.style.*member)
            out.style.*member = pick(own.style.*member, none.style.*member);
    };
    field(&CharState::font);
    field(&CharState::asianFont);
    field(&CharState::complexFont);
    field(&CharState::colour);
    field(&CharState::highlight);
    field(&CharState::background);
    styleField(&CharStyle::halfPoints);
    styleField(&CharStyle::offset);
    styleField(&CharStyle::charStyle);
    styleField(&CharStyle::language);
    styleField(&CharStyle::asianLanguage);
    styleField(&CharStyle::complexLanguage);
    styleField(&CharStyle::underline);
    styleField(&CharStyle::vertical);
    styleField(&CharStyle::bold);
    styleField(&CharStyle::italic);
    styleField(&CharStyle::strike);
    styleField(&CharStyle::doubleStrike);
    styleField(&CharStyle::caps);
    styleField(&CharStyle::smallCaps);
    styleField(&CharStyle::hidden);
    return out;
}

// A child's character formatting over its parent's.
CharState inheritChars(const CharState &parent, const CharState &child)
{
    return mergeChars(child, parent, [](const auto &mine, const auto &) { return mine; });
}

// The formatting a paragraph naming a style starts with, as the common
// readers show it: what the style inherits, but the defaults where the
// style's own definition states something (a writer restates it with the text).
CharState charsFromStyle(const CharState &own, const CharState &inherited)
{
    return mergeChars(own, inherited, [](const auto &, const auto &none) { return none; });
}

int styleKey(StyleDef::Kind kind, int number)
{
    return int(kind) << 24 | (number & 0xFFFFFF);
}

// {\stylesheet{\s1\ql\b\fs32\sbasedon0\snext0 heading 1;}{\*\cs10\additive Default Paragraph Font;}}
// Each entry starts from the defaults; its formatting is read as anywhere else.
class StyleSheetDest final : public Dest
{
public:
    explicit StyleSheetDest(int depth) : m_depth(depth) {}

    bool word(Parser &p, const Keyword *k, const Token &t) override
    {
        if (!k || k->family != Family::Styles || p.depth() != m_depth + 1)
            return false;
        switch (k->id) {
        case ParaStyle: set(StyleDef::Paragraph, t); return true;
        case CharStyleRef: set(StyleDef::Character, t); return true;
        case TableStyle: set(StyleDef::Table, t); return true;
        case SectionStyle: m_skipEntry = true; return true;
        case BasedOn: m_entry.basedOn = t.param; return true;
        case NextStyle: m_entry.next = t.param; return true;
        case Additive: m_entry.additive = true; return true;
        default: return true;
        }
    }

    bool endsAtSemicolon() const override { return true; }
    void semicolon(Parser &p) override { m_named = m_named || p.depth() == m_depth + 1; }

    void text(Parser &p, QStringView s) override
    {
        if (p.depth() == m_depth + 1 && !m_named)
            m_entry.name += s;
    }

    void innerGroupStart(Parser &p) override
    {
        if (p.depth() != m_depth + 1)
            return;
        p.state().chars = CharState {};
        p.state().para = ParaState {};
        m_entry = StyleDef {};
        m_named = false;
        m_skipEntry = false;
    }

    void innerGroupEnd(Parser &p) override
    {
        if (p.depth() != m_depth + 1)
            return;
        m_entry.name = rules::printable(m_entry.name).trimmed();
        Document &doc = p.doc();
        if (m_skipEntry || m_entry.name.isEmpty() || int(doc.styles.size()) >= MaxStyles)
            return;
        State &s = p.state();
        m_entry.para = s.para.props;
        m_entry.para.shading = p.colour(s.para.shading);
        m_entry.para.style = -1;
        m_entry.chars = p.internCharStyle(p.resolve(s.chars));
        const int key = styleKey(m_entry.kind, m_entry.number);
        StyleLookup &lookup = p.family<StyleLookup>();
        if (lookup.byNumber.contains(key))
            return;     // the first definition of a number counts
        lookup.byNumber.insert(key, int(doc.styles.size()));
        lookup.states.push_back(s);
        doc.styles.push_back(m_entry);
    }

private:
    void set(StyleDef::Kind kind, const Token &t)
    {
        m_entry.kind = kind;
        m_entry.number = t.param;
    }

    int m_depth;
    StyleDef m_entry;
    bool m_named = false;
    bool m_skipEntry = false;
};

// Spacing, indents and line spacing of the default paragraph style (\s0)
// are its own: the styles based on it do not take them, as the common
// readers show them.
constexpr quint32 OwnToDefaultStyle = ParaState::ExplicitLeft | ParaState::ExplicitRight | ParaState::ExplicitFirst
                                      | ParaState::ExplicitBefore | ParaState::ExplicitAfter | ParaState::ExplicitLine;

// What a style inherits: its parents' definitions, each completed by its own parent's.
State inherited(Parser &p, int index)
{
    State inherited;
    int parent = index;
    // A chain that comes back on itself ends where it does.
    for (int hops = 0; hops < 32; ++hops) {
        const StyleDef &def = p.doc().styles[size_t(parent)];
        if (def.basedOn < 0 || def.basedOn == def.number)
            break;
        const StyleLookup &lookup = p.family<StyleLookup>();
        const auto it = lookup.byNumber.constFind(styleKey(def.kind, def.basedOn));
        if (it == lookup.byNumber.constEnd() || *it == index)
            break;
        parent = *it;
        const State &up = lookup.states[size_t(parent)];
        ParaState shared = up.para;
        if (p.doc().styles[size_t(parent)].kind == StyleDef::Paragraph && p.doc().styles[size_t(parent)].number == 0)
            shared.explicitProps &= ~OwnToDefaultStyle;
        inheritParagraphStyle(inherited.para, shared);
        inherited.chars = inheritChars(up.chars, inherited.chars);
    }
    return inherited;
}

} // namespace

ParaState paragraphWithStyle(Parser &p, const ParaState &para)
{
    // What a paragraph states wins; the rest comes from its style as the
    // common readers take it.
    ParaState out = para;
    applyParagraphStyle(out, p.family<StyleLookup>().states[size_t(para.style)].para, inherited(p, para.style).para,
                        para.style);
    return out;
}

void stylesWord(Parser &p, int id, const Token &t)
{
    State &state = p.state();
    switch (id) {
    case StyleSheet:
        if (p.mayOpenTable())
            p.open(std::make_unique<StyleSheetDest>(p.depth()));
        break;
    case ParaStyle: {
        // A paragraph style brings its formatting; what the text states after it wins.
        const StyleLookup &lookup = p.family<StyleLookup>();
        const auto it = lookup.byNumber.constFind(styleKey(StyleDef::Paragraph, t.param));
        if (it == lookup.byNumber.constEnd())
            break;
        const State &own = lookup.states[size_t(*it)];
        state.para.style = *it;
        state.para.props.style = *it;
        // Character formatting the text carries across the paragraph mark stays over the style's.
        state.chars = mergeChars(state.chars, charsFromStyle(own.chars, inherited(p, *it).chars),
                                 [](const auto &mine, const auto &) { return mine; });
        break;
    }
    case CharStyleRef: {
        const StyleLookup &lookup = p.family<StyleLookup>();
        const auto it = lookup.byNumber.constFind(styleKey(StyleDef::Character, t.param));
        state.chars.style.charStyle = it == lookup.byNumber.constEnd() ? -1 : *it;
        break;
    }
    default:
        break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

void buildStyles(Builder &b, bool merge)
{
    const Document &model = b.model();
    QTextDocument *doc = b.document();
    QList<StyleRef> sheet = merge ? doc->property(StylesKey).value<QList<StyleRef>>() : QList<StyleRef> {};
    if (model.styles.empty() && merge)
        return;
    const auto nameOf = [&](StyleDef::Kind kind, int number) {
        for (const StyleDef &s : model.styles)
            if (s.kind == kind && s.number == number)
                return s.name;
        return QString();
    };
    for (const StyleDef &s : model.styles) {
        // Styles go by their kinds and names: the first counts, in a paste the document's own.
        if (std::any_of(sheet.begin(), sheet.end(), [&](const StyleRef &r) { return r.name == s.name && r.kind == s.kind; }))
            continue;
        StyleRef ref;
        ref.name = s.name;
        ref.kind = s.kind;
        ref.basedOn = nameOf(s.kind, s.basedOn);
        ref.next = nameOf(s.kind, s.next);
        ref.additive = s.additive && s.kind == StyleDef::Character;     // it says nothing of other styles
        // A character style has no paragraph look, whatever words its definition held.
        ParaProps para = s.kind == StyleDef::Character ? ParaProps {} : s.para;
        para.list = -1;
        ref.block = buildBlockFormat(model, para);
        // A style's own look does not name a character style: it is one.
        QTextCharFormat chars = b.charFormat(s.chars, -1);
        chars.clearProperty(CharStyleNameProperty);
        ref.chars = chars;
        sheet.append(ref);
    }
    doc->setProperty(StylesKey, sheet.isEmpty() ? QVariant() : QVariant::fromValue(sheet));
}

// ---- writing ------------------------------------------------------------------------------------

void writeStyleSheet(Writer &w, RtfOut &out)
{
    // A style comes after the one it is based on: LibreOffice gives a style
    // whose parent it has not yet read no parent at all.
    const QList<StyleRef> read = w.doc().property(StylesKey).value<QList<StyleRef>>();
    QList<StyleRef> sheet;
    sheet.reserve(read.size());
    std::vector<bool> placed(size_t(read.size()), false);
    const std::function<void(qsizetype, int)> place = [&](qsizetype i, int depth) {
        if (placed[size_t(i)])
            return;
        placed[size_t(i)] = true;
        const StyleRef &s = read[i];
        for (qsizetype j = 0; depth < 64 && !s.basedOn.isEmpty() && j < read.size(); ++j)
            if (read[j].kind == s.kind && read[j].name == s.basedOn)
                place(j, depth + 1);
        sheet.append(s);
    };
    for (qsizetype i = 0; i < read.size(); ++i)
        place(i, 0);
    for (const StyleRef &s : std::as_const(sheet))
        w.styleNumber(s.name, s.kind);
    if (sheet.isEmpty())
        return;
    RtfOut *previous = w.redirect(&out);
    out.open();
    out.word("stylesheet");
    for (const StyleRef &s : std::as_const(sheet)) {
        out.newline();
        out.open();
        const int number = w.styleNumber(s.name, s.kind);
        if (s.kind == StyleDef::Character || s.kind == StyleDef::Table) {
            out.star();
            out.word(s.kind == StyleDef::Table ? "ts" : "cs", number);
            if (s.additive)
                out.word("additive");
        } else {
            out.word("s", number);
        }
        if (s.kind != StyleDef::Character) {
            // A table style gives its cells' paragraphs their look, as a paragraph style does.
            QTextBlockFormat block = s.block.toBlockFormat();
            const quint8 off = w.flagsOffInStyle(s.name);
            if (off & Writer::PageBreakBefore)
                block.clearProperty(QTextFormat::PageBreakPolicy);
            if (off & Writer::KeepTogether)
                block.clearProperty(QTextFormat::BlockNonBreakableLines);
            if (off & Writer::KeepWithNext)
                block.clearProperty(KeepWithNextProperty);
            writeParagraphProperties(w, block, false);
        }
        writeRunFormat(w, s.chars.toCharFormat());
        if (!s.basedOn.isEmpty())
            out.word("sbasedon", w.styleNumber(s.basedOn, s.kind));
        if (!s.next.isEmpty())
            out.word("snext", w.styleNumber(s.next, s.kind));
        out.name(s.name);
        out.raw(";");
        out.close();
    }
    out.close();
    out.newline();
    w.redirect(previous);
}

} // namespace rtf
