// Styles: the theme's fonts and colours, document defaults, paragraph,
// character and table styles along their basedOn chains, run and paragraph
// properties, and the looks resolved from them in the order the format
// layers them: defaults, paragraph style, character style, direct.

#include "DocxContext.h"

#include "platform/rtf/RtfRules.h"

#include <QSet>

#include <algorithm>

namespace docx {

namespace {

template<class T>
void over(std::optional<T> &into, const std::optional<T> &from)
{
    if (from)
        into = from;
}

int clampLength(int v)
{
    return std::clamp(v, -rtf::rules::MaxLength, rtf::rules::MaxLength);
}

std::optional<int> length(const XmlReader &x, const char *name)
{
    const auto n = number(wattr(x, name));
    if (!n)
        return std::nullopt;
    return clampLength(*n);
}

rtf::Colour highlightColour(QStringView name)
{
    static const QHash<QString, QRgb> colours {
        {QStringLiteral("yellow"), qRgb(255, 255, 0)},     {QStringLiteral("green"), qRgb(0, 255, 0)},
        {QStringLiteral("cyan"), qRgb(0, 255, 255)},       {QStringLiteral("magenta"), qRgb(255, 0, 255)},
        {QStringLiteral("blue"), qRgb(0, 0, 255)},         {QStringLiteral("red"), qRgb(255, 0, 0)},
        {QStringLiteral("darkBlue"), qRgb(0, 0, 128)},     {QStringLiteral("darkCyan"), qRgb(0, 128, 128)},
        {QStringLiteral("darkGreen"), qRgb(0, 128, 0)},    {QStringLiteral("darkMagenta"), qRgb(128, 0, 128)},
        {QStringLiteral("darkRed"), qRgb(128, 0, 0)},      {QStringLiteral("darkYellow"), qRgb(128, 128, 0)},
        {QStringLiteral("darkGray"), qRgb(128, 128, 128)}, {QStringLiteral("lightGray"), qRgb(192, 192, 192)},
        {QStringLiteral("black"), qRgb(0, 0, 0)},          {QStringLiteral("white"), qRgb(255, 255, 255)},
    };
    const auto it = colours.constFind(name.toString());
    return it == colours.constEnd() ? rtf::Colour {} : rtf::Colour {*it, true};
}

// "minorHAnsi" -> the theme's minor Latin face.
QString themeKey(QStringView theme)
{
    const bool major = theme.startsWith(u"major");
    const QStringView script = theme.sliced(5);
    const char *which = script == u"EastAsia" ? "ea" : script == u"Bidi" ? "cs" : "latin";
    return (major ? QStringLiteral("major.") : QStringLiteral("minor.")) + QLatin1StringView(which);
}

} // namespace

void mergeRun(RunProps &into, const RunProps &from)
{
    over(into.face, from.face);
    over(into.asianFace, from.asianFace);
    over(into.complexFace, from.complexFace);
    over(into.halfPoints, from.halfPoints);
    over(into.offset, from.offset);
    over(into.colour, from.colour);
    over(into.highlight, from.highlight);
    over(into.background, from.background);
    over(into.underline, from.underline);
    over(into.vertical, from.vertical);
    over(into.bold, from.bold);
    over(into.italic, from.italic);
    over(into.strike, from.strike);
    over(into.doubleStrike, from.doubleStrike);
    over(into.caps, from.caps);
    over(into.smallCaps, from.smallCaps);
    over(into.hidden, from.hidden);
}

void mergePara(ParaPropsLayer &into, const ParaPropsLayer &from)
{
    over(into.align, from.align);
    over(into.left, from.left);
    over(into.right, from.right);
    over(into.first, from.first);
    over(into.before, from.before);
    over(into.after, from.after);
    if (from.line) {
        into.line = from.line;
        into.lineRule = from.lineRule;
    }
    over(into.pageBreakBefore, from.pageBreakBefore);
    over(into.keepNext, from.keepNext);
    over(into.keepLines, from.keepLines);
    over(into.widowControl, from.widowControl);
    over(into.bidi, from.bidi);
    over(into.contextual, from.contextual);
    over(into.shading, from.shading);
    over(into.outline, from.outline);
    over(into.numId, from.numId);
    over(into.ilvl, from.ilvl);
    if (into.tabs.size() < 256)
        into.tabs.insert(into.tabs.end(), from.tabs.begin(), from.tabs.end());
}

namespace {

// A character style flips the paragraph style's toggles (bold in a bold
// heading is not bold); elsewhere the nearer layer wins.
void toggle(std::optional<bool> &into, const std::optional<bool> &paraStyle, const std::optional<bool> &charStyle)
{
    if (charStyle)
        into = paraStyle.value_or(false) != *charStyle;
}

} // namespace

void Context::readTheme(XmlReader &x)
{
    QString scheme;     // "major" or "minor" while inside a font scheme's part
    while (!x.atEnd()) {
        const auto token = x.next();
        if (token == XmlReader::EndElement && (x.name() == u"majorFont" || x.name() == u"minorFont"))
            scheme.clear();
        if (token != XmlReader::StartElement || nsOf(x.namespaceUri()) != Ns::A)
            continue;
        const QStringView n = x.name();
        if (n == u"majorFont" || n == u"minorFont") {
            scheme = n.first(5).toString();
        } else if (!scheme.isEmpty() && (n == u"latin" || n == u"ea" || n == u"cs")) {
            const QString face = rtf::rules::printable(attr(x, Ns::Other, QLatin1StringView("typeface"))).trimmed();
            const QString key = scheme + u'.' + n.toString();
            if (!face.isEmpty() && !themeFonts.contains(key))
                themeFonts.insert(key, face.left(64));
        } else if (n == u"dk1" || n == u"lt1" || n == u"dk2" || n == u"lt2" || n.startsWith(u"accent") || n == u"hlink"
                   || n == u"folHlink") {
            const QString name = n.toString();
            // The colour is its child, read next.
            while (!x.atEnd()) {
                const auto t = x.next();
                if (t == XmlReader::StartElement && (x.name() == u"srgbClr" || x.name() == u"sysClr")) {
                    const QStringView v = attr(x, Ns::Other, x.name() == u"srgbClr" ? QLatin1StringView("val")
                                                                                     : QLatin1StringView("lastClr"));
                    if (const auto c = hexColour(v))
                        themeColours.insert(name, *c);
                    break;
                }
                if (t == XmlReader::EndElement || t == XmlReader::Invalid)
                    break;
            }
        }
    }
}

void Context::readRunProps(XmlReader &x, RunProps &r)
{
    children(x, [&] {
        if (nsOf(x.namespaceUri()) != Ns::W) {
            skip(x);
            return;
        }
        const QStringView n = x.name();
        if (n == u"rFonts") {
            const auto face = [&](const char *plain, const char *theme) -> std::optional<QString> {
                const QStringView t = wattr(x, theme);
                if (!t.isEmpty() && (t.startsWith(u"major") || t.startsWith(u"minor"))) {
                    const QString f = themeFonts.value(themeKey(t));
                    if (!f.isEmpty())
                        return f;
                }
                const QString f = rtf::rules::printable(wattr(x, plain)).trimmed();
                if (f.isEmpty())
                    return std::nullopt;
                return f.left(64);
            };
            auto latin = face("ascii", "asciiTheme");
            if (!latin)
                latin = face("hAnsi", "hAnsiTheme");
            over(r.face, latin);
            over(r.asianFace, face("eastAsia", "eastAsiaTheme"));
            over(r.complexFace, face("cs", "cstheme"));
        } else if (n == u"sz") {
            if (const auto v = number(wattr(x, "val")))
                r.halfPoints = std::clamp(*v, 2, rtf::rules::MaxHalfPoints);
        } else if (n == u"position") {
            if (const auto v = number(wattr(x, "val")))
                r.offset = std::clamp(*v, -rtf::rules::MaxHalfPoints, rtf::rules::MaxHalfPoints);
        } else if (n == u"color") {
            const QStringView v = wattr(x, "val");
            const QStringView theme = wattr(x, "themeColor");
            if (v == u"auto") {
                r.colour = rtf::Colour {};
            } else if (const auto c = hexColour(v)) {
                r.colour = rtf::Colour {*c, true};
            } else if (!theme.isEmpty()) {
                static const QHash<QString, QString> names {
                    {QStringLiteral("text1"), QStringLiteral("dk1")},      {QStringLiteral("dark1"), QStringLiteral("dk1")},
                    {QStringLiteral("background1"), QStringLiteral("lt1")}, {QStringLiteral("light1"), QStringLiteral("lt1")},
                    {QStringLiteral("text2"), QStringLiteral("dk2")},      {QStringLiteral("dark2"), QStringLiteral("dk2")},
                    {QStringLiteral("background2"), QStringLiteral("lt2")}, {QStringLiteral("light2"), QStringLiteral("lt2")},
                    {QStringLiteral("hyperlink"), QStringLiteral("hlink")},
                    {QStringLiteral("followedHyperlink"), QStringLiteral("folHlink")}};
                const QString key = names.value(theme.toString(), theme.toString());
                if (themeColours.contains(key))
                    r.colour = rtf::Colour {themeColours.value(key), true};
            }
        } else if (n == u"highlight") {
            r.highlight = highlightColour(wattr(x, "val"));
        } else if (n == u"shd") {
            const auto fill = hexColour(wattr(x, "fill"));
            r.background = fill && wattr(x, "val") != u"nil" ? rtf::Colour {*fill, true} : rtf::Colour {};
        } else if (n == u"u") {
            const QStringView v = wattr(x, "val");
            rtf::Underline u = rtf::Underline::Single;
            if (v == u"none" || v == u"0")
                u = rtf::Underline::None;
            else if (v == u"double")
                u = rtf::Underline::Double;
            else if (v == u"words")
                u = rtf::Underline::Word;
            else if (v == u"thick")
                u = rtf::Underline::Thick;
            else if (v.startsWith(u"dotted"))
                u = rtf::Underline::Dotted;
            else if (v.startsWith(u"dash") || v.startsWith(u"dot"))
                u = rtf::Underline::Dash;
            else if (v.startsWith(u"wav"))
                u = rtf::Underline::Wave;
            r.underline = u;
        } else if (n == u"vertAlign") {
            const QStringView v = wattr(x, "val");
            r.vertical = v == u"superscript" ? rtf::VerticalPos::Super
                : v == u"subscript"          ? rtf::VerticalPos::Sub
                                             : rtf::VerticalPos::Normal;
        } else if (n == u"b") {
            r.bold = onOff(x);
        } else if (n == u"i") {
            r.italic = onOff(x);
        } else if (n == u"strike") {
            r.strike = onOff(x);
        } else if (n == u"dstrike") {
            r.doubleStrike = onOff(x);
        } else if (n == u"caps") {
            r.caps = onOff(x);
        } else if (n == u"smallCaps") {
            r.smallCaps = onOff(x);
        } else if (n == u"vanish") {
            r.hidden = onOff(x);
        } else if ((n == u"emboss" || n == u"imprint" || n == u"outline" || n == u"shadow") && onOff(x)) {
            drop(QStringLiteral("character effects (emboss, engrave, outline, shadow)"));
        } else if (n == u"del") {
            r.deleted = true;
        } else if (n == u"rStyle") {
            r.charStyle = wattr(x, "val").left(256).toString();
        }
        skip(x);
    });
}

void Context::readParaProps(XmlReader &x, ParaPropsLayer &p, RunProps *markRun, bool *sections)
{
    children(x, [&] {
        if (nsOf(x.namespaceUri()) != Ns::W) {
            skip(x);
            return;
        }
        const QStringView n = x.name();
        if (n == u"rPr") {
            if (markRun)
                readRunProps(x, *markRun);
            else
                skip(x);
            return;
        }
        if (n == u"sectPr") {
            if (sections) {
                *sections = true;
                readSectPr(x);
            } else {
                skip(x);
            }
            return;
        }
        if (n == u"numPr") {
            children(x, [&] {
                if (is(x, Ns::W, QLatin1StringView("numId")))
                    p.numId = std::clamp(number(wattr(x, "val")).value_or(0), 0, 1 << 30);
                else if (is(x, Ns::W, QLatin1StringView("ilvl")))
                    p.ilvl = std::clamp(number(wattr(x, "val")).value_or(0), 0, 8);
                skip(x);
            });
            return;
        }
        if (n == u"tabs") {
            children(x, [&] {
                if (!is(x, Ns::W, QLatin1StringView("tab")) || p.tabs.size() >= 64) {
                    skip(x);
                    return;
                }
                TabOp op;
                const QStringView v = wattr(x, "val");
                if (v == u"num") {
                    skip(x);    // where a list's label ends: no stop of the paragraph's
                    return;
                }
                op.clear = v == u"clear";
                op.stop.position = std::clamp(number(wattr(x, "pos")).value_or(0), 0, rtf::rules::MaxLength);
                op.stop.kind = v == u"right" || v == u"end" ? rtf::TabKind::Right
                    : v == u"center"                        ? rtf::TabKind::Center
                    : v == u"decimal"                       ? rtf::TabKind::Decimal
                    : v == u"bar"                           ? rtf::TabKind::Bar
                                                            : rtf::TabKind::Left;
                const QStringView l = wattr(x, "leader");
                op.stop.leader = l == u"dot" ? rtf::TabLeader::Dot
                    : l == u"hyphen"         ? rtf::TabLeader::Hyphen
                    : l == u"underscore"     ? rtf::TabLeader::Underline
                    : l == u"heavy"          ? rtf::TabLeader::Thick
                    : l == u"middleDot"      ? rtf::TabLeader::MiddleDot
                                             : rtf::TabLeader::None;
                p.tabs.push_back(op);
                skip(x);
            });
            return;
        }
        if (n == u"pStyle") {
            p.style = wattr(x, "val").left(256).toString();
        } else if (n == u"jc") {
            const QStringView v = wattr(x, "val");
            p.align = v == u"center" ? rtf::Align::Center
                : v == u"right" || v == u"end" ? rtf::Align::Right
                : v == u"both" || v == u"distribute" || v.endsWith(u"Kashida") ? rtf::Align::Justify
                                                                               : rtf::Align::Left;
        } else if (n == u"ind") {
            if (auto v = length(x, "left"))
                p.left = v;
            else if (auto s = length(x, "start"))
                p.left = s;
            if (auto v = length(x, "right"))
                p.right = v;
            else if (auto e = length(x, "end"))
                p.right = e;
            if (auto h = length(x, "hanging"))
                p.first = -*h;
            else if (auto f = length(x, "firstLine"))
                p.first = f;
        } else if (n == u"spacing") {
            if (wattr(x, "beforeAutospacing") == u"1" || wattr(x, "beforeAutospacing") == u"true")
                p.before = 280;
            else if (auto v = length(x, "before"))
                p.before = std::max(0, *v);
            if (wattr(x, "afterAutospacing") == u"1" || wattr(x, "afterAutospacing") == u"true")
                p.after = 280;
            else if (auto v = length(x, "after"))
                p.after = std::max(0, *v);
            if (auto v = length(x, "line")) {
                const QStringView rule = wattr(x, "lineRule");
                p.line = std::max(0, *v);
                p.lineRule = rule == u"exact" ? 1 : rule == u"atLeast" ? 2 : 0;
            }
        } else if (n == u"keepNext") {
            p.keepNext = onOff(x);
        } else if (n == u"keepLines") {
            p.keepLines = onOff(x);
        } else if (n == u"pageBreakBefore") {
            p.pageBreakBefore = onOff(x);
        } else if (n == u"widowControl") {
            p.widowControl = onOff(x);
        } else if (n == u"bidi") {
            p.bidi = onOff(x);
        } else if (n == u"contextualSpacing") {
            p.contextual = onOff(x);
        } else if (n == u"outlineLvl") {
            const int v = number(wattr(x, "val")).value_or(9);
            p.outline = v >= 0 && v < 9 ? v : -1;
        } else if (n == u"shd") {
            const auto fill = hexColour(wattr(x, "fill"));
            p.shading = fill && wattr(x, "val") != u"nil" ? rtf::Colour {*fill, true} : rtf::Colour {};
        } else if ((n == u"pBdr" || n == u"framePr") && markRun) {
            drop(n == u"pBdr" ? QStringLiteral("paragraph borders") : QStringLiteral("frames"));
        }
        skip(x);
    });
}

void Context::readStyles(XmlReader &x)
{
    children(x, [&] {
        if (is(x, Ns::W, QLatin1StringView("docDefaults"))) {
            children(x, [&] {
                if (is(x, Ns::W, QLatin1StringView("rPrDefault")) || is(x, Ns::W, QLatin1StringView("pPrDefault"))) {
                    const bool run = x.name() == u"rPrDefault";
                    children(x, [&] {
                        if (run && is(x, Ns::W, QLatin1StringView("rPr")))
                            readRunProps(x, defaultRun);
                        else if (!run && is(x, Ns::W, QLatin1StringView("pPr")))
                            readParaProps(x, defaultPara, nullptr, nullptr);
                        else
                            skip(x);
                    });
                } else {
                    skip(x);
                }
            });
            return;
        }
        if (!is(x, Ns::W, QLatin1StringView("style")) || styles.size() >= MaxStyles) {
            skip(x);
            return;
        }
        StyleEntry e;
        e.id = wattr(x, "styleId").left(256).toString();
        const QStringView type = wattr(x, "type");
        e.type = type == u"character" ? 'c' : type == u"table" ? 't' : type == u"numbering" ? 'n' : 'p';
        e.isDefault = wattr(x, "default") == u"1" || wattr(x, "default") == u"true";
        children(x, [&] {
            if (nsOf(x.namespaceUri()) != Ns::W) {
                skip(x);
                return;
            }
            const QStringView n = x.name();
            if (n == u"name") {
                e.name = rtf::rules::printable(wattr(x, "val")).trimmed().left(256);
                skip(x);
            } else if (n == u"basedOn") {
                e.basedOn = wattr(x, "val").left(256).toString();
                skip(x);
            } else if (n == u"next") {
                e.next = wattr(x, "val").left(256).toString();
                skip(x);
            } else if (n == u"rPr") {
                readRunProps(x, e.run);
            } else if (n == u"pPr") {
                readParaProps(x, e.para, nullptr, nullptr);
            } else if (n == u"tblPr") {
                children(x, [&] {
                    if (is(x, Ns::W, QLatin1StringView("tblBorders"))) {
                        readBorders(x, e.borders);
                    } else if (is(x, Ns::W, QLatin1StringView("shd"))) {
                        if (const auto fill = hexColour(wattr(x, "fill")))
                            e.shading = rtf::Colour {*fill, true};
                        skip(x);
                    } else if (is(x, Ns::W, QLatin1StringView("tblStyleRowBandSize"))) {
                        e.rowBand = std::clamp(number(wattr(x, "val")).value_or(1), 1, 1000);
                        skip(x);
                    } else if (is(x, Ns::W, QLatin1StringView("tblStyleColBandSize"))) {
                        e.columnBand = std::clamp(number(wattr(x, "val")).value_or(1), 1, 64);
                        skip(x);
                    } else {
                        skip(x);
                    }
                });
            } else if (n == u"tblStylePr") {
                static const std::pair<QLatin1StringView, TablePart> kinds[] = {
                    {QLatin1StringView("band1Vert"), TablePart::OddColumnBand},
                    {QLatin1StringView("band2Vert"), TablePart::EvenColumnBand},
                    {QLatin1StringView("band1Horz"), TablePart::OddRowBand},
                    {QLatin1StringView("band2Horz"), TablePart::EvenRowBand},
                    {QLatin1StringView("firstCol"), TablePart::FirstColumn},
                    {QLatin1StringView("lastCol"), TablePart::LastColumn},
                    {QLatin1StringView("firstRow"), TablePart::FirstRow},
                    {QLatin1StringView("lastRow"), TablePart::LastRow},
                    {QLatin1StringView("nwCell"), TablePart::TopLeftCell},
                    {QLatin1StringView("neCell"), TablePart::TopRightCell},
                    {QLatin1StringView("swCell"), TablePart::BottomLeftCell},
                    {QLatin1StringView("seCell"), TablePart::BottomRightCell},
                };
                const QStringView type = wattr(x, "type");
                const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto &k) { return type == k.first; });
                if (kind == std::end(kinds)) {
                    skip(x);
                    return;
                }
                CellLook &look = e.parts[size_t(kind->second)].emplace();
                children(x, [&] {
                    if (is(x, Ns::W, QLatin1StringView("rPr"))) {
                        readRunProps(x, look.run);
                    } else if (is(x, Ns::W, QLatin1StringView("pPr"))) {
                        readParaProps(x, look.para, nullptr, nullptr);
                    } else if (is(x, Ns::W, QLatin1StringView("tcPr"))) {
                        children(x, [&] {
                            if (is(x, Ns::W, QLatin1StringView("tcBorders"))) {
                                readBorders(x, look.borders);
                                return;
                            }
                            if (is(x, Ns::W, QLatin1StringView("shd"))) {
                                if (const auto fill = hexColour(wattr(x, "fill")); fill && wattr(x, "val") != u"nil")
                                    look.shading = rtf::Colour {*fill, true};
                            } else if (is(x, Ns::W, QLatin1StringView("vAlign"))) {
                                const QStringView v = wattr(x, "val");
                                look.align = quint8(v == u"center" ? 1 : v == u"bottom" ? 2 : 0);
                            }
                            skip(x);
                        });
                    } else {
                        skip(x);
                    }
                });
                look.para.numId.reset();
                look.para.ilvl.reset();
                look.para.style.clear();
            } else {
                skip(x);
            }
        });
        if (e.id.isEmpty() || styles.contains(e.id))
            return;
        if (e.type == 'p' && e.isDefault && defaultParaStyle.isEmpty())
            defaultParaStyle = e.id;
        styles.insert(e.id, std::move(e));
    });
}

