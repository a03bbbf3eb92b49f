// Styles: font faces, common and automatic styles, default styles, and the
// looks of paragraphs and runs resolved along their parent chains.

#include "OdtContext.h"

#include "platform/rtf/RtfRules.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace odt {

namespace {

constexpr int MaxChain = 64;
constexpr int MaxStyles = 4096;

QString key(QStringView family, QStringView name)
{
    QString k;
    k.reserve(family.size() + name.size() + 1);
    k += family;
    k += u'\n';
    k += name;
    return k;
}

// Shorthands first, so that a side stated on its own wins over them.
void readProps(const XmlReader &x, Props &into)
{
    const QXmlStreamAttributes attrs = x.attributes();
    for (int pass = 0; pass < 2; ++pass) {
        for (const QXmlStreamAttribute &a : attrs) {
            const Ns ns = nsOf(a.namespaceUri());
            if (ns == Ns::Other)
                continue;
            const QStringView name = a.name();
            const bool shorthand = ns == Ns::Fo && (name == u"margin" || name == u"padding" || name == u"border");
            if (shorthand != (pass == 0))
                continue;
            const QString value = a.value().toString();
            if (shorthand) {
                for (const char *side : {"-left", "-right", "-top", "-bottom"})
                    into.insert(QStringLiteral("fo:") + name.toString() + QLatin1StringView(side), value);
                continue;
            }
            into.insert(prefixOf(ns) + u':' + name.toString(), value);
        }
    }
}

std::vector<rtf::TabStop> readTabStops(XmlReader &x)
{
    std::vector<rtf::TabStop> stops;
    children(x, [&] {
        if (!is(x, Ns::Style, QLatin1StringView("tab-stop")) || stops.size() >= 64) {
            skip(x);
            return;
        }
        rtf::TabStop t;
        t.position = twips(attr(x, Ns::Style, QLatin1StringView("position"))).value_or(0);
        const QStringView type = attr(x, Ns::Style, QLatin1StringView("type"));
        if (type == u"right")
            t.kind = rtf::TabKind::Right;
        else if (type == u"center")
            t.kind = rtf::TabKind::Center;
        else if (type == u"char")
            t.kind = rtf::TabKind::Decimal;
        const QStringView leader = attr(x, Ns::Style, QLatin1StringView("leader-text")).trimmed();
        const QStringView leaderStyle = attr(x, Ns::Style, QLatin1StringView("leader-style"));
        if (leader == u"-")
            t.leader = rtf::TabLeader::Hyphen;
        else if (leader == u"_")
            t.leader = rtf::TabLeader::Underline;
        else if (leader == u"=")
            t.leader = rtf::TabLeader::Equal;
        else if (leader == u"\u00B7")
            t.leader = rtf::TabLeader::MiddleDot;
        else if (leader == u"." || (leader.isEmpty() && leaderStyle == u"dotted"))
            t.leader = rtf::TabLeader::Dot;
        else if (leader.isEmpty() && (leaderStyle == u"dash" || leaderStyle == u"long-dash"))
            t.leader = rtf::TabLeader::Hyphen;
        else if (leader.isEmpty() && leaderStyle == u"solid")
            t.leader = rtf::TabLeader::Underline;
        stops.push_back(t);
        skip(x);
    });
    return stops;
}

const QString LineHeight = QStringLiteral("fo:line-height");
const QString LineAtLeast = QStringLiteral("style:line-height-at-least");
const QString LineLeading = QStringLiteral("style:line-spacing");
const QString FontSize = QStringLiteral("fo:font-size");
const QString Color = QStringLiteral("fo:color");
const QString WindowColor = QStringLiteral("style:use-window-font-color");
const QString FontName = QStringLiteral("style:font-name");
const QString FontFamily = QStringLiteral("fo:font-family");

// Later layers win; one kind of line spacing replaces the others, and a
// size in percent is of the size beneath it.
void merge(Props &into, const Props &from)
{
    for (auto it = from.cbegin(); it != from.cend(); ++it) {
        const QString &k = it.key();
        QString value = it.value();
        if (k == LineHeight || k == LineAtLeast || k == LineLeading) {
            into.remove(LineHeight);
            into.remove(LineAtLeast);
            into.remove(LineLeading);
        } else if (k == FontSize) {
            if (const auto pct = percent(value)) {
                const auto base = into.contains(FontSize) ? points(into.value(FontSize)) : std::optional<double>(12.0);
                if (base)
                    value = QString::number(*base * *pct / 100, 'f', 4) + QStringLiteral("pt");
            }
        }
        into.insert(k, value);
    }
    // A face or colour stated one way replaces one stated the other way beneath.
    if (from.contains(FontName) != from.contains(FontFamily))
        into.remove(from.contains(FontName) ? FontFamily : FontName);
    if (from.value(WindowColor) == u"true")
        into.remove(Color);
    else if (from.contains(Color))
        into.remove(WindowColor);
}

bool on(const Props &p, const QString &k, QStringView value)
{
    return p.value(k) == value;
}

rtf::ParaProps convertPara(const Props &p)
{
    rtf::ParaProps out;
    const QString align = p.value(QStringLiteral("fo:text-align"));
    if (align == u"end" || align == u"right")
        out.align = rtf::Align::Right;
    else if (align == u"center")
        out.align = rtf::Align::Center;
    else if (align == u"justify")
        out.align = rtf::Align::Justify;
    const auto length = [&](const char *name) {
        return twips(p.value(QLatin1StringView(name))).value_or(0);
    };
    out.leftIndent = length("fo:margin-left");
    out.rightIndent = length("fo:margin-right");
    out.firstIndent = length("fo:text-indent");
    out.spaceBefore = std::max(0, length("fo:margin-top"));
    out.spaceAfter = std::max(0, length("fo:margin-bottom"));
    if (const QString h = p.value(LineHeight); !h.isEmpty()) {
        if (const auto pct = percent(h)) {
            if (std::abs(*pct - 100) > 0.01 && *pct > 0) {
                out.lineSpacing = int(std::lround(std::min(*pct, 1000.0) * 2.4));
                out.lineMultiple = true;
            }
        } else if (const auto tw = twips(h); tw && *tw > 0) {
            out.lineSpacing = -*tw;
        }
    } else if (const auto tw = twips(p.value(LineAtLeast)); tw && *tw > 0) {
        out.lineSpacing = *tw;
    }
    out.pageBreakBefore = on(p, QStringLiteral("fo:break-before"), u"page");
    out.keepTogether = on(p, QStringLiteral("fo:keep-together"), u"always");
    out.keepWithNext = on(p, QStringLiteral("fo:keep-with-next"), u"always");
    out.widowControl = p.value(QStringLiteral("fo:widows")).toInt() > 0 || p.value(QStringLiteral("fo:orphans")).toInt() > 0;
    if (const auto c = colour(p.value(QStringLiteral("fo:background-color"))))
        out.shading = rtf::Colour {*c, true};
    const QString mode = p.value(QStringLiteral("style:writing-mode"));
    out.rightToLeft = mode == u"rl-tb" || mode == u"rl";
    return out;
}

} // namespace

