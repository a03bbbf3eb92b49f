#include "RtfLists.h"

#include "RtfBuild.h"
#include "RtfParser.h"
#include "RtfRules.h"
#include "RtfWriting.h"

#include <QSet>
#include <QTextBlock>
#include <QTextList>

#include <QTextListFormat>

#include <algorithm>

namespace rtf {

using namespace listWords;

namespace {

constexpr int MaxLevels = 9;
constexpr int MaxLists = 4096;
constexpr int PnNumberBase = 0x40000000;    // list numbers made for the older form

// Runs read from a list label (\listtext, \pntext) carry this in place of a
// field: they go when their paragraph names a list.
constexpr int LabelField = -2;

// An old-style list level (\pn), as paragraphs state it.
struct PnDef {
    int level = 10;             // \pnlvlN; 10 = body, 11 = bullet, 12 = continue
    int format = 0;             // as \levelnfc
    int start = 1;
    int indent = 0;
    bool hanging = false;       // \pnhang: the label hangs in the indent
    int font = -1;
    QString before, after;
    friend bool operator==(const PnDef &, const PnDef &) = default;
};

// What the lists family keeps while a file is read: the list instances by
// their \ls numbers, and the older form's definitions as they came.
class ListLookup final : public FamilyState
{
public:
    static constexpr Family Slot = Family::Lists;

    QHash<int, int> byNumber;           // \ls number -> list instance
    int unnumbered = 0;                 // the id given to the first list the file gave none
    std::vector<PnDef> pnDefs;
    std::vector<int> pnInstances;       // per pn definition: its list instance, or -1

    int internPn(const PnDef &def)
    {
        for (size_t i = 0; i < pnDefs.size(); ++i)
            if (pnDefs[i] == def)
                return int(i);
        pnDefs.push_back(def);
        pnInstances.push_back(-1);
        return int(pnDefs.size()) - 1;
    }

    // A list label read as text is not text when the paragraph names a list,
    // also one the file does not define: other readers show no label then.
    void paragraphEnd(Parser &p, Paragraph &paragraph) override
    {
        if (p.state().para.props.list >= 0 || p.doc().paraProps[size_t(paragraph.props)].list >= 0)
            std::erase_if(paragraph.runs, [](const Run &r) { return r.field == LabelField; });
        for (Run &r : paragraph.runs)
            if (r.field == LabelField)
                r.field = -1;
    }

    // Styles name lists by number: the instances are known once the file is read.
    void documentEnd(Parser &p) override
    {
        for (StyleDef &style : p.doc().styles)
            style.para.list = style.para.list >= 0 ? byNumber.value(style.para.list, -1) : -1;
    }
};

// Symbol-font bullets as the Unicode characters they stand for: the
// font's private-use characters, and in a symbol font its letters too.
QString inUnicode(QString text, const QString &face)
{
    const bool symbolFont = face.contains(QLatin1String("Symbol"), Qt::CaseInsensitive)
        || face.contains(QLatin1String("Wingdings"), Qt::CaseInsensitive);
    for (QChar &c : text) {
        if (c.unicode() >= 0xF000 && c.unicode() <= 0xF0FF)
            c = QChar(unicodeBullet(c.unicode()));
        else if (symbolFont && c.unicode() >= 0x20 && c.unicode() < 0x100)     // beyond a byte it is Unicode already
            c = QChar(unicodeBullet(char16_t(0xF000 + (c.unicode() & 0xFF))));
    }
    return text;
}

// {\*\listtable{\list\listtemplateidN{\listlevel\levelnfc0\levelstartat1{\leveltext\'02\'00.;}
// {\levelnumbers\'01;}\fi-360\li720}...{\listname ;}\listidN}}
class ListTableDest final : public Dest
{
public:
    bool word(Parser &p, const Keyword *k, const Token &t) override
    {
        if (!k || k->family != Family::Lists)
            return false;
        const int v = t.hasParam ? t.param : 0;
        switch (k->id) {
        case ListDefinition:
            m_list = ListDef {};
            m_listDepth = p.depth();
            return true;
        case ListLevelGroup:
            if (m_listDepth > 0 && p.depth() == m_listDepth + 1) {
                m_level = ListLevel {};
                m_levelDepth = p.depth();
                p.state().para = ParaState {};
                p.state().chars = CharState {};
            }
            return true;
        case LevelText:
            if (m_levelDepth > 0)
                m_textDepth = p.depth();
            return true;
        case LevelNumbers:
        case ListName:
            if (k->id == ListName)
                m_nameDepth = p.depth();
            else
                p.skipGroup();
            return true;
        case LevelFormat: m_level.format = std::clamp(v, 0, 255); return true;
        case LevelStart: m_level.start = std::clamp(v, 0, 32767); return true;
        case LevelFollow: m_level.follow = std::clamp(v, 0, 2); return true;
        case LevelLegal: m_level.legal = v != 0 || !t.hasParam; return true;
        case LevelNoRestart: m_level.noRestart = v != 0 || !t.hasParam; return true;
        case ListIdWord: m_list.id = v; return true;
        case ListTemplateId: m_list.templateId = v; return true;
        case ListHybrid: m_list.hybrid = true; return true;
        case ListSimple: m_list.hybrid = false; return true;
        default: return true;
        }
    }