void Context::readSettings(XmlReader &x)
{
    children(x, [&] {
        if (is(x, Ns::W, QLatin1StringView("defaultTabStop")))
            defaultTabStop = std::clamp(number(wattr(x, "val")).value_or(720), 0, rtf::rules::MaxLength);
        else if (is(x, Ns::W, QLatin1StringView("evenAndOddHeaders")))
            evenAndOdd = onOff(x);
        skip(x);
    });
}

std::vector<const StyleEntry *> Context::chain(const QString &id) const
{
    std::vector<const StyleEntry *> out;
    QSet<QString> seen;
    QString at = id;
    while (!at.isEmpty() && out.size() < size_t(MaxChain) && !seen.contains(at)) {
        const auto it = styles.constFind(at);
        if (it == styles.constEnd() || (!out.empty() && it->type != out.front()->type))
            break;      // a style is based on one of its own kind only
        seen.insert(at);
        out.push_back(&*it);
        at = it->basedOn;
    }
    return out;
}

const ParaLook &Context::paraLook(const QString &styleId, int numId, int ilvl, bool directNum)
{
    const auto k = std::make_tuple(styleId, numId, ilvl, directNum, tableStyle, tableParts);
    if (const auto it = m_looks.find(k); it != m_looks.end())
        return it->second;
    ParaLook look;
    look.para = defaultPara;
    look.run = defaultRun;
    // A table's style lies between the defaults and the paragraph's own.
    const auto tableChain = chain(tableStyle);
    for (auto it = tableChain.rbegin(); it != tableChain.rend(); ++it) {
        ParaPropsLayer para = (*it)->para;
        para.numId.reset();
        para.ilvl.reset();
        mergePara(look.para, para);
        mergeRun(look.run, (*it)->run);
    }
    // Then the looks of the parts of the table the cell stands in.
    for (int part = 0; part < int(TablePart::Count); ++part) {
        if (!(tableParts & partBit(TablePart(part))))
            continue;
        for (auto it = tableChain.rbegin(); it != tableChain.rend(); ++it) {
            if (const auto &partLook = (*it)->parts[size_t(part)]) {
                mergePara(look.para, partLook->para);
                mergeRun(look.run, partLook->run);
            }
        }
    }
    const NumLevel *level = numId > 0 ? numLevel(numId, ilvl) : nullptr;
    if (level && !directNum)
        mergePara(look.para, level->para);
    const auto styleChain = chain(styleId);
    for (auto it = styleChain.rbegin(); it != styleChain.rend(); ++it) {
        mergePara(look.para, (*it)->para);
        mergeRun(look.styleRun, (*it)->run);
    }
    mergeRun(look.run, look.styleRun);
    if (level && directNum)
        mergePara(look.para, level->para);
    look.para.style.clear();
    if (!styleChain.empty())
        look.styleDef = styleDef(styleChain.front()->id);
    return m_looks.emplace(k, std::move(look)).first->second;
}