Context::Context(rtf::Document &d, const package::Parts *p) : doc(d), parts(p)
{
    internPara(rtf::ParaProps {});     // the model's paragraph look 0: the plain one
}

void Context::readFontFaces(XmlReader &x)
{
    children(x, [&] {
        if (is(x, Ns::Style, QLatin1StringView("font-face"))) {
            QString family = attrString(x, Ns::Svg, QLatin1StringView("font-family")).trimmed();
            const QString name = attrString(x, Ns::Style, QLatin1StringView("name"));
            if (family.size() >= 2 && (family.front() == u'\'' || family.front() == u'"') && family.back() == family.front())
                family = family.sliced(1, family.size() - 2);
            if (fontFaces.size() < MaxStyles)
                fontFaces.insert(name, family.isEmpty() ? name : family);
        }
        skip(x);
    });
}

void Context::readStyles(XmlReader &x, Pool into)
{
    children(x, [&] {
        const bool plain = is(x, Ns::Style, QLatin1StringView("style"));
        const bool fallback = is(x, Ns::Style, QLatin1StringView("default-style"));
        if (is(x, Ns::Text, QLatin1StringView("list-style"))) {
            readListStyle(x, into);
            return;
        }
        if (is(x, Ns::Text, QLatin1StringView("outline-style"))) {
            readListStyle(x, into, &outline);
            return;
        }
        if (is(x, Ns::Style, QLatin1StringView("page-layout"))) {
            readPageLayout(x);
            return;
        }
        if (!plain && !fallback) {
            skip(x);
            return;
        }
        StyleEntry e;
        e.pool = into;
        e.name = attrString(x, Ns::Style, QLatin1StringView("name"));
        e.display = attrString(x, Ns::Style, QLatin1StringView("display-name"));
        e.family = attrString(x, Ns::Style, QLatin1StringView("family"));
        e.parent = attrString(x, Ns::Style, QLatin1StringView("parent-style-name"));
        e.listStyle = attrString(x, Ns::Style, QLatin1StringView("list-style-name"));
        e.master = attrString(x, Ns::Style, QLatin1StringView("master-page-name"));
        e.next = attrString(x, Ns::Style, QLatin1StringView("next-style-name"));
        e.outlineLevel = std::clamp(attr(x, Ns::Style, QLatin1StringView("default-outline-level")).toInt(), 0, 10);
        children(x, [&] {
            if (nsOf(x.namespaceUri()) != Ns::Style) {
                skip(x);
                return;
            }
            const QStringView n = x.name();
            Props *target = n == u"text-properties" ? &e.text
                : n == u"paragraph-properties" ? &e.para
                : n == u"table-properties" ? &e.table
                : n == u"table-column-properties" ? &e.column
                : n == u"table-row-properties" ? &e.row
                : n == u"table-cell-properties" ? &e.cell : nullptr;
            if (!target) {
                skip(x);
                return;
            }
            readProps(x, *target);
            if (target != &e.para) {
                skip(x);
                return;
            }
            if (const auto d = twips(attr(x, Ns::Style, QLatin1StringView("tab-stop-distance"))); d && fallback)
                defaultTabStop = std::max(0, *d);
            children(x, [&] {
                if (is(x, Ns::Style, QLatin1StringView("tab-stops"))) {
                    e.tabs = readTabStops(x);
                    e.hasTabs = true;
                } else {
                    skip(x);
                }
            });
        });
        if (fallback) {
            defaults.insert(e.family, std::move(e));
            return;
        }
        auto &table = styles[into];
        if (!e.name.isEmpty() && table.size() < MaxStyles * 16 && !table.contains(key(e.family, e.name)))
            table.insert(key(e.family, e.name), std::move(e));
    });
}

