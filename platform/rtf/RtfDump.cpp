#include "RtfDump.h"

#include "RtfFonts.h"
#include "RtfModel.h"
#include "RtfQt.h"
#include "RtfRules.h"
#include "RtfRunLook.h"

#include <QCryptographicHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QVariantMap>
#include <QSet>
#include <QTextLength>

#include <algorithm>
#include <optional>

#include <tuple>
#include <utility>

namespace rtf {

namespace {

QString quoted(const QString &s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += u'"';
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'\\': out += u"\\\\"; break;
        case u'"': out += u"\\\""; break;
        case u'\t': out += u"\\t"; break;
        case u'\x2028': out += u"\\n"; break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0x2029)
                out += QStringLiteral("\\u{%1}").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

QString colourName(const QColor &c)
{
    return QStringLiteral("#%1").arg(c.rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString twips(double pixels)
{
    return QString::number(rules::twips(pixels));
}


QString tabKindCode(TabKind kind)
{
    switch (kind) {
    case TabKind::Right: return QStringLiteral("r");
    case TabKind::Center: return QStringLiteral("c");
    case TabKind::Decimal: return QStringLiteral("d");
    case TabKind::Bar: return QStringLiteral("b");
    case TabKind::Left: break;
    }
    return QStringLiteral("l");
}

// Tab stops as "r6480.1;l720.0": kind, position in twips, leader.
QString tabStopsText(const TabStopsRef &tabs)
{
    QStringList parts;
    for (const TabStop &t : tabs.stops)
        parts << tabKindCode(t.kind) + QString::number(t.position) + u'.' + QString::number(int(t.leader));
    return parts.join(u';');
}

QString numbers(std::initializer_list<int> values)
{
    QStringList parts;
    for (int v : values)
        parts << QString::number(v);
    return parts.join(u',');
}

QString describe(const QVariant &v);
QString propertyName(int key);

// Every property of a format, Qt's own and ours, in key order: what a style keeps.
QString describeFormat(const QTextFormat &f)
{
    const QMap<int, QVariant> properties = f.properties();
    QStringList parts;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (it.key() > StyleDigestProperty)
            parts << propertyName(it.key()) + u':' + describe(it.value());
        else if (it.key() != StyleDigestProperty)
            parts << QStringLiteral("%1:%2").arg(it.key(), 0, 16).arg(describe(it.value()));
    }
    return u'{' + parts.join(u' ') + u'}';
}

// Any value a format or the document keeps, as text: what is kept is what is shown.
QString describe(const QVariant &v)
{
    const QMetaType type = v.metaType();
    if (type == QMetaType::fromType<RowRef>()) {
        const auto r = v.value<RowRef>();
        return numbers({r.gap, r.left, r.height, r.header, r.keep, int(r.align)});
    }
    if (type == QMetaType::fromType<CellBordersRef>()) {
        const auto b = v.value<CellBordersRef>();
        return numbers({b.top.style, b.top.width, b.left.style, b.left.width, b.bottom.style, b.bottom.width,
                        b.right.style, b.right.width});
    }
    if (type == QMetaType::fromType<ListIndentRef>()) {
        const auto i = v.value<ListIndentRef>();
        return numbers({i.left, i.first, i.follow});
    }
    if (type == QMetaType::fromType<PictureParamsRef>()) {
        const auto p = v.value<PictureParamsRef>();
        return numbers({p.kindParam, p.width, p.height, p.goalWidth, p.goalHeight, p.scaleX, p.scaleY, p.cropLeft,
                        p.cropRight, p.cropTop, p.cropBottom, p.bitsPerPixel, p.widthBytes, p.planes});
    }
    if (type == QMetaType::fromType<TabStopsRef>())
        return tabStopsText(v.value<TabStopsRef>());
    if (type == QMetaType::fromType<PageSetup>()) {
        const auto p = v.value<PageSetup>();
        return numbers({p.paperWidth, p.paperHeight, p.marginLeft, p.marginRight, p.marginTop, p.marginBottom,
                        p.gutter, p.landscape, p.facingPages});
    }
    if (type == QMetaType::fromType<ListDefinitionRef>()) {
        const auto d = v.value<ListDefinitionRef>();
        QStringList levels;
        for (const ListLevelRef &l : d.levels)
            levels << numbers({l.format, l.start, l.leftIndent, l.firstIndent, l.follow, l.legal, l.noRestart})
                          + u'/' + quoted(l.text) + u'/' + quoted(l.written) + u'/' + quoted(l.face);
        return QStringLiteral("%1,%2,%3[%4]").arg(d.id).arg(d.templateId).arg(d.hybrid).arg(levels.join(u' '));
    }
    if (type == QMetaType::fromType<FontRef>()) {
        const auto f = v.value<FontRef>();
        return quoted(f.name) + u'/' + numbers({f.family, f.pitch, f.charset}) + u'/'
            + QString::fromLatin1(f.panose.toHex()) + u'/' + quoted(f.alternative);
    }
    if (type == QMetaType::fromType<StoryRef>())
        return QStringLiteral("story");     // a story is dumped where it stands
    if (type == QMetaType::fromType<QList<int>>()) {
        QStringList parts;
        for (int n : v.value<QList<int>>())
            parts << QString::number(n);
        return parts.join(u',');
    }
    switch (type.id()) {
    case QMetaType::QString: return quoted(v.toString());
    case QMetaType::QByteArray: return quoted(QString::fromLatin1(v.toByteArray()));
    case QMetaType::QStringList: return quoted(v.toStringList().join(u','));
    case QMetaType::QColor: return colourName(v.value<QColor>());
    case QMetaType::QBrush: {
        const QBrush brush = v.value<QBrush>();
        return brush.style() == Qt::NoBrush ? QStringLiteral("none") : colourName(brush.color());
    }
    case QMetaType::QTextLength: {
        const QTextLength l = v.value<QTextLength>();
        return QStringLiteral("%1:%2").arg(int(l.type())).arg(l.rawValue());
    }
    case QMetaType::QVariantList: {
        QStringList parts;
        for (const QVariant &item : v.toList())
            parts << describe(item);
        return u'[' + parts.join(u' ') + u']';
    }
    case QMetaType::QVariantMap: {
        const QVariantMap map = v.toMap();
        QStringList parts;
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            parts << it.key() + u'=' + describe(it.value());
        return u'{' + parts.join(u' ') + u'}';
    }
    case QMetaType::Double: return QString::number(v.toDouble(), 'g', 6);
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default: break;
    }
    if (type == QMetaType::fromType<QTextFormat>() || type == QMetaType::fromType<QTextCharFormat>()
        || type == QMetaType::fromType<QTextBlockFormat>())
        return describeFormat(v.value<QTextFormat>());
    if (v.canConvert<QString>())
        return v.toString();
    return QStringLiteral("<%1>").arg(QLatin1String(type.name()));
}

// The name a property of ours goes by in the dump.
QString propertyName(int key)
{
    switch (key) {
    case UnderlineKindProperty: return QStringLiteral("underlineKind");
    case DoubleStrikeProperty: return QStringLiteral("doubleStrike");
    case OffsetProperty: return QStringLiteral("offset");
    case CharStyleNameProperty: return QStringLiteral("charStyleName");
    case HighlightProperty: return QStringLiteral("highlight");
    case FieldInstructionProperty: return QStringLiteral("fieldInstruction");
    case FieldIdProperty: return QStringLiteral("fieldId");
    case FieldLockedProperty: return QStringLiteral("fieldLocked");
    case FieldOuterProperty: return QStringLiteral("fieldOuter");
    case AsianFaceProperty: return QStringLiteral("asianFace");
    case ComplexFaceProperty: return QStringLiteral("complexFace");
    case LanguageProperty: return QStringLiteral("language");
    case AsianLanguageProperty: return QStringLiteral("asianLanguage");
    case ComplexLanguageProperty: return QStringLiteral("complexLanguage");
    case KeptBytesProperty: return QStringLiteral("keptBytes");
    case HiddenTextProperty: return QStringLiteral("hiddenText");
    case NoteKindProperty: return QStringLiteral("noteKind");
    case NoteStoryProperty: return QStringLiteral("noteStory");
    case NoteAuthorProperty: return QStringLiteral("noteAuthor");
    case NoteInitialsProperty: return QStringLiteral("noteInitials");
    case NoteDateProperty: return QStringLiteral("noteDate");
    case NoteAutoNumberProperty: return QStringLiteral("noteAutoNumber");
    case PictureDataProperty: return QStringLiteral("pictureData");
    case PictureKindProperty: return QStringLiteral("pictureKind");
    case PictureParamsProperty: return QStringLiteral("pictureParams");
    case PictureTwinDataProperty: return QStringLiteral("pictureTwinData");
    case PictureTwinKindProperty: return QStringLiteral("pictureTwinKind");
    case PictureTwinParamsProperty: return QStringLiteral("pictureTwinParams");
    case TabStopsProperty: return QStringLiteral("tabStops");
    case KeepWithNextProperty: return QStringLiteral("keepWithNext");
    case WidowControlProperty: return QStringLiteral("widowControl");
    case ShadingPercentProperty: return QStringLiteral("shadingPercent");
    case ParaStyleNameProperty: return QStringLiteral("paraStyleName");
    case OutlineLevelProperty: return QStringLiteral("outlineLevel");
    case PageBreakCharProperty: return QStringLiteral("pageBreakChar");
    case ListFirstIndentProperty: return QStringLiteral("listFirstIndent");
    case SectionProperty: return QStringLiteral("section");
    case ListNumberProperty: return QStringLiteral("listNumber");
    case ListLevelProperty: return QStringLiteral("listLevel");
    case ListFormatProperty: return QStringLiteral("listFormat");
    case ListLevelTextProperty: return QStringLiteral("listLevelText");
    case ListStartProperty: return QStringLiteral("listStart");
    case ListLevelIndentProperty: return QStringLiteral("listLevelIndent");
    case ListDefinitionProperty: return QStringLiteral("listDefinition");
    case RowPropertiesProperty: return QStringLiteral("rowProperties");
    case CellShadingPercentProperty: return QStringLiteral("cellShadingPercent");
    case CellBorderKindsProperty: return QStringLiteral("cellBorderKinds");
    case CellFillerProperty: return QStringLiteral("cellFiller");
    case CellMergedProperty: return QStringLiteral("cellMerged");
    case CellColumnWidthsProperty: return QStringLiteral("cellColumnWidths");
    case CellKeptWordsProperty: return QStringLiteral("cellKeptWords");
    case RowKeptWordsProperty: return QStringLiteral("rowKeptWords");
    default: break;
    }
    return QStringLiteral("p%1").arg(key - StyleDigestProperty);
}

// Our properties of a format that its line does not already show, as
// " name=value": the rest of what is kept, so a loss of any of it shows.
QString otherProperties(const QTextFormat &f, std::initializer_list<int> shown)
{
    QString out;
    const QMap<int, QVariant> properties = f.properties();
    for (auto it = properties.lowerBound(StyleDigestProperty + 1); it != properties.cend(); ++it) {
        // A field's id only tells it from its neighbours: the fields around
        // a run show by their instructions and locks.
        if (it.key() == FieldIdProperty || std::find(shown.begin(), shown.end(), it.key()) != shown.end())
            continue;
        if (it.key() == FieldOuterProperty) {
            QStringList outer;
            for (const QVariant &o : it.value().toList())
                outer << quoted(o.toList().value(1).toString()) + (o.toList().value(2).toBool() ? QStringLiteral("/locked") : QString());
            out += QStringLiteral(" fieldOuter=[") + outer.join(u' ') + u']';
            continue;
        }
        out += u' ' + propertyName(it.key()) + u'=' + describe(it.value());
    }
    return out;
}

class Dumper
{
public:
    Dumper(const QTextDocument &doc, Detail detail) : m_resolver(doc), m_detail(detail) {}

    QString out;
    QSet<QString> faces;        // every face the text uses

    void frame(QTextFrame::iterator it, const QString &indent)
    {
        for (; !it.atEnd(); ++it) {
            if (auto *table = qobject_cast<QTextTable *>(it.currentFrame()))
                this->table(table, indent);
            else if (!it.currentFrame())
                block(it.currentBlock(), indent);
        }
    }

private:
    void table(QTextTable *t, const QString &indent)
    {
        out += indent + QStringLiteral("table rows=%1 cols=%2").arg(t->rows()).arg(t->columns());
        if (t->format().headerRowCount())
            out += QStringLiteral(" header=%1").arg(t->format().headerRowCount());
        out += u'\n';
        for (int r = 0; r < t->rows(); ++r) {
            for (int c = 0; c < t->columns(); ++c) {
                const QTextTableCell cell = t->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                const QTextTableCellFormat f = cell.format().toTableCellFormat();
                out += indent + QStringLiteral("  cell %1,%2").arg(r).arg(c);
                if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
                    out += QStringLiteral(" span=%1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
                if (f.boolProperty(CellFillerProperty))
                    out += QStringLiteral(" filler");
                const auto borders = f.property(CellBorderKindsProperty).value<CellBordersRef>();
                if (borders.any())
                    out += QStringLiteral(" borders=%1%2%3%4").arg(borders.top.style).arg(borders.left.style)
                               .arg(borders.bottom.style).arg(borders.right.style);
                if (f.background().style() != Qt::NoBrush)
                    out += QStringLiteral(" shade=") + colourName(f.background().color());
                if (f.hasProperty(RowKeptWordsProperty))
                    out += QStringLiteral(" row=") + quoted(QString::fromLatin1(f.property(RowKeptWordsProperty).toByteArray()));
                if (f.hasProperty(CellKeptWordsProperty))
                    out += QStringLiteral(" words=") + quoted(QString::fromLatin1(f.property(CellKeptWordsProperty).toByteArray()));
                if (f.verticalAlignment() == QTextCharFormat::AlignMiddle)
                    out += QStringLiteral(" valign=middle");
                else if (f.verticalAlignment() == QTextCharFormat::AlignBottom)
                    out += QStringLiteral(" valign=bottom");
                // The widths a cell keeps for a copy of it say more only where they differ from the table's.
                QList<int> grid;
                const QList<QTextLength> constraints = t->format().columnWidthConstraints();
                for (int k = c; k < c + cell.columnSpan() && k < constraints.size(); ++k)
                    grid.append(rules::twips(constraints[k].rawValue()));
                const bool gridWidths = f.property(CellColumnWidthsProperty).value<QList<int>>() == grid;
                out += others(f, {CellFillerProperty, RowKeptWordsProperty, CellKeptWordsProperty,
                                           gridWidths ? int(CellColumnWidthsProperty) : int(CellFillerProperty)});
                out += u'\n';
                frame(cell.begin(), indent + QStringLiteral("    "));
            }
        }
    }

    void block(const QTextBlock &b, const QString &indent)
    {
        const QTextBlockFormat f = b.blockFormat();
        out += indent + QStringLiteral("paragraph ");
        switch (rules::alignment(f.alignment())) {
        case Align::Right: out += QStringLiteral("right"); break;
        case Align::Center: out += QStringLiteral("center"); break;
        case Align::Justify: out += QStringLiteral("justify"); break;
        case Align::Left: out += QStringLiteral("left"); break;
        }
        const auto length = [&](const char *name, double px) {
            if (rules::twips(px))
                out += QStringLiteral(" %1=%2").arg(QLatin1String(name), twips(px));
        };
        length("li", f.leftMargin());
        length("ri", f.rightMargin());
        length("fi", f.hasProperty(ListFirstIndentProperty) ? f.doubleProperty(ListFirstIndentProperty) : f.textIndent());
        length("sb", f.topMargin());
        length("sa", f.bottomMargin());
        if (f.lineHeightType() == QTextBlockFormat::ProportionalHeight && f.lineHeight() != 100)
            out += QStringLiteral(" sl=%1%").arg(f.lineHeight());
        else if (f.lineHeightType() == QTextBlockFormat::FixedHeight)
            out += QStringLiteral(" sl=exactly") + twips(f.lineHeight());
        else if (f.lineHeightType() == QTextBlockFormat::MinimumHeight)
            out += QStringLiteral(" sl=atleast") + twips(f.lineHeight());
        if (f.hasProperty(TabStopsProperty))
            out += QStringLiteral(" tabs=") + describe(f.property(TabStopsProperty));
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            out += f.boolProperty(PageBreakCharProperty) ? QStringLiteral(" page") : QStringLiteral(" pagebb");
        if (f.nonBreakableLines())
            out += QStringLiteral(" keep");
        if (f.boolProperty(KeepWithNextProperty))
            out += QStringLiteral(" keepnext");
        if (f.boolProperty(WidowControlProperty))
            out += QStringLiteral(" widow");
        if (f.background().style() != Qt::NoBrush)
            out += QStringLiteral(" shade=") + colourName(f.background().color());
        if (f.layoutDirection() == Qt::RightToLeft)
            out += QStringLiteral(" rtl");
        if (f.hasProperty(ParaStyleNameProperty))
            out += QStringLiteral(" style=") + quoted(f.stringProperty(ParaStyleNameProperty));
        if (f.hasProperty(SectionProperty))
            out += QStringLiteral(" section");
        section(f.property(SectionProperty), indent + QStringLiteral("  "));
        if (QTextList *list = b.textList()) {
            // Lists by the order they come in: their numbers are the file's own.
            const QTextListFormat lf = list->format();
            const int number = lf.intProperty(ListNumberProperty);
            if (!m_lists.contains(number))
                m_lists.insert(number, int(m_lists.size()) + 1);
            const int ordinal = m_lists.value(number);
            out += QStringLiteral(" list=%1:%2 label=%3")
                       .arg(ordinal)
                       .arg(lf.intProperty(ListLevelProperty))
                       .arg(quoted(list->itemText(b).isEmpty() ? QString::number(-lf.style()) : list->itemText(b)));
            if (lf.hasProperty(ListStartProperty) && lf.intProperty(ListStartProperty) != 1)
                out += QStringLiteral(" start=%1").arg(lf.intProperty(ListStartProperty));
            // What else the list keeps, where it first shows.
            if (!m_listsShown.contains(list)) {
                m_listsShown.insert(list);
                out += others(lf, {ListNumberProperty, ListLevelProperty, ListStartProperty});
            }
        }
        out += others(f, {ListFirstIndentProperty, TabStopsProperty, PageBreakCharProperty,
                                   KeepWithNextProperty, WidowControlProperty, ParaStyleNameProperty, SectionProperty});
        out += u'\n';
        out += takeSection();

        QString current;
        QString text;
        bool open = false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat cf = fragment.charFormat();
            if (cf.isImageFormat() || cf.objectType() == NoteObject || cf.objectType() == KeptObject) {
                if (open)
                    out += indent + QStringLiteral("  run ") + current + QStringLiteral(" text=") + quoted(text) + u'\n';
                open = false;
                for (int i = 0; i < fragment.length(); ++i)
                    object(cf, indent + QStringLiteral("  "));
                continue;
            }
            const QString look = run(cf);
            if (open && look == current) {
                text += fragment.text();
                continue;
            }
            if (open)
                out += indent + QStringLiteral("  run ") + current + QStringLiteral(" text=") + quoted(text) + u'\n';
            current = look;
            text = fragment.text();
            open = true;
        }
        if (open)
            out += indent + QStringLiteral("  run ") + current + QStringLiteral(" text=") + quoted(text) + u'\n';
    }

    QString run(const QTextCharFormat &f)
    {
        const RunLook s = m_resolver.resolve(f);
        faces.insert(s.face);
        if (f.hasProperty(AsianFaceProperty))
            faces.insert(f.stringProperty(AsianFaceProperty));
        if (f.hasProperty(ComplexFaceProperty))
            faces.insert(f.stringProperty(ComplexFaceProperty));
        QString style;
        if (s.bold)
            style += u'b';
        if (s.italic)
            style += u'i';
        if (s.underline)
            style += u'u';
        if (style.isEmpty())
            style = QStringLiteral("-");
        QString line = QStringLiteral("face=%1 size=%2 color=%3 style=%4")
                           .arg(quoted(s.face), QString::number(s.points),
                                s.hasColour ? colourName(QColor(s.colour)) : QStringLiteral("auto"), style);
        if (s.underline && (f.hasProperty(UnderlineKindProperty) || f.underlineStyle() != QTextCharFormat::SingleUnderline))
            line += QStringLiteral(" ul=%1").arg(f.hasProperty(UnderlineKindProperty) ? 100 + f.intProperty(UnderlineKindProperty)
                                                                                     : int(f.underlineStyle()));
        if (f.fontStrikeOut())
            line += f.boolProperty(DoubleStrikeProperty) ? QStringLiteral(" dstrike") : QStringLiteral(" strike");
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            line += QStringLiteral(" super");
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            line += QStringLiteral(" sub");
        if (f.intProperty(OffsetProperty))
            line += QStringLiteral(" offset=%1").arg(f.intProperty(OffsetProperty));
        if (f.background().style() != Qt::NoBrush)
            line += (f.boolProperty(HighlightProperty) ? QStringLiteral(" hl=") : QStringLiteral(" bg="))
                + colourName(f.background().color());
        if (f.fontCapitalization() == QFont::AllUppercase)
            line += QStringLiteral(" caps");
        else if (f.fontCapitalization() == QFont::SmallCaps)
            line += QStringLiteral(" scaps");
        if (f.hasProperty(AsianFaceProperty))
            line += QStringLiteral(" asian=") + quoted(f.stringProperty(AsianFaceProperty));
        if (f.hasProperty(ComplexFaceProperty))
            line += QStringLiteral(" complex=") + quoted(f.stringProperty(ComplexFaceProperty));
        if (f.hasProperty(LanguageProperty) || f.hasProperty(AsianLanguageProperty) || f.hasProperty(ComplexLanguageProperty))
            line += QStringLiteral(" lang=%1/%2/%3").arg(f.intProperty(LanguageProperty)).arg(f.intProperty(AsianLanguageProperty))
                        .arg(f.intProperty(ComplexLanguageProperty));
        if (f.hasProperty(CharStyleNameProperty))
            line += QStringLiteral(" cs=") + quoted(f.stringProperty(CharStyleNameProperty));
        if (f.hasProperty(FieldOuterProperty)) {
            QStringList outer;
            for (const QVariant &o : f.property(FieldOuterProperty).toList())
                outer << o.toList().value(1).toString();
            line += QStringLiteral(" in=") + quoted(outer.join(QLatin1String(" > ")));
        }
        if (f.hasProperty(FieldInstructionProperty))
            line += QStringLiteral(" field=") + quoted(f.stringProperty(FieldInstructionProperty));
        else if (f.isAnchor())
            line += QStringLiteral(" href=") + quoted(f.anchorHref());
        // A field's id only tells it from its neighbours; which fields are locked is kept.
        line += others(f, {UnderlineKindProperty, DoubleStrikeProperty, OffsetProperty, HighlightProperty,
                           AsianFaceProperty, ComplexFaceProperty, LanguageProperty, AsianLanguageProperty,
                           ComplexLanguageProperty, CharStyleNameProperty, FieldInstructionProperty, FieldIdProperty,
                           FieldOuterProperty});
        if (m_detail == Detail::Everything && f.hasProperty(FieldOuterProperty)) {
            QString locked;
            for (const QVariant &o : f.property(FieldOuterProperty).toList())
                locked += o.toList().value(2).toBool() ? u'1' : u'0';
            if (locked.contains(u'1'))
                line += QStringLiteral(" inLocked=") + locked;
        }
        return line;
    }

    void object(const QTextCharFormat &f, const QString &indent)
    {
        if (f.isImageFormat()) {
            const QTextImageFormat img = f.toImageFormat();
            const QByteArray data = f.property(PictureDataProperty).toByteArray();
            out += indent + QStringLiteral("picture kind=%1 bytes=%2 md5=%3 size=%4x%5 params=%6")
                                .arg(f.intProperty(PictureKindProperty))
                                .arg(data.size())
                                .arg(QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex().left(12)))
                                .arg(qRound(img.width()))
                                .arg(qRound(img.height()))
                                .arg(describe(f.property(PictureParamsProperty)));
            if (f.hasProperty(PictureTwinDataProperty)) {
                const QByteArray twin = f.property(PictureTwinDataProperty).toByteArray();
                out += QStringLiteral(" twin=%1:%2 twinmd5=%3 twinparams=%4")
                           .arg(f.intProperty(PictureTwinKindProperty))
                           .arg(twin.size())
                           .arg(QString::fromLatin1(QCryptographicHash::hash(twin, QCryptographicHash::Md5).toHex().left(12)))
                           .arg(describe(f.property(PictureTwinParamsProperty)));
            }
            out += others(f, {PictureDataProperty, PictureKindProperty, PictureParamsProperty,
                                       PictureTwinDataProperty, PictureTwinKindProperty, PictureTwinParamsProperty});
            out += u'\n';
        } else if (f.objectType() == NoteObject) {
            static const char *const kinds[] = {"footnote", "endnote", "comment"};
            out += indent + QStringLiteral("note ") + QLatin1String(kinds[std::clamp(f.intProperty(NoteKindProperty), 0, 2)]);
            if (f.boolProperty(NoteAutoNumberProperty))
                out += QStringLiteral(" auto");
            if (f.hasProperty(NoteAuthorProperty))
                out += QStringLiteral(" author=") + quoted(f.stringProperty(NoteAuthorProperty));
            out += others(f, {NoteKindProperty, NoteAutoNumberProperty, NoteAuthorProperty, NoteStoryProperty});
            out += u'\n';
            if (const auto story = f.property(NoteStoryProperty).value<StoryRef>().doc)
                Dumper(*story, m_detail).storyInto(out, *story, indent + QStringLiteral("  "));
        } else if (f.hasProperty(HiddenTextProperty)) {
            out += indent + QStringLiteral("hidden ") + quoted(f.stringProperty(HiddenTextProperty))
                + others(f, {HiddenTextProperty}) + u'\n';
        } else if (f.hasProperty(KeptBytesProperty)) {
            out += indent + QStringLiteral("kept ") + quoted(QString::fromLatin1(f.property(KeptBytesProperty).toByteArray()))
                + others(f, {KeptBytesProperty}) + u'\n';
        } else if (f.hasProperty(FieldInstructionProperty)) {
            out += indent + QStringLiteral("field ") + quoted(f.stringProperty(FieldInstructionProperty))
                + others(f, {FieldInstructionProperty}) + u'\n';
        }
    }

public:
    void section(const QVariant &data, const QString &indent)
    {
        if (!data.isValid())
            return;
        const SectionRef s = data.value<SectionRef>();
        QString line = indent + QStringLiteral("section ") + quoted(QString::fromLatin1(s.properties)) + u'\n';
        for (const HeaderRef &h : s.headers) {
            line += indent + QStringLiteral("  ") + QString::fromLatin1(h.keyword) + u'\n';
            if (h.story.doc)
                Dumper(*h.story.doc, m_detail).storyInto(line, *h.story.doc, indent + QStringLiteral("    "));
        }
        m_pendingSection = line;
    }

    QString takeSection() { return std::exchange(m_pendingSection, QString()); }

    void storyInto(QString &target, const QTextDocument &doc, const QString &indent)
    {
        out.clear();
        frame(doc.rootFrame()->begin(), indent);
        target += out;
    }

private:
    // Our properties of a format its line does not already show.
    QString others(const QTextFormat &f, std::initializer_list<int> shown) const
    {
        return m_detail == Detail::Everything ? otherProperties(f, shown) : QString();
    }

    RunLookResolver m_resolver;
    Detail m_detail;
    QString m_pendingSection;
    QHash<int, int> m_lists;
    QSet<const QTextList *> m_listsShown;
};

} // namespace

QString dump(const QTextDocument &doc, Detail detail)
{
    Dumper d(doc, detail);
    d.frame(doc.rootFrame()->begin(), QString());
    // What the document keeps as a whole, when it keeps anything.
    // Styles by kind and name: their order in the sheet says nothing.
    QList<StyleRef> styles = doc.property(StylesKey).value<QList<StyleRef>>();
    std::stable_sort(styles.begin(), styles.end(), [](const StyleRef &a, const StyleRef &b) {
        return std::tie(a.kind, a.name) < std::tie(b.kind, b.name);
    });
    for (const StyleRef &s : std::as_const(styles)) {
        d.out += QStringLiteral("style %1 kind=%2 based=%3").arg(quoted(s.name)).arg(s.kind).arg(quoted(s.basedOn));
        if (detail == Detail::Everything) {
            if (s.next != s.name)
                d.out += QStringLiteral(" next=") + quoted(s.next);
            if (s.additive)
                d.out += QStringLiteral(" additive");
            d.out += QStringLiteral(" para=") + describeFormat(s.block) + QStringLiteral(" chars=") + describeFormat(s.chars);
        }
        d.out += u'\n';
    }
    const QVariantMap info = doc.property(InfoKey).toMap();
    for (auto it = info.cbegin(); it != info.cend(); ++it)
        d.out += QStringLiteral("info %1=%2\n").arg(it.key(), quoted(it.value().toString()));
    // A face the text uses as it is written, where the file said more of
    // it than its name tells.
    for (const StyleRef &s : doc.property(StylesKey).value<QList<StyleRef>>()) {
        for (const QString &face : s.chars.toCharFormat().fontFamilies().toStringList())
            d.faces.insert(face);
    }
    QList<FontRef> fonts = doc.property(FontsKey).value<QList<FontRef>>();
    std::sort(fonts.begin(), fonts.end(), [](const FontRef &a, const FontRef &b) { return a.name < b.name; });
    for (const FontRef &font : fonts) {
        if (detail != Detail::Everything || !d.faces.contains(font.name))
            continue;
        if (const FontRef written = writtenFont(font.name, fonts); written != guessedFont(font.name))
            d.out += QStringLiteral("font ") + describe(QVariant::fromValue(written)) + u'\n';
    }
    if (const std::optional<PageSetup> page = pageSetup(doc))
        d.out += QStringLiteral("page ") + describe(QVariant::fromValue(*page)) + u'\n';
    if (const QByteArray words = doc.property(DocumentKeywordsKey).toByteArray(); !words.isEmpty())
        d.out += QStringLiteral("document ") + quoted(QString::fromLatin1(words)) + u'\n';
    for (const QByteArray &group : doc.property(KeptGroupsKey).value<QList<QByteArray>>())
        d.out += QStringLiteral("kept ") + quoted(QString::fromLatin1(group)) + u'\n';
    if (detail == Detail::Everything && doc.property(LanguageKey).isValid())
        d.out += QStringLiteral("language %1\n").arg(doc.property(LanguageKey).toInt());
    // Any other key the document keeps, as it stands.
    const QList<QByteArray> named {StylesKey, InfoKey, FontsKey, PageKey, DocumentKeywordsKey, KeptGroupsKey,
                                   LanguageKey, FirstSectionKey, FieldIdBaseKey};
    for (const QByteArray &key : doc.dynamicPropertyNames()) {
        if (detail == Detail::Everything && !named.contains(key) && doc.property(key).isValid())
            d.out += QStringLiteral("key %1=%2\n").arg(QString::fromLatin1(key), describe(doc.property(key)));
    }
    d.section(doc.property(FirstSectionKey), QString());
    d.out += d.takeSection();
    return d.out;
}

} // namespace rtf
