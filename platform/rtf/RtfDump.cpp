#include "RtfDump.h"

#include "RtfStyle.h"

#include <QTextBlock>
#include <QTextDocument>

namespace rtf {

namespace {

bool sameLook(const ResolvedStyle &a, const ResolvedStyle &b)
{
    return a.face == b.face && a.points == b.points && a.hasColour == b.hasColour
        && (!a.hasColour || a.colour == b.colour) && a.bold == b.bold && a.italic == b.italic
        && a.underline == b.underline;
}

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

QString alignmentName(Qt::Alignment a)
{
    switch (a) {
    case Qt::AlignRight: return QStringLiteral("right");
    case Qt::AlignHCenter: return QStringLiteral("center");
    case Qt::AlignJustify: return QStringLiteral("justify");
    default: return QStringLiteral("left");
    }
}

QString runLine(const ResolvedStyle &s, const QString &text)
{
    QString style;
    if (s.bold)
        style += u'b';
    if (s.italic)
        style += u'i';
    if (s.underline)
        style += u'u';
    if (style.isEmpty())
        style = QStringLiteral("-");
    const QString colour = s.hasColour
        ? QStringLiteral("#%1").arg(s.colour & 0xFFFFFF, 6, 16, QLatin1Char('0'))
        : QStringLiteral("auto");
    return QStringLiteral("  run face=%1 size=%2 color=%3 style=%4 text=%5\n")
        .arg(quoted(s.face), QString::number(s.points), colour, style, quoted(text));
}

} // namespace

QString dump(const QTextDocument &doc)
{
    const StyleResolver resolver(doc);
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out += QStringLiteral("paragraph ") + alignmentName(StyleResolver::alignment(b.blockFormat()))
            + u'\n';
        ResolvedStyle current;
        QString text;
        bool open = false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const ResolvedStyle s = resolver.resolve(f.charFormat());
            if (open && sameLook(s, current)) {
                text += f.text();
                continue;
            }
            if (open)
                out += runLine(current, text);
            current = s;
            text = f.text();
            open = true;
        }
        if (open)
            out += runLine(current, text);
    }
    return out;
}

} // namespace rtf