const StyleEntry *Context::style(QStringView family, QStringView name, Pool in) const
{
    if (name.isEmpty())
        return nullptr;
    const QString k = key(family, name);
    if (in != Common) {
        const auto it = styles[in].constFind(k);
        if (it != styles[in].constEnd())
            return &*it;
    }
    const auto it = styles[Common].constFind(k);
    return it == styles[Common].constEnd() ? nullptr : &*it;
}

namespace {

// The style and its parents, the most specific first; a loop or a missing
// parent ends the chain.
std::vector<const StyleEntry *> chainOf(const Context &c, QStringView family, QStringView name, Pool pool)
{
    std::vector<const StyleEntry *> chain;
    QSet<QString> seen;
    const StyleEntry *s = c.style(family, name, pool);
    while (s && chain.size() < size_t(MaxChain) && !seen.contains(s->name)) {
        seen.insert(s->name);
        chain.push_back(s);
        // A parent is a common style, never an automatic one.
        s = c.style(family, s->parent, Common);
    }
    return chain;
}

Props mergedProps(const Context &c, QStringView family, QStringView name, Pool pool, Props StyleEntry::*member,
                  bool withDefault)
{
    Props out;
    if (withDefault) {
        const auto d = c.defaults.constFind(family.toString());
        if (d != c.defaults.constEnd())
            merge(out, (*d).*member);
    }
    const auto chain = chainOf(c, family, name, pool);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        merge(out, (**it).*member);
    return out;
}

} // namespace