RunProps Context::baseRun(const ParaLook &look, const QString &charStyleId)
{
    if (charStyleId.isEmpty() || styles.value(charStyleId).type != 'c')
        return look.run;
    const QString cacheKey = QString::number(quintptr(&look), 16) + u'\n' + charStyleId;
    if (const auto it = m_baseRuns.constFind(cacheKey); it != m_baseRuns.constEnd())
        return *it;
    RunProps out = look.run;
    RunProps own;
    const auto styleChain = chain(charStyleId);
    for (auto it = styleChain.rbegin(); it != styleChain.rend(); ++it)
        mergeRun(own, (*it)->run);
    RunProps rest = own;
    rest.bold = rest.italic = rest.strike = rest.doubleStrike = rest.caps = rest.smallCaps = rest.hidden = std::nullopt;
    mergeRun(out, rest);
    toggle(out.bold, look.styleRun.bold, own.bold);
    toggle(out.italic, look.styleRun.italic, own.italic);
    toggle(out.strike, look.styleRun.strike, own.strike);
    toggle(out.caps, look.styleRun.caps, own.caps);
    toggle(out.smallCaps, look.styleRun.smallCaps, own.smallCaps);
    toggle(out.hidden, look.styleRun.hidden, own.hidden);
    over(out.doubleStrike, own.doubleStrike);
    if (!styleChain.empty())
        out.charStyle = styleChain.front()->id;
    m_baseRuns.insert(cacheKey, out);
    return out;
}