    void text(Parser &p, QStringView s) override
    {
        if (m_textDepth > 0 && p.depth() >= m_textDepth)
            m_level.text += s;
        else if (m_nameDepth > 0 && p.depth() >= m_nameDepth)
            m_list.name += s;
    }

    void innerGroupEnd(Parser &p) override
    {
        const int d = p.depth();
        if (d == m_textDepth) {
            m_textDepth = 0;
        } else if (d == m_nameDepth) {
            m_nameDepth = 0;
            m_list.name = rules::printable(m_list.name).trimmed();
            if (m_list.name.endsWith(u';'))
                m_list.name.chop(1);
        } else if (d == m_levelDepth) {
            const State &s = p.state();
            m_level.leftIndent = s.para.props.leftIndent;
            m_level.firstIndent = s.para.props.firstIndent;
            setLevelText(p, m_level, s);
            if (int(m_list.levels.size()) < MaxLevels)
                m_list.levels.push_back(m_level);
            m_levelDepth = 0;
        } else if (d == m_listDepth) {
            m_listDepth = 0;
            if (int(p.doc().lists.size()) < MaxLists)
                p.doc().lists.push_back(std::move(m_list));
        }
    }

    // A list without an id (or with 0) gets the smallest one no list has,
    // as it is written back; overrides without an id mean the first of them.
    void close(Parser &p) override
    {
        auto &lists = p.doc().lists;
        int &unnumbered = p.family<ListLookup>().unnumbered;
        QSet<int> taken;
        for (const ListDef &list : lists)
            taken.insert(list.id);
        int id = 1;
        for (ListDef &list : lists) {
            if (list.id != 0)
                continue;
            while (taken.contains(id))
                ++id;
            list.id = id;
            taken.insert(id);
            if (unnumbered == 0)
                unnumbered = id;
        }
    }

private:
    // The level text after its length, cut to that length; symbol-font
    // bullets become the Unicode characters they stand for, and the text as
    // written is kept with the level's font for writing back.
    static void setLevelText(Parser &p, ListLevel &level, const State &s)
    {
        QString text = level.text;
        if (text.endsWith(u';'))
            text.chop(1);
        if (!text.isEmpty()) {
            const int length = text.at(0).unicode();
            text = text.mid(1, length < 0x20 ? length : -1);
        }
        // Below 9 the characters stand for level numbers; other control
        // characters mean nothing and could not be written back.
        text.removeIf([](QChar c) { return c.unicode() > 8 && c.unicode() < 0x20 && c != u'\t'; });
        const CharStyle style = p.resolve(s.chars);
        level.face = s.chars.font >= 0 && style.face >= 0 ? p.doc().faces.at(style.face) : QString();
        level.written = text;
        text = inUnicode(text, level.face);
        if (level.written == text)
            level.written.clear();
        level.text = text;
    }