int Context::paraLook(QStringView name)
{
    const QString cacheKey = QString::number(int(pool)) + u'\n' + name.toString();
    if (const auto it = m_paraLookIds.constFind(cacheKey); it != m_paraLookIds.constEnd())
        return *it;
    const QString family = QStringLiteral("paragraph");
    const auto chain = chainOf(*this, family, name, pool);
    ParaLook look;
    const Props para = mergedProps(*this, family, name, pool, &StyleEntry::para, true);
    TextLook text;
    text.props = mergedProps(*this, family, name, pool, &StyleEntry::text, true);
    look.props = convertPara(para);
    look.breakAfter = para.value(QStringLiteral("fo:break-after")) == u"page";
    bool tabs = false;
    for (const StyleEntry *s : chain) {
        if (!tabs && s->hasTabs) {
            look.tabs = s->tabs;
            tabs = true;
        }
        if (look.listStyle.isEmpty())
            look.listStyle = s->listStyle;
        if (look.master.isEmpty())
            look.master = s->master;
        if (!look.outlineLevel)
            look.outlineLevel = s->outlineLevel;
    }
    if (!chain.empty() && chain.front()->pool != Common) {
        look.ownLeft = chain.front()->para.contains(QStringLiteral("fo:margin-left"));
        look.ownFirst = chain.front()->para.contains(QStringLiteral("fo:text-indent"));
    }
    for (const StyleEntry *s : chain) {
        if (s->pool == Common) {
            look.props.style = styleDef(styles[Common][key(family, s->name)]);
            break;
        }
    }
    textLooks.push_back(std::move(text));
    look.text = int(textLooks.size()) - 1;
    paraLooks.push_back(std::move(look));
    const int id = int(paraLooks.size()) - 1;
    m_paraLookIds.insert(cacheKey, id);
    return id;
}

int Context::spanLook(int parent, QStringView name)
{
    if (name.isEmpty())
        return parent;
    const QString cacheKey = QString::number(parent) + u'\n' + QString::number(int(pool)) + u'\n' + name.toString();
    if (const auto it = m_spanLookIds.constFind(cacheKey); it != m_spanLookIds.constEnd())
        return *it;
    const QString family = QStringLiteral("text");
    TextLook look;
    look.props = textLooks[size_t(parent)].props;
    look.charStyleDef = textLooks[size_t(parent)].charStyleDef;
    const auto chain = chainOf(*this, family, name, pool);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        merge(look.props, (*it)->text);
    for (const StyleEntry *s : chain) {
        if (s->pool == Common) {
            look.charStyleDef = styleDef(styles[Common][key(family, s->name)]);
            break;
        }
    }
    textLooks.push_back(std::move(look));
    const int id = int(textLooks.size()) - 1;
    m_spanLookIds.insert(cacheKey, id);
    return id;
}