int Context::charStyle(const RunProps &base, const RunProps &direct)
{
    RunProps r = base;
    mergeRun(r, direct);
    rtf::CharStyle s;
    s.face = internFace(r.face.value_or(QStringLiteral("Times New Roman")));
    if (r.asianFace && *r.asianFace != r.face)
        s.asianFace = internFace(*r.asianFace);
    if (r.complexFace && *r.complexFace != r.face)
        s.complexFace = internFace(*r.complexFace);
    s.halfPoints = r.halfPoints.value_or(20);
    s.offset = r.offset.value_or(0);
    s.colour = r.colour.value_or(rtf::Colour {});
    s.highlight = r.highlight.value_or(rtf::Colour {});
    s.background = r.background.value_or(rtf::Colour {});
    s.underline = r.underline.value_or(rtf::Underline::None);
    s.vertical = r.vertical.value_or(rtf::VerticalPos::Normal);
    s.bold = r.bold.value_or(false);
    s.italic = r.italic.value_or(false);
    s.strike = r.strike.value_or(false);
    s.doubleStrike = r.doubleStrike.value_or(false);
    s.caps = r.caps.value_or(false);
    s.smallCaps = r.smallCaps.value_or(false);
    s.hidden = r.hidden.value_or(false);
    if (!r.charStyle.isEmpty() && styles.value(r.charStyle).type == 'c')
        s.charStyle = styleDef(r.charStyle);
    auto it = m_charIds.constFind(s);
    if (it == m_charIds.constEnd()) {
        it = m_charIds.insert(s, int(doc.charStyles.size()));
        doc.charStyles.push_back(s);
    }
    return *it;
}

