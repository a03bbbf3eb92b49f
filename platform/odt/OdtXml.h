#pragma once

#include "platform/package/Xml.h"

#include <QRgb>
#include <QString>
#include <QStringView>

#include <optional>

// What every part of the OpenDocument reader needs from the XML: namespaces
// by their URIs (never by the prefixes a file chose), attributes, walking an
// element's children, and the format's units.
namespace odt {

enum class Ns : quint8 { Other, Office, Style, Text, Table, Draw, Fo, Xlink, Dc, Meta, Svg, Loext, Manifest, Config, Field };

Ns nsOf(QStringView uri);
// "fo", "style", ... : the key prefix properties are stored under.
QLatin1StringView prefixOf(Ns ns);

using package::XmlReader;

// The element just started is ns:local.
inline bool is(const XmlReader &x, Ns ns, QLatin1StringView local)
{
    return x.name() == local && nsOf(x.namespaceUri()) == ns;
}

QStringView attr(const XmlReader &x, Ns ns, QLatin1StringView local);
inline QString attrString(const XmlReader &x, Ns ns, QLatin1StringView local)
{
    return attr(x, ns, local).toString();
}

// Calls child() for each element inside the one just started, which must
// read that child to its end (or skip it); returns at the element's end, or
// when the reader stops on an error.
template<class F>
void children(XmlReader &x, F &&child)
{
    for (;;) {
        const auto token = x.next();
        if (token == XmlReader::StartElement)
            child();
        else if (token == XmlReader::EndElement || token == XmlReader::Invalid || token == XmlReader::EndDocument)
            return;
    }
}

// Reads past the end of the element just started.
void skip(XmlReader &x);
// The text inside the element just started, with that of its descendants.
QString elementText(XmlReader &x, qsizetype cap = 65536);

// Lengths: "2.5cm", "12pt", "0.5in", "-3mm", "10px", "1pc". Points, or nothing
// for a percentage or a malformed value.
std::optional<double> points(QStringView value);
// Twips (1/20 pt), clamped to the longest length the model takes.
std::optional<int> twips(QStringView value);
// "120%" -> 120.
std::optional<double> percent(QStringView value);
// "#rrggbb"; nothing for "transparent" or anything else.
std::optional<QRgb> colour(QStringView value);

// A style name as a person reads it: "Heading_20_1" -> "Heading 1".
QString decodeName(QStringView name);

// A string as RTF text inside a kept group: braces and backslashes escaped,
// other than printable ASCII as \uN?.
QByteArray rtfText(QStringView text);

} // namespace odt