namespace {

rtf::CharStyle convertText(Context &c, const Props &p)
{
    rtf::CharStyle s;
    QString face = p.value(QStringLiteral("style:font-name"));
    if (!face.isEmpty()) {
        face = c.fontFaces.value(face, face);
    } else {
        face = p.value(QStringLiteral("fo:font-family")).section(u',', 0, 0).trimmed();
        face.remove(u'\'');
        face.remove(u'"');
    }
    if (!face.isEmpty())
        s.face = c.internFace(rtf::rules::printable(face).trimmed());
    if (const QString size = p.value(FontSize); !size.isEmpty()) {
        const auto pt = points(size);
        const auto pct = percent(size);
        const double value = pt ? *pt : pct ? 12 * *pct / 100 : 12;
        s.halfPoints = std::clamp(int(std::lround(value * 2)), 2, rtf::rules::MaxHalfPoints);
    }
    if (p.value(WindowColor) != u"true") {
        if (const auto col = colour(p.value(Color)))
            s.colour = rtf::Colour {*col, true};
    }
    if (const auto bg = colour(p.value(QStringLiteral("fo:background-color"))))
        s.highlight = rtf::Colour {*bg, true};
    const QString weight = p.value(QStringLiteral("fo:font-weight"));
    s.bold = weight == u"bold" || weight.toInt() >= 600;
    const QString slant = p.value(QStringLiteral("fo:font-style"));
    s.italic = slant == u"italic" || slant == u"oblique";
    const QString under = p.value(QStringLiteral("style:text-underline-style"));
    if (!under.isEmpty() && under != u"none") {
        const QString width = p.value(QStringLiteral("style:text-underline-width"));
        if (p.value(QStringLiteral("style:text-underline-type")) == u"double")
            s.underline = rtf::Underline::Double;
        else if (under == u"dotted")
            s.underline = rtf::Underline::Dotted;
        else if (under == u"dash" || under == u"long-dash" || under == u"dot-dash" || under == u"dot-dot-dash")
            s.underline = rtf::Underline::Dash;
        else if (under == u"wave")
            s.underline = rtf::Underline::Wave;
        else if (p.value(QStringLiteral("style:text-underline-mode")) == u"skip-white-space")
            s.underline = rtf::Underline::Word;
        else if (width == u"bold" || width == u"thick")
            s.underline = rtf::Underline::Thick;
        else
            s.underline = rtf::Underline::Single;
    }
    const QString strike = p.value(QStringLiteral("style:text-line-through-style"));
    if (!strike.isEmpty() && strike != u"none") {
        if (p.value(QStringLiteral("style:text-line-through-type")) == u"double")
            s.doubleStrike = true;
        else
            s.strike = true;
    }
    if (const QString pos = p.value(QStringLiteral("style:text-position")); !pos.isEmpty()) {
        const QStringList words = pos.split(u' ', Qt::SkipEmptyParts);
        const QString by = words.value(0);
        const double scale = percent(words.value(1)).value_or(100);
        if (by == u"super") {
            s.vertical = rtf::VerticalPos::Super;
        } else if (by == u"sub") {
            s.vertical = rtf::VerticalPos::Sub;
        } else if (const auto amount = percent(by); amount && *amount != 0) {
            if (scale < 100)
                s.vertical = *amount > 0 ? rtf::VerticalPos::Super : rtf::VerticalPos::Sub;
            else
                s.offset = std::clamp(int(std::lround(*amount / 100 * s.halfPoints)), -rtf::rules::MaxHalfPoints,
                                      rtf::rules::MaxHalfPoints);
        }
    }
    if (p.value(QStringLiteral("fo:text-transform")) == u"uppercase")
        s.caps = true;
    else if (p.value(QStringLiteral("fo:font-variant")) == u"small-caps")
        s.smallCaps = true;
    s.hidden = p.value(QStringLiteral("text:display")) == u"none";
    return s;
}

// Names other word processors know their own styles by: an RTF reader maps
// these to its own, where the names this format uses would stand beside them.
QString interchangeName(const QString &name)
{
    static const QHash<QString, QString> names {
        {QStringLiteral("Standard"), QStringLiteral("Normal")},
        {QStringLiteral("Default Paragraph Style"), QStringLiteral("Normal")},
        {QStringLiteral("Text body"), QStringLiteral("Body Text")},
        {QStringLiteral("Body Text"), QStringLiteral("Body Text")},
        {QStringLiteral("Internet link"), QStringLiteral("Hyperlink")},
        {QStringLiteral("Internet Link"), QStringLiteral("Hyperlink")},
        {QStringLiteral("Visited Internet Link"), QStringLiteral("FollowedHyperlink")},
        {QStringLiteral("Footnote"), QStringLiteral("footnote text")},
        {QStringLiteral("Endnote"), QStringLiteral("endnote text")},
        {QStringLiteral("Header"), QStringLiteral("header")},
        {QStringLiteral("Footer"), QStringLiteral("footer")},
        {QStringLiteral("Caption"), QStringLiteral("caption")},
    };
    if (const auto it = names.constFind(name); it != names.constEnd())
        return *it;
    if (name.startsWith(QLatin1String("Contents ")) && name.size() == 10 && name.back().isDigit())
        return QStringLiteral("toc ") + name.back();
    return name;
}

} // namespace