rtf::ParaProps Context::paraProps(const ParaPropsLayer &p)
{
    rtf::ParaProps out;
    out.align = p.align.value_or(rtf::Align::Left);
    out.leftIndent = p.left.value_or(0);
    out.rightIndent = p.right.value_or(0);
    out.firstIndent = p.first.value_or(0);
    out.spaceBefore = std::clamp(p.before.value_or(0), 0, rtf::rules::MaxLength);
    out.spaceAfter = std::clamp(p.after.value_or(0), 0, rtf::rules::MaxLength);
    if (p.line && *p.line > 0) {
        const int line = std::min(*p.line, rtf::rules::MaxLength);
        if (p.lineRule.value_or(0) == 0) {
            if (line != 240) {
                out.lineSpacing = line;
                out.lineMultiple = true;
            }
        } else {
            out.lineSpacing = p.lineRule == 1 ? -line : line;
        }
    }
    out.pageBreakBefore = p.pageBreakBefore.value_or(false);
    out.keepWithNext = p.keepNext.value_or(false);
    out.keepTogether = p.keepLines.value_or(false);
    // Word keeps widows and orphans from a page unless a style or the
    // paragraph turns it off.
    out.widowControl = p.widowControl.value_or(true);
    out.rightToLeft = p.bidi.value_or(false);
    out.shading = p.shading.value_or(rtf::Colour {});
    out.outline = p.outline.value_or(-1);
    std::map<int, rtf::TabStop> stops;
    for (const TabOp &op : p.tabs) {
        if (op.clear)
            stops.erase(op.stop.position);
        else if (stops.size() < 64)
            stops[op.stop.position] = op.stop;
    }
    std::vector<rtf::TabStop> list;
    for (const auto &[pos, stop] : stops)
        list.push_back(stop);
    out.tabs = internTabs(list);
    return out;
}

