#include "RtfParaProps.h"

#include "RtfBuild.h"
#include "RtfParser.h"
#include "RtfRules.h"
#include "RtfWriting.h"

#include <QTextBlock>
#include <QTextList>

#include <QColor>
#include <QStringList>

#include <algorithm>

namespace rtf {

using namespace paraWords;
using namespace breakWords;

namespace {

constexpr int MaxTabStops = 64;
using rules::MaxLength;

// What paragraphs share while a file is read: the document's widow-control
// default and the lists of tab stops, interned.
class ParagraphDefaults final : public FamilyState
{
public:
    static constexpr Family Slot = Family::Para;
    bool widowControl = false;
    QHash<QByteArray, int> tabIds;

    int internTabs(Document &doc, const std::vector<TabStop> &stops)
    {
        QByteArray key;
        for (const TabStop &t : stops) {
            key.append(reinterpret_cast<const char *>(&t.position), sizeof t.position);
            key.append(char(t.kind));
            key.append(char(t.leader));
        }
        auto it = tabIds.constFind(key);
        if (it == tabIds.constEnd()) {
            it = tabIds.insert(key, int(doc.tabLists.size()));
            doc.tabLists.push_back(stops);
        }
        return *it;
    }
};

int length(const Token &t)
{
    return std::clamp(t.param, -MaxLength, MaxLength);
}

} // namespace

namespace {

quint32 explicitBit(int id)
{
    switch (id) {
    case AlignLeft: case AlignRight: case AlignCenter: case AlignJustify: return ParaState::ExplicitAlign;
    case LeftIndent: return ParaState::ExplicitLeft;
    case RightIndent: return ParaState::ExplicitRight;
    case FirstIndent: return ParaState::ExplicitFirst;
    case SpaceBefore: return ParaState::ExplicitBefore;
    case SpaceAfter: return ParaState::ExplicitAfter;
    case LineSpacing: case LineMultiple: return ParaState::ExplicitLine;
    case TabPosition: case TabBar: return ParaState::ExplicitTabs;
    case PageBreakBefore: return ParaState::ExplicitBreak;
    case KeepTogether: return ParaState::ExplicitKeep;
    case KeepWithNext: return ParaState::ExplicitKeepNext;
    case WidowControl: case NoWidowControl: return ParaState::ExplicitWidow;
    case ShadingColour: case ShadingPercent: return ParaState::ExplicitShading;
    case OutlineLevel: return ParaState::ExplicitOutline;
    case RightToLeft: case LeftToRight: return ParaState::ExplicitDirection;
    default: return 0;
    }
}

} // namespace

namespace {

// Takes each property `from` states and `to` does not, as `take` says.
template <typename Take>
void fillIn(ParaState &to, const ParaState &from, quint32 bits, Take take)
{
    const quint32 missing = bits & ~to.explicitProps & from.explicitProps;
    if (!missing)
        return;
    ParaProps &p = to.props;
    const ParaProps &q = from.props;
    const auto fill = [&](quint32 bit, auto... members) {
        if (missing & bit && take(bit))
            ((p.*members = q.*members), ...);
    };
    fill(ParaState::ExplicitAlign, &ParaProps::align);
    fill(ParaState::ExplicitLeft, &ParaProps::leftIndent);
    fill(ParaState::ExplicitRight, &ParaProps::rightIndent);
    fill(ParaState::ExplicitFirst, &ParaProps::firstIndent);
    fill(ParaState::ExplicitBefore, &ParaProps::spaceBefore);
    fill(ParaState::ExplicitAfter, &ParaProps::spaceAfter);
    fill(ParaState::ExplicitLine, &ParaProps::lineSpacing, &ParaProps::lineMultiple);
    fill(ParaState::ExplicitBreak, &ParaProps::pageBreakBefore);
    fill(ParaState::ExplicitKeep, &ParaProps::keepTogether);
    fill(ParaState::ExplicitKeepNext, &ParaProps::keepWithNext);
    fill(ParaState::ExplicitWidow, &ParaProps::widowControl);
    fill(ParaState::ExplicitShading, &ParaProps::shadingPercent);
    fill(ParaState::ExplicitDirection, &ParaProps::rightToLeft);
    fill(ParaState::ExplicitList, &ParaProps::list, &ParaProps::level);
    if (missing & ParaState::ExplicitShading && take(ParaState::ExplicitShading))
        to.shading = from.shading;
    to.explicitProps |= missing;
}

constexpr quint32 AllProps = ~0u;
// What a paragraph that names a style without restating it does not take
// from the style's own definition, as the common readers show it: its
// spacing and indents stay the defaults (those the style inherits from its
// parents come through).
constexpr quint32 NotFromOwnStyle = ParaState::ExplicitLeft | ParaState::ExplicitRight | ParaState::ExplicitFirst
                                    | ParaState::ExplicitBefore | ParaState::ExplicitAfter;

} // namespace

void inheritParagraphStyle(ParaState &style, const ParaState &parent)
{
    fillIn(style, parent, AllProps, [](quint32) { return true; });
}

void applyParagraphStyle(ParaState &para, const ParaState &own, const ParaState &inherited, int styleIndex)
{
    // Tab stops and outline levels stay the paragraph's own: there is no
    // word for "none" that the writer could state against a style's.
    const quint32 stated = para.explicitProps;
    fillIn(para, own, ~NotFromOwnStyle, [](quint32) { return true; });
    // A property the style itself states blocks its parents' even where
    // the paragraph does not take it.
    ParaState parents = inherited;
    parents.explicitProps &= ~own.explicitProps;
    fillIn(para, parents, AllProps, [](quint32) { return true; });
    // What the paragraph took from its style is the style's, not its own.
    para.explicitProps = stated;
    para.props.style = styleIndex;
}

void setWidowControlByDefault(Parser &p)
{
    p.family<ParagraphDefaults>().widowControl = true;
}

void paraWord(Parser &p, int id, const Token &t)
{
    ParaState &para = p.state().para;
    ParaProps &props = para.props;
    const bool on = !t.hasParam || t.param != 0;
    // The paragraph's own tab stops replace its style's: the first it states
    // starts the list afresh.
    const bool firstOwn = !(para.explicitProps & explicitBit(id));
    para.explicitProps |= explicitBit(id);
    const auto leader = [&](TabLeader l) { para.pendingTab.leader = l; };
    switch (id) {
    case Pard:
        para = ParaState {};
        para.props.widowControl = p.family<ParagraphDefaults>().widowControl;
        break;
    case AlignLeft: props.align = Align::Left; break;
    case AlignRight: props.align = Align::Right; break;
    case AlignCenter: props.align = Align::Center; break;
    case AlignJustify: props.align = Align::Justify; break;
    case LeftIndent: props.leftIndent = length(t); break;
    case RightIndent: props.rightIndent = length(t); break;
    case FirstIndent: props.firstIndent = length(t); break;
    case SpaceBefore: props.spaceBefore = std::clamp(t.param, 0, MaxLength); break;
    case SpaceAfter: props.spaceAfter = std::clamp(t.param, 0, MaxLength); break;
    case LineSpacing: props.lineSpacing = length(t); break;
    case LineMultiple: props.lineMultiple = on; break;
    case TabRight: para.pendingTab.kind = TabKind::Right; break;
    case TabCenter: para.pendingTab.kind = TabKind::Center; break;
    case TabDecimal: para.pendingTab.kind = TabKind::Decimal; break;
    case TabPosition:
    case TabBar: {
        TabStop stop = para.pendingTab;
        stop.position = std::clamp(t.param, 0, MaxLength);
        if (id == TabBar)
            stop.kind = TabKind::Bar;
        para.pendingTab = TabStop {};
        std::vector<TabStop> stops = firstOwn ? std::vector<TabStop> {} : p.doc().tabLists[size_t(props.tabs)];
        std::erase_if(stops, [&](const TabStop &s) { return s.position == stop.position; });
        if (int(stops.size()) >= MaxTabStops) {
            p.doc().dropped.add(QStringLiteral("tab stops beyond %1").arg(MaxTabStops));
            break;
        }
        stops.push_back(stop);
        props.tabs = p.family<ParagraphDefaults>().internTabs(p.doc(), stops);
        break;
    }
    case LeaderDot: leader(TabLeader::Dot); break;
    case LeaderHyphen: leader(TabLeader::Hyphen); break;
    case LeaderUnderline: leader(TabLeader::Underline); break;
    case LeaderThick: leader(TabLeader::Thick); break;
    case LeaderEqual: leader(TabLeader::Equal); break;
    case LeaderMiddleDot: leader(TabLeader::MiddleDot); break;
    case PageBreakBefore: props.pageBreakBefore = on; break;
    case KeepTogether: props.keepTogether = on; break;
    case KeepWithNext: props.keepWithNext = on; break;
    case WidowControl: props.widowControl = true; break;
    case NoWidowControl: props.widowControl = false; break;
    case ShadingColour: para.shading = t.param; break;
    case ShadingPercent: props.shadingPercent = std::clamp(t.param, 0, 10000); break;
    case OutlineLevel: props.outline = std::clamp(t.param, 0, 9); break;
    case RightToLeft: props.rightToLeft = true; break;
    case LeftToRight: props.rightToLeft = false; break;
    case InTable:
        para.inTable = on;
        if (on && para.depth == 0)
            para.depth = 1;
        break;
    case TableDepth:
        para.depth = std::clamp(t.param, 0, 64);
        para.inTable = para.depth > 0;
        break;
    default:
        break;
    }
}

void breakWord(Parser &p, int id, const Token &)
{
    switch (id) {
    case ParagraphEnd:
        p.endParagraph();
        break;
    case PageBreak:
        // A break before what follows: the paragraph in progress ends first.
        p.pageBreak();
        break;
    default:
        break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

QTextBlockFormat buildBlockFormat(const Document &model, const ParaProps &p)
{
    QTextBlockFormat f;
    f.setAlignment(rules::toQt(p.align));
    if (p.leftIndent)
        f.setLeftMargin(rules::pixels(p.leftIndent));
    if (p.rightIndent)
        f.setRightMargin(rules::pixels(p.rightIndent));
    if (p.firstIndent) {
        if (p.list >= 0)
            f.setProperty(ListFirstIndentProperty, rules::pixels(p.firstIndent));   // the label hangs there
        else
            f.setTextIndent(rules::pixels(p.firstIndent));
    }
    if (p.spaceBefore)
        f.setTopMargin(rules::pixels(p.spaceBefore));
    if (p.spaceAfter)
        f.setBottomMargin(rules::pixels(p.spaceAfter));
    // One line in multiples is single spacing, as no spacing given is.
    if (p.lineSpacing != 0 && !(p.lineMultiple && std::abs(p.lineSpacing) == 240)) {
        if (p.lineMultiple)
            f.setLineHeight(std::abs(p.lineSpacing) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing > 0)
            f.setLineHeight(rules::pixels(p.lineSpacing), QTextBlockFormat::MinimumHeight);
        else
            f.setLineHeight(rules::pixels(-p.lineSpacing), QTextBlockFormat::FixedHeight);
    }
    if (p.tabs > 0) {
        const std::vector<TabStop> &stops = model.tabLists[size_t(p.tabs)];
        // A file measures tab stops from the page's margin, Qt from where
        // the line starts: an indented paragraph's stops move left by its indent.
        const qreal start = rules::pixels(p.leftIndent + (p.list >= 0 ? 0 : p.firstIndent));
        QList<QTextOption::Tab> tabs;
        for (const TabStop &t : stops) {
            const qreal at = rules::pixels(t.position) - start;
            switch (t.kind) {
            case TabKind::Left: tabs.append(QTextOption::Tab(at, QTextOption::LeftTab)); break;
            case TabKind::Right: tabs.append(QTextOption::Tab(at, QTextOption::RightTab)); break;
            case TabKind::Center: tabs.append(QTextOption::Tab(at, QTextOption::CenterTab)); break;
            case TabKind::Decimal: tabs.append(QTextOption::Tab(at, QTextOption::DelimiterTab, u'.')); break;
            case TabKind::Bar: break;   // a vertical line, no stop
            }
        }
        f.setTabPositions(tabs);
        f.setProperty(TabStopsProperty, QVariant::fromValue(TabStopsRef {QList<TabStop>(stops.begin(), stops.end())}));
    }
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (p.keepTogether)
        f.setNonBreakableLines(true);
    if (p.keepWithNext)
        f.setProperty(KeepWithNextProperty, true);
    if (p.widowControl)
        f.setProperty(WidowControlProperty, true);
    if (p.shading.set)
        f.setBackground(QColor(p.shading.rgb));
    if (p.shadingPercent)
        f.setProperty(ShadingPercentProperty, p.shadingPercent);
    if (p.style >= 0) {
        const QString &name = model.styles[size_t(p.style)].name;
        f.setProperty(ParaStyleNameProperty, name);
        if (name.startsWith(QLatin1String("heading "), Qt::CaseInsensitive))
            f.setHeadingLevel(std::clamp(name.mid(8).toInt(), 0, 6));
    }
    if (p.outline >= 0)
        f.setProperty(OutlineLevelProperty, p.outline);
    if (p.rightToLeft)
        f.setLayoutDirection(Qt::RightToLeft);
    return f;
}

// ---- writing ------------------------------------------------------------------------------------

namespace {

void writeTabs(RtfOut &out, const std::vector<TabStop> &stops)
{
    for (const TabStop &t : stops) {
        switch (t.kind) {
        case TabKind::Right: out.word("tqr"); break;
        case TabKind::Center: out.word("tqc"); break;
        case TabKind::Decimal: out.word("tqdec"); break;
        default: break;
        }
        switch (t.leader) {
        case TabLeader::Dot: out.word("tldot"); break;
        case TabLeader::Hyphen: out.word("tlhyph"); break;
        case TabLeader::Underline: out.word("tlul"); break;
        case TabLeader::Thick: out.word("tlth"); break;
        case TabLeader::Equal: out.word("tleq"); break;
        case TabLeader::MiddleDot: out.word("tlmdot"); break;
        case TabLeader::None: break;
        }
        out.word(t.kind == TabKind::Bar ? "tb" : "tx", t.position);
    }
}

std::vector<TabStop> tabStopsOf(const QTextBlockFormat &f)
{
    if (const QVariant kept = f.property(TabStopsProperty); kept.metaType() == QMetaType::fromType<TabStopsRef>()) {
        const TabStopsRef written = kept.value<TabStopsRef>();
        return std::vector<TabStop>(written.stops.begin(), written.stops.end());
    }
    std::vector<TabStop> stops;
    const qreal start = f.leftMargin() + f.textIndent();    // Qt's stops start at the line, the file's at the margin
    for (const QTextOption::Tab &t : f.tabPositions()) {
        TabStop stop;
        stop.position = rules::twips(t.position + start);
        switch (t.type) {
        case QTextOption::RightTab: stop.kind = TabKind::Right; break;
        case QTextOption::CenterTab: stop.kind = TabKind::Center; break;
        case QTextOption::DelimiterTab: stop.kind = TabKind::Decimal; break;
        default: break;
        }
        stops.push_back(stop);
    }
    return stops;
}

} // namespace

void writeParagraphProperties(Writer &w, const QTextBlockFormat &f, bool inList, const QString *style)
{
    // A paragraph with a style states every property, also those that are
    // zero: a reader fills in from the style what it leaves out. A flag that
    // is off has no word: the style's definition leaves it out instead.
    RtfOut &out = w.out();
    const bool styled = style != nullptr;
    switch (rules::alignment(f.alignment())) {
    case Align::Right: out.word("qr"); break;
    case Align::Center: out.word("qc"); break;
    case Align::Justify: out.word("qj"); break;
    case Align::Left: out.word("ql"); break;
    }
    if (f.layoutDirection() == Qt::RightToLeft)
        out.word("rtlpar");
    else if (styled)
        out.word("ltrpar");
    const auto length = [&](std::string_view word, double pixels) {
        if (const int tw = rules::twips(pixels); tw || styled)
            out.word(word, tw);
    };
    length("li", f.leftMargin());
    length("ri", f.rightMargin());
    length("fi", inList && f.hasProperty(ListFirstIndentProperty) ? f.doubleProperty(ListFirstIndentProperty)
                                                                  : f.textIndent());
    length("sb", f.topMargin());
    length("sa", f.bottomMargin());
    quint8 flagsOff = 0;
    const auto flag = [&](std::string_view word, bool on, Writer::StyleFlag which) {
        if (on)
            out.word(word);
        else
            flagsOff |= which;
    };
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (const int n = int(std::lround(f.lineHeight() * 2.4)); n > 0 && n != 240) {
            out.word("sl", n);
            out.word("slmult", 1);
        } else if (styled) {
            out.word("sl", 0);
        }
        break;
    case QTextBlockFormat::FixedHeight:
        out.word("sl", -rules::twips(f.lineHeight()));
        out.word("slmult", 0);
        break;
    case QTextBlockFormat::MinimumHeight:
        out.word("sl", rules::twips(f.lineHeight()));
        out.word("slmult", 0);
        break;
    default:
        if (styled)
            out.word("sl", 0);
        break;
    }
    writeTabs(out, tabStopsOf(f));
    flag("pagebb", (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) && !f.boolProperty(PageBreakCharProperty),
         Writer::PageBreakBefore);
    flag("keep", f.nonBreakableLines(), Writer::KeepTogether);
    flag("keepn", f.boolProperty(KeepWithNextProperty), Writer::KeepWithNext);
    if (styled && flagsOff)
        w.flagsOffInStyle(*style, flagsOff);
    if (f.boolProperty(WidowControlProperty))
        out.word("widctlpar");
    else if (styled || w.widowControlByDefault())
        out.word("nowidctlpar");
    if (f.background().style() != Qt::NoBrush)
        out.word("cbpat", w.colour(f.background().color().rgb()));
    else if (styled)
        out.word("cbpat", 0);
    if (f.hasProperty(ShadingPercentProperty) || styled)
        out.word("shading", f.intProperty(ShadingPercentProperty));
    if (f.hasProperty(OutlineLevelProperty))
        out.word("outlinelevel", f.intProperty(OutlineLevelProperty));
}

void writeParagraphFormat(Writer &w, const QTextBlock &block, int depth, bool restate)
{
    RtfOut &out = w.out();
    const QTextBlockFormat f = block.blockFormat();
    out.word("pard");
    if (depth > 0) {
        out.word("intbl");
        if (depth > 1)
            out.word("itap", depth);
    }
    const QString style = f.stringProperty(ParaStyleNameProperty);
    const bool styled = f.hasProperty(ParaStyleNameProperty);
    if (styled)
        out.word("s", w.styleNumber(style));
    writeParagraphProperties(w, f, block.textList() != nullptr, styled ? &style : nullptr);
    // The break after the paragraph's own properties, so that a reader that
    // starts a paragraph at the break gives it these, not the last one's. In
    // a table the break goes before the row (readers ignore \page in a cell).
    if (!restate && depth == 0 && f.boolProperty(PageBreakCharProperty)
        && (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
        out.word("page");
    writeListLabel(w, block, !restate);
}

} // namespace rtf