void Context::addBuiltinStyles()
{
    // Styles every reader of the format knows without the file defining
    // them; writers such as pandoc name them and leave them out.
    const auto add = [&](const QString &name, const QString &parent, const Props &para, const Props &text) {
        const QString k = key(u"paragraph", name);
        if (styles[Common].contains(k))
            return;
        StyleEntry e;
        e.name = name;
        e.family = QStringLiteral("paragraph");
        e.parent = parent;
        e.para = para;
        e.text = text;
        styles[Common].insert(k, std::move(e));
    };
    add(QStringLiteral("Heading"), QStringLiteral("Standard"),
        {{QStringLiteral("fo:margin-top"), QStringLiteral("0.423cm")}, {QStringLiteral("fo:margin-bottom"), QStringLiteral("0.212cm")},
         {QStringLiteral("fo:keep-with-next"), QStringLiteral("always")}},
        {{QStringLiteral("fo:font-family"), QStringLiteral("'Liberation Sans'")}, {QStringLiteral("fo:font-size"), QStringLiteral("14pt")}});
    add(QStringLiteral("Title"), QStringLiteral("Heading"), {{QStringLiteral("fo:text-align"), QStringLiteral("center")}},
        {{QStringLiteral("fo:font-size"), QStringLiteral("28pt")}, {QStringLiteral("fo:font-weight"), QStringLiteral("bold")}});
    add(QStringLiteral("Subtitle"), QStringLiteral("Heading"),
        {{QStringLiteral("fo:text-align"), QStringLiteral("center")}, {QStringLiteral("fo:margin-top"), QStringLiteral("0.106cm")}},
        {{QStringLiteral("fo:font-size"), QStringLiteral("18pt")}});
    const QString link = key(u"text", u"Internet_20_link");
    if (!styles[Common].contains(link)) {
        StyleEntry e;
        e.name = QStringLiteral("Internet_20_link");
        e.display = QStringLiteral("Internet link");
        e.family = QStringLiteral("text");
        e.text = {{QStringLiteral("fo:color"), QStringLiteral("#000080")},
                  {QStringLiteral("style:text-underline-style"), QStringLiteral("solid")}};
        styles[Common].insert(link, std::move(e));
    }
}

int Context::charStyle(int textLook)
{
    TextLook &look = textLooks[size_t(textLook)];
    if (look.interned >= 0)
        return look.interned;
    rtf::CharStyle s = convertText(*this, look.props);
    s.charStyle = look.charStyleDef;
    auto it = m_charIds.constFind(s);
    if (it == m_charIds.constEnd()) {
        it = m_charIds.insert(s, int(doc.charStyles.size()));
        doc.charStyles.push_back(s);
    }
    textLooks[size_t(textLook)].interned = *it;
    return *it;
}

int Context::styleDef(StyleEntry &entry)
{
    if (entry.styleDef >= 0)
        return entry.styleDef;
    const bool para = entry.family == u"paragraph";
    if ((!para && entry.family != u"text") || doc.styles.size() >= size_t(MaxStyles))
        return -1;
    rtf::StyleDef def;
    def.name = interchangeName(rtf::rules::printable(entry.display.isEmpty() ? decodeName(entry.name) : entry.display).trimmed());
    if (def.name.isEmpty())
        def.name = QStringLiteral("Style %1").arg(doc.styles.size() + 1);
    def.kind = para ? rtf::StyleDef::Paragraph : rtf::StyleDef::Character;
    def.number = int(doc.styles.size());
    const int index = def.number;
    entry.styleDef = index;     // set first: a parent or next style naming this one ends there
    doc.styles.push_back(def);
    const QString parent = entry.parent, next = entry.next, family = entry.family, name = entry.name;
    int basedOn = -1, nextDef = -1;
    if (const StyleEntry *p = style(family, parent, Common))
        basedOn = styleDef(styles[Common][key(family, p->name)]);
    if (const StyleEntry *n = para ? style(family, next, Common) : nullptr)
        nextDef = styleDef(styles[Common][key(family, n->name)]);
    TextLook look;
    look.props = mergedProps(*this, family, name, Common, &StyleEntry::text, true);
    look.charStyleDef = para ? -1 : index;
    textLooks.push_back(std::move(look));
    const int chars = charStyle(int(textLooks.size()) - 1);
    rtf::StyleDef &made = doc.styles[size_t(index)];
    made.basedOn = basedOn;
    made.next = nextDef;
    made.chars = chars;
    if (para) {
        made.para = convertPara(mergedProps(*this, family, name, Common, &StyleEntry::para, true));
        made.para.style = -1;
    }
    return index;
}

Props Context::tableProps(QStringView name)
{
    return mergedProps(*this, QStringLiteral("table"), name, pool, &StyleEntry::table, false);
}

Props Context::columnProps(QStringView name)
{
    return mergedProps(*this, QStringLiteral("table-column"), name, pool, &StyleEntry::column, false);
}

Props Context::rowProps(QStringView name)
{
    return mergedProps(*this, QStringLiteral("table-row"), name, pool, &StyleEntry::row, false);
}

Props Context::cellProps(QStringView name)
{
    return mergedProps(*this, QStringLiteral("table-cell"), name, pool, &StyleEntry::cell, false);
}

} // namespace odt