    ListDef m_list;
    ListLevel m_level;
    int m_listDepth = 0;
    int m_levelDepth = 0;
    int m_textDepth = 0;
    int m_nameDepth = 0;
};

// {\*\listoverridetable{\listoverride\listidN\listoverridecount0\lsM}}
class ListOverrideTableDest final : public Dest
{
public:
    bool word(Parser &p, const Keyword *k, const Token &t) override
    {
        if (!k || k->family != Family::Lists)
            return false;
        switch (k->id) {
        case ListOverride:
            m_instance = ListInstance {};
            m_listId = 0;
            m_overrideDepth = p.depth();
            m_levels = 0;
            return true;
        case OverrideLevel:
            m_levelDepth = p.depth();
            m_startOverride = false;
            return true;
        case OverrideStart:
            m_startOverride = true;
            return true;
        case LevelStart:
            if (m_levelDepth > 0 && m_startOverride && m_levels < MaxLevels) {
                m_instance.startOverride.resize(size_t(m_levels + 1), -1);
                m_instance.startOverride[size_t(m_levels)] = std::clamp(t.param, 0, 32767);
            }
            return true;
        case ListIdWord: m_listId = t.param; return true;
        case ListNumberWord: m_instance.number = t.param; return true;
        default: return true;
        }
    }

    void innerGroupEnd(Parser &p) override
    {
        if (p.depth() == m_levelDepth) {
            m_levelDepth = 0;
            ++m_levels;
            return;
        }
        if (p.depth() != m_overrideDepth)
            return;
        m_overrideDepth = 0;
        const auto &lists = p.doc().lists;
        ListLookup &lookup = p.family<ListLookup>();
        const int id = m_listId != 0 ? m_listId : lookup.unnumbered;
        const auto it = std::find_if(lists.begin(), lists.end(), [&](const ListDef &l) { return l.id == id && id != 0; });
        if (it == lists.end() || it->levels.empty() || lookup.byNumber.contains(m_instance.number))
            return;     // an override that points nowhere or to a list without levels, or a number given twice
        m_instance.list = int(it - lists.begin());
        lookup.byNumber.insert(m_instance.number, int(p.doc().listInstances.size()));
        p.doc().listInstances.push_back(m_instance);
    }

private:
    ListInstance m_instance;
    int m_listId = 0;
    int m_overrideDepth = 0;
    int m_levelDepth = 0;
    int m_levels = 0;
    bool m_startOverride = false;
};

// {\*\pn\pnlvlbody\pndec\pnstart1\pnindent360{\pntxta .}}: one level of an
// older list, made a list of its own when first seen.
class PnDest final : public Dest
{
public:
    bool word(Parser &p, const Keyword *k, const Token &t) override
    {
        if (!k || k->family != Family::Lists)
            return false;
        switch (k->id) {
        case PnLevel: m_def.level = std::clamp(t.param, 1, 9); break;
        case PnLevelBody: m_def.level = 10; break;
        case PnLevelBullet: m_def.level = 11; m_def.format = 23; break;
        case PnLevelContinue: m_def.level = 12; break;
        case PnDecimal: m_def.format = 0; break;
        case PnUpperRoman: m_def.format = 1; break;
        case PnLowerRoman: m_def.format = 2; break;
        case PnUpperLetter: m_def.format = 3; break;
        case PnLowerLetter: m_def.format = 4; break;
        case PnStart: m_def.start = std::clamp(t.param, 0, 32767); break;
        case PnIndent: m_def.indent = std::clamp(t.param, -rules::MaxLength, rules::MaxLength); break;
        case PnHang: m_def.hanging = true; break;
        case PnFont: m_def.font = t.param; m_fontFace = p.resolve(CharState {CharStyle {}, t.param, 0, 0, 0}).face; break;
        case PnTextBefore: m_target = &m_def.before; m_textDepth = p.depth(); break;
        case PnTextAfter: m_target = &m_def.after; m_textDepth = p.depth(); break;
        default: break;
        }
        return true;
    }

    void text(Parser &p, QStringView s) override
    {
        if (m_target && p.depth() >= m_textDepth)
            *m_target += s;
    }

    void innerGroupEnd(Parser &p) override
    {
        if (p.depth() == m_textDepth) {
            m_target = nullptr;
            m_textDepth = 0;
        }
    }

