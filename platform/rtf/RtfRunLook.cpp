#include "RtfRunLook.h"

#include "RtfRules.h"

#include <QTextDocument>
#include <QTextFormat>

#include <algorithm>
#include <cmath>

namespace rtf {

RunLookResolver::RunLookResolver(const QTextDocument &doc)
    : m_defaultFont(doc.defaultFont())
{
    if (m_defaultFont.pointSizeF() > 0)
        m_defaultPoints = m_defaultFont.pointSizeF();
}

RunLook RunLookResolver::resolve(const QTextCharFormat &format) const
{
    RunLook s;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        s.face = families.first();
    else
        s.face = m_defaultFont.family();

    const double pt = format.fontPointSize();
    s.points = pt > 0 ? pt : m_defaultPoints;
    const double half = std::round(s.points * 2);
    s.halfPoints = int(std::clamp(half, 1.0, double(rules::MaxHalfPoints)));

    const QBrush fg = format.foreground();
    if (fg.style() != Qt::NoBrush) {
        s.colour = fg.color().rgb();
        s.hasColour = true;
    }
    s.bold = format.fontWeight() >= QFont::Bold;
    s.italic = format.fontItalic();
    s.underline = rules::underlined(format);
    return s;
}

} // namespace rtf
