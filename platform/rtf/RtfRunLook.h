#pragma once

#include <QFont>
#include <QRgb>
#include <QString>

class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;

namespace rtf {

// A run's formatting with every unset property filled in from the document's
// default font, as the writer stores it and the dump shows it.
struct RunLook {
    QString face;
    double points = 12;
    int halfPoints = 24;        // what RTF can hold: points rounded to a half, clamped
    QRgb colour = 0;
    bool hasColour = false;     // false = automatic colour
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class RunLookResolver
{
public:
    explicit RunLookResolver(const QTextDocument &doc);

    RunLook resolve(const QTextCharFormat &format) const;
    QString defaultFace() const { return m_defaultFont.family(); }

private:
    QFont m_defaultFont;
    double m_defaultPoints = 12;
};

} // namespace rtf