    void close(Parser &p) override
    {
        if (m_def.level == 12)
            return;     // a paragraph continuing a list item without a number of its own
        const QString face = m_fontFace >= 0 ? p.doc().faces.at(m_fontFace) : QString();
        const QString writtenBefore = rules::printable(m_def.before);
        for (QString *s : {&m_def.before, &m_def.after})
            *s = inUnicode(rules::printable(*s), face);
        ListLookup &lookup = p.family<ListLookup>();
        const int index = lookup.internPn(m_def);
        int &instance = lookup.pnInstances[size_t(index)];
        if (instance < 0) {
            ListLevel level;
            level.format = m_def.format;
            level.start = m_def.start;
            level.leftIndent = m_def.indent;
            level.firstIndent = m_def.hanging ? -m_def.indent : 0;
            level.text = m_def.format == 23 ? (m_def.before.isEmpty() ? QStringLiteral("\u2022") : m_def.before)
                                            : m_def.before + QChar(0) + m_def.after;
            if (m_def.format == 23 && !m_def.before.isEmpty() && writtenBefore != m_def.before)
                level.written = writtenBefore;      // a symbol font's bullet, written back in its font
            level.face = face;
            ListDef list;
            list.id = PnNumberBase + index;
            list.hybrid = false;
            list.levels.assign(size_t(MaxLevels), level);
            p.doc().lists.push_back(list);
            ListInstance inst;
            inst.number = PnNumberBase + index;
            inst.list = int(p.doc().lists.size()) - 1;
            instance = int(p.doc().listInstances.size());
            lookup.byNumber.insert(inst.number, instance);
            p.doc().listInstances.push_back(inst);
        }
        ParaProps &outer = p.parentState().para.props;
        if (outer.list < 0) {
            outer.list = PnNumberBase + index;
            outer.level = m_def.level <= 9 ? m_def.level - 1 : 0;
        }
    }

private:
    PnDef m_def;
    int m_fontFace = -1;
    QString *m_target = nullptr;
    int m_textDepth = 0;
};

} // namespace

int listInstance(Parser &p, int number)
{
    return p.family<ListLookup>().byNumber.value(number, -1);
}

char16_t unicodeBullet(char16_t c)
{
    switch (c) {
    case 0xF0B7: return 0x2022;     // Symbol: bullet
    case 0xF0A7: return 0x25AA;     // Wingdings: small square
    case 0xF0D8: return 0x27A2;     // Wingdings: arrowhead
    case 0xF076: return 0x2756;     // Wingdings: diamond
    case 0xF0FC: return 0x2714;     // Wingdings: check mark
    case 0xF06E: return 0x25A0;     // Wingdings: black square
    case 0xF06F: return 0x25A1;     // Wingdings: white square
    case 0xF0A8: return 0x25CB;     // Wingdings: circle
    default: return c >= 0xF020 && c <= 0xF0FF ? char16_t(0x2022) : c;
    }
}

void listsWord(Parser &p, int id, const Token &t)
{
    State &s = p.state();
    switch (id) {
    case ListTable:
        if (p.mayOpenTable())
            p.open(std::make_unique<ListTableDest>());
        break;
    case ListOverrideTable:
        if (p.mayOpenTable())
            p.open(std::make_unique<ListOverrideTableDest>());
        break;
    case ListNumberWord:
        s.para.props.list = t.param;
        s.para.explicitProps |= ParaState::ExplicitList;
        break;
    case ListLevelWord:
        s.para.props.level = std::clamp(t.param, 0, MaxLevels - 1);
        s.para.explicitProps |= ParaState::ExplicitList;
        break;
    case ListText:
    case PnText:
        // The label is text for readers without lists; it is dropped again
        // when the paragraph turns out to be in a list.
        if (p.mayOpenInText())
            s.field = LabelField;
        else
            p.skipGroup();
        break;
    case Pn:
        if (p.nested())
            p.open(std::make_unique<PnDest>());
        break;
    default:
        break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

namespace {

QTextListFormat::Style qtStyle(const ListLevel &level)
{
    switch (level.format) {
    case 0: return QTextListFormat::ListDecimal;
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 255: return QTextListFormat::ListStyleUndefined;
    case 23: {
        // Qt draws three bullets; the nearest one stands in for the file's.
        const QString text = level.text.trimmed();
        const char16_t c = text.isEmpty() ? u'\x2022' : text.at(0).unicode();
        if (c == u'o' || c == 0x25E6 || c == 0x25CB || c == 0x25A1)
            return QTextListFormat::ListCircle;
        if (c == 0x25AA || c == 0x25A0 || c == 0x00A7)
            return QTextListFormat::ListSquare;
        return QTextListFormat::ListDisc;
    }
    default: return QTextListFormat::ListDecimal;
    }
}

} // namespace

ListDefinitionRef definitionRef(const ListDef &def)
{
    ListDefinitionRef ref;
    ref.id = def.id;
    ref.templateId = def.templateId;
    ref.hybrid = def.hybrid;
    for (const ListLevel &l : def.levels)
        ref.levels.append(ListLevelRef {l.format, l.start, l.leftIndent, l.firstIndent, l.follow, l.legal, l.noRestart,
                                        l.text, l.written, l.face});
    // A list has nine levels; those a file left out are read as its last.
    while (!ref.levels.isEmpty() && ref.levels.size() < MaxLevels)
        ref.levels.append(ref.levels.back());
    return ref;
}

QTextListFormat buildListFormat(const Document &model, const ParaProps &p)
{
    const ListInstance &instance = model.listInstances[size_t(p.list)];
    const ListDef &def = model.lists[size_t(instance.list)];
    ListLevel level;
    if (size_t(p.level) < def.levels.size())
        level = def.levels[size_t(p.level)];
    else if (!def.levels.empty())
        level = def.levels.back();
    int start = level.start;
    if (size_t(p.level) < instance.startOverride.size() && instance.startOverride[size_t(p.level)] >= 0)
        start = instance.startOverride[size_t(p.level)];

    QTextListFormat f;
    f.setStyle(qtStyle(level));
    f.setIndent(0);     // the paragraph's own indents place it
    // Qt shows a level's own number: the text around its placeholder, up to
    // the placeholders of other levels, comes before and after it.
    const QChar own(char16_t(p.level));
    const qsizetype at = level.text.indexOf(own);
    f.setNumberPrefix(QString());
    f.setNumberSuffix(QString());
    if (level.format != 23 && at >= 0) {
        QString before = level.text.first(at);
        if (std::any_of(before.begin(), before.end(), [](QChar c) { return c.unicode() < 9; }))
            before.clear();
        QString after = level.text.mid(at + 1);
        const qsizetype next = std::find_if(after.begin(), after.end(), [](QChar c) { return c.unicode() < 9; })
            - after.begin();
        after.truncate(next);
        f.setNumberPrefix(before);
        f.setNumberSuffix(after);
    }
    f.setProperty(ListNumberProperty, instance.number);
    f.setProperty(ListLevelProperty, p.level);
    f.setProperty(ListFormatProperty, level.format);
    f.setProperty(ListLevelTextProperty, level.text);
    f.setProperty(ListStartProperty, start);
    f.setProperty(ListLevelIndentProperty, QVariant::fromValue(ListIndentRef {level.leftIndent, level.firstIndent, level.follow}));
    if (!def.levels.empty())
        f.setProperty(ListDefinitionProperty, QVariant::fromValue(definitionRef(def)));
    return f;
}

// ---- writing ------------------------------------------------------------------------------------

namespace {

int formatCode(const QTextListFormat &f)
{
    if (f.hasProperty(ListFormatProperty))
        return f.intProperty(ListFormatProperty);
    switch (f.style()) {
    case QTextListFormat::ListDecimal: return 0;
    case QTextListFormat::ListUpperRoman: return 1;
    case QTextListFormat::ListLowerRoman: return 2;
    case QTextListFormat::ListUpperAlpha: return 3;
    case QTextListFormat::ListLowerAlpha: return 4;
    case QTextListFormat::ListStyleUndefined: return 255;
    default: return 23;
    }
}

// The level's text as the list table holds it: its characters below 9 stand
// for the numbers of the levels.
QString levelText(const QTextListFormat &f, int level)
{
    if (f.hasProperty(ListLevelTextProperty))
        return f.stringProperty(ListLevelTextProperty);
    switch (f.style()) {
    case QTextListFormat::ListDisc: return QStringLiteral("\u2022");
    case QTextListFormat::ListCircle: return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare: return QStringLiteral("\u25AA");
    case QTextListFormat::ListStyleUndefined: return QString();
    default: break;
    }
    const QString suffix = f.hasProperty(QTextFormat::ListNumberSuffix) ? f.numberSuffix() : QStringLiteral(".");
    return f.numberPrefix() + QChar(char16_t(level)) + suffix;
}

Writer::ListEntry *findList(Writer &w, int number, int level)
{
    for (Writer::ListEntry &e : w.lists())
        if (e.number == number && e.level == level)
            return &e;
    return nullptr;
}

} // namespace

void writeListLabel(Writer &w, const QTextBlock &block, bool withLabel)
{
    QTextList *list = block.textList();
    if (!list)
        return;
    const QTextListFormat f = list->format();
    const int level = std::clamp(f.hasProperty(ListLevelProperty) ? f.intProperty(ListLevelProperty) : f.indent() - 1,
                                 0, MaxLevels - 1);
    // Lists are numbered 1, 2, ... in the order they come: the file's own
    // numbers may be beyond what other readers take. Levels of one list of
    // the file share its number.
    const int source = f.intProperty(ListNumberProperty);
    int number = 0;
    int highest = 0;
    for (const Writer::ListEntry &e : w.lists()) {
        highest = std::max(highest, e.number);
        if ((source > 0 && e.source == source) || e.list == list)
            number = e.number;
    }
    if (number == 0)
        number = highest + 1;
    if (!findList(w, number, level))
        w.lists().push_back(Writer::ListEntry {number, level, list, source});

    RtfOut &out = w.out();
    out.word("ls", number);
    out.word("ilvl", level);
    if (!withLabel)
        return;
    QString label;
    if (formatCode(f) == 23 || formatCode(f) == 255) {
        label = levelText(f, level);
        label.removeIf([](QChar c) { return c.unicode() < 9; });
    } else {
        label = list->itemText(block);
    }
    out.open();
    out.word("listtext");
    // The label takes the look of the paragraph's first characters.
    const auto first = block.begin();
    writeRunFormat(w, first.atEnd() ? block.charFormat() : first.fragment().charFormat());
    out.text(label);
    out.word("tab");
    out.close();
}

namespace {

// A list definition as it is written: the levels used by the document's
// paragraphs as they stand, the others as the file defined them.
struct DefinitionOut {
    int id = 0;
    ListDefinitionRef ref;
    std::vector<int> numbers;       // the \ls numbers that are instances of it
};

ListDefinitionRef definitionOf(Writer &w, int number)
{
    for (int level = 0; level < MaxLevels; ++level)
        if (const Writer::ListEntry *e = findList(w, number, level))
            if (const QVariant v = e->list->format().property(ListDefinitionProperty); v.isValid())
                return v.value<ListDefinitionRef>();
    return {};
}

// A level as written: from the paragraphs' list when one uses it.
ListLevelRef levelOut(const DefinitionOut &def, const Writer::ListEntry *used, const Writer::ListEntry *any, int level)
{
    const ListLevelRef *defined = level < def.ref.levels.size() ? &def.ref.levels[level] : nullptr;
    ListLevelRef out;
    if (!used && defined)
        return *defined;
    const QTextListFormat f = (used ? used : any)->list->format();
    out.format = formatCode(f);
    out.text = levelText(f, level);
    out.start = f.hasProperty(ListStartProperty) ? f.intProperty(ListStartProperty) : 1;
    const QVariant indent = f.property(ListLevelIndentProperty);
    if (used && indent.metaType() == QMetaType::fromType<ListIndentRef>()) {
        const ListIndentRef kept = indent.value<ListIndentRef>();
        out.leftIndent = kept.left;
        out.firstIndent = kept.first;
        out.follow = kept.follow;
    } else {
        // A level no paragraph uses, or one made here: the usual steps.
        out.leftIndent = 720 * (level + 1);
        out.firstIndent = -360;
        out.follow = 0;
    }
    if (!used) {
        if (out.format != 23)
            out.text = QString(QChar(char16_t(level))) + u'.';
        out.start = 1;
    }
    if (defined) {
        // The definition's start holds for the list; an instance's own is an override.
        out.start = defined->start;
        out.legal = defined->legal;
        out.noRestart = defined->noRestart;
        if (defined->text == out.text) {
            out.written = defined->written;
            out.face = defined->face;
        }
    }
    return out;
}

void writeLevel(Writer &w, RtfOut &out, const ListLevelRef &level)
{
    out.open();
    out.word("listlevel");
    out.word("levelnfc", level.format);
    out.word("levelnfcn", level.format);
    out.word("leveljc", 0);
    out.word("leveljcn", 0);
    out.word("levelfollow", level.follow);
    out.word("levelstartat", level.start);
    if (level.legal)
        out.word("levellegal", 1);
    if (level.noRestart)
        out.word("levelnorestart", 1);
    const QString &text = level.written.isEmpty() ? level.text : level.written;
    out.open();
    out.word("leveltext");
    out.hexByte(quint8(std::min<qsizetype>(text.size(), 255)));
    QString numbers;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 9) {
            out.hexByte(quint8(c));
            numbers += QChar(char16_t(i + 1));
        } else {
            out.text(text.sliced(i, 1));
        }
    }
    out.raw(";");
    out.close();
    out.open();
    out.word("levelnumbers");
    for (QChar n : std::as_const(numbers))
        out.hexByte(quint8(n.unicode()));
    out.raw(";");
    out.close();
    if (!level.face.isEmpty())
        out.word("f", w.face(level.face));
    out.word("fi", level.firstIndent);
    out.word("li", level.leftIndent);
    out.close();
}

} // namespace

void writeListTables(Writer &w, RtfOut &out)
{
    std::vector<int> numbers;
    for (const Writer::ListEntry &e : w.lists())
        if (std::find(numbers.begin(), numbers.end(), e.number) == numbers.end())
            numbers.push_back(e.number);
    if (numbers.empty())
        return;
    // Instances of one definition of the file share it, and with it their numbering.
    std::vector<DefinitionOut> defs;
    for (int number : numbers) {
        const ListDefinitionRef ref = definitionOf(w, number);
        auto it = std::find_if(defs.begin(), defs.end(), [&](const DefinitionOut &d) {
            return ref.id != 0 && d.ref.id == ref.id && d.ref == ref;
        });
        if (it == defs.end()) {
            int id = ref.id;
            const auto taken = [&](int candidate) {
                return std::any_of(defs.begin(), defs.end(), [&](const DefinitionOut &d) { return d.id == candidate; });
            };
            if (id == 0 || taken(id))
                id = 1000 + number;
            while (taken(id))
                ++id;
            defs.push_back(DefinitionOut {id, ref, {}});
            it = defs.end() - 1;
        }
        it->numbers.push_back(number);
    }

    RtfOut *previous = w.redirect(&out);
    out.open();
    out.star();
    out.word("listtable");
    for (const DefinitionOut &def : defs) {
        out.newline();
        out.open();
        out.word("list");
        if (def.ref.templateId)
            out.word("listtemplateid", def.ref.templateId);
        if (def.ref.id == 0 || def.ref.hybrid)
            out.word("listhybrid");
        // Levels no paragraph uses follow the first used one's kind, where the file did not define them.
        const Writer::ListEntry *any = nullptr;
        for (int level = 0; level < MaxLevels && !any; ++level)
            for (int number : def.numbers)
                if (!any)
                    any = findList(w, number, level);
        for (int level = 0; level < MaxLevels; ++level) {
            const Writer::ListEntry *used = nullptr;
            for (int number : def.numbers)
                if (!used)
                    used = findList(w, number, level);
            writeLevel(w, out, levelOut(def, used, any, level));
        }
        out.open();
        out.word("listname");
        out.raw(" ;");
        out.close();
        out.word("listid", def.id);
        out.close();
    }
    out.close();
    out.newline();
    out.open();
    out.star();
    out.word("listoverridetable");
    for (const DefinitionOut &def : defs) {
        for (int number : def.numbers) {
            // An instance that starts a level elsewhere than its definition says so.
            std::vector<int> starts(size_t(MaxLevels), -1);
            int last = -1;
            for (int level = 0; level < MaxLevels; ++level) {
                const Writer::ListEntry *e = findList(w, number, level);
                if (!e || !e->list->format().hasProperty(ListStartProperty))
                    continue;
                const int start = e->list->format().intProperty(ListStartProperty);
                const int defined = level < def.ref.levels.size() ? def.ref.levels[level].start : start;
                if (start != defined) {
                    starts[size_t(level)] = start;
                    last = level;
                }
            }
            out.open();
            out.word("listoverride");
            out.word("listid", def.id);
            const int count = last < 0 ? 0 : last == 0 ? 1 : MaxLevels;
            out.word("listoverridecount", count);
            for (int level = 0; level < count; ++level) {
                out.open();
                out.word("lfolevel");
                if (starts[size_t(level)] >= 0) {
                    out.word("listoverridestartat");
                    out.word("levelstartat", starts[size_t(level)]);
                }
                out.close();
            }
            out.word("ls", number);
            out.close();
        }
    }
    out.close();
    out.newline();
    w.redirect(previous);
}

} // namespace rtf