int Context::styleDef(const QString &id)
{
    auto it = styles.find(id);
    if (it == styles.end() || (it->type != 'p' && it->type != 'c'))
        return -1;
    if (it->styleDef >= 0)
        return it->styleDef;
    if (doc.styles.size() >= size_t(MaxStyles))
        return -1;
    const bool para = it->type == 'p';
    rtf::StyleDef def;
    def.name = it->name.isEmpty() ? rtf::rules::printable(id).trimmed() : it->name;
    if (def.name.isEmpty())
        def.name = QStringLiteral("Style %1").arg(doc.styles.size() + 1);
    def.kind = para ? rtf::StyleDef::Paragraph : rtf::StyleDef::Character;
    def.number = int(doc.styles.size());
    const int index = def.number;
    it->styleDef = index;       // set first: a chain naming this one again ends here
    doc.styles.push_back(def);
    const QString basedOn = it->basedOn, next = it->next;
    const char type = para ? 'p' : 'c';
    const int basedOnDef = styles.value(basedOn).type == type ? styleDef(basedOn) : -1;
    const int nextDef = para && styles.value(next).type == 'p' ? styleDef(next) : -1;
    int chars = 0;
    rtf::ParaProps props;
    if (para) {
        const ParaLook &look = paraLook(id, 0, 0, false);
        chars = charStyle(look.run, {});
        props = paraProps(look.para);
    } else {
        RunProps run = defaultRun;
        const auto styleChain = chain(id);
        for (auto c = styleChain.rbegin(); c != styleChain.rend(); ++c)
            mergeRun(run, (*c)->run);
        run.charStyle = id;
        chars = charStyle(run, {});
    }
    rtf::StyleDef &made = doc.styles[size_t(index)];
    made.basedOn = basedOnDef;
    made.next = nextDef;
    made.chars = chars;
    if (para) {
        made.para = props;
        made.para.style = -1;
    }
    return index;
}

} // namespace docx
