#include "RtfDump.h"

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

class Dumper
{
public:
    explicit Dumper(const QTextDocument &doc) : m_resolver(doc) {}

    QString out;

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
                const QList<int> kinds = f.property(CellBorderKindsProperty).value<QList<int>>();
                if (kinds.size() == 8 && (kinds[0] || kinds[2] || kinds[4] || kinds[6]))
                    out += QStringLiteral(" borders=%1%2%3%4").arg(kinds[0]).arg(kinds[2]).arg(kinds[4]).arg(kinds[6]);
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
            out += QStringLiteral(" tabs=") + f.stringProperty(TabStopsProperty);
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
        }
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

    QString run(const QTextCharFormat &f) const
    {
        const RunLook s = m_resolver.resolve(f);
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
                                .arg(numbers(f.property(PictureParamsProperty).value<QList<int>>()));
            if (f.hasProperty(PictureTwinDataProperty))
                out += QStringLiteral(" twin=%1:%2")
                           .arg(f.intProperty(PictureTwinKindProperty))
                           .arg(f.property(PictureTwinDataProperty).toByteArray().size());
            out += u'\n';
        } else if (f.objectType() == NoteObject) {
            static const char *const kinds[] = {"footnote", "endnote", "comment"};
            out += indent + QStringLiteral("note ") + QLatin1String(kinds[std::clamp(f.intProperty(NoteKindProperty), 0, 2)]);
            if (f.boolProperty(NoteAutoNumberProperty))
                out += QStringLiteral(" auto");
            if (f.hasProperty(NoteAuthorProperty))
                out += QStringLiteral(" author=") + quoted(f.stringProperty(NoteAuthorProperty));
            out += u'\n';
            if (const auto story = f.property(NoteStoryProperty).value<StoryRef>().doc)
                Dumper(*story).storyInto(out, *story, indent + QStringLiteral("  "));
        } else if (f.hasProperty(HiddenTextProperty)) {
            out += indent + QStringLiteral("hidden ") + quoted(f.stringProperty(HiddenTextProperty)) + u'\n';
        } else if (f.hasProperty(KeptBytesProperty)) {
            out += indent + QStringLiteral("kept ") + quoted(QString::fromLatin1(f.property(KeptBytesProperty).toByteArray())) + u'\n';
        } else if (f.hasProperty(FieldInstructionProperty)) {
            out += indent + QStringLiteral("field ") + quoted(f.stringProperty(FieldInstructionProperty)) + u'\n';
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
                Dumper(*h.story.doc).storyInto(line, *h.story.doc, indent + QStringLiteral("    "));
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
    static QString numbers(const QList<int> &list)
    {
        QStringList parts;
        for (int v : list)
            parts << QString::number(v);
        return parts.join(u',');
    }

    RunLookResolver m_resolver;
    QString m_pendingSection;
    QHash<int, int> m_lists;
};

} // namespace

QString dump(const QTextDocument &doc)
{
    Dumper d(doc);
    d.frame(doc.rootFrame()->begin(), QString());
    // What the document keeps as a whole, when it keeps anything.
    for (const StyleRef &s : doc.property(StylesKey).value<QList<StyleRef>>())
        d.out += QStringLiteral("style %1 kind=%2 based=%3\n").arg(quoted(s.name)).arg(s.kind).arg(quoted(s.basedOn));
    const QVariantMap info = doc.property(InfoKey).toMap();
    for (auto it = info.cbegin(); it != info.cend(); ++it)
        d.out += QStringLiteral("info %1=%2\n").arg(it.key(), quoted(it.value().toString()));
    const QList<int> page = doc.property(PageKey).value<QList<int>>();
    if (!page.isEmpty()) {
        QStringList parts;
        for (int v : page)
            parts << QString::number(v);
        d.out += QStringLiteral("page ") + parts.join(u',') + u'\n';
    }
    if (const QByteArray words = doc.property(DocumentKeywordsKey).toByteArray(); !words.isEmpty())
        d.out += QStringLiteral("document ") + quoted(QString::fromLatin1(words)) + u'\n';
    for (const QByteArray &group : doc.property(KeptGroupsKey).value<QList<QByteArray>>())
        d.out += QStringLiteral("kept ") + quoted(QString::fromLatin1(group)) + u'\n';
    d.section(doc.property(FirstSectionKey), QString());
    d.out += d.takeSection();
    return d.out;
}

} // namespace rtf
