#include "OdtXml.h"

#include "platform/rtf/RtfRules.h"

#include <algorithm>
#include <cmath>

namespace odt {

namespace {

struct Namespace {
    QLatin1StringView uri;
    Ns ns;
    QLatin1StringView prefix;
};

constexpr Namespace namespaces[] = {
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:office:1.0"), Ns::Office, QLatin1StringView("office")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:style:1.0"), Ns::Style, QLatin1StringView("style")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:text:1.0"), Ns::Text, QLatin1StringView("text")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:table:1.0"), Ns::Table, QLatin1StringView("table")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"), Ns::Draw, QLatin1StringView("draw")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"), Ns::Fo, QLatin1StringView("fo")},
    {QLatin1StringView("http://www.w3.org/1999/xlink"), Ns::Xlink, QLatin1StringView("xlink")},
    {QLatin1StringView("http://purl.org/dc/elements/1.1/"), Ns::Dc, QLatin1StringView("dc")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:meta:1.0"), Ns::Meta, QLatin1StringView("meta")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"), Ns::Svg, QLatin1StringView("svg")},
    {QLatin1StringView("urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0"), Ns::Loext,
     QLatin1StringView("loext")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"), Ns::Manifest,
     QLatin1StringView("manifest")},
    {QLatin1StringView("urn:oasis:names:tc:opendocument:xmlns:config:1.0"), Ns::Config, QLatin1StringView("config")},
    {QLatin1StringView("urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0"), Ns::Field,
     QLatin1StringView("field")},
};

QLatin1StringView uriOf(Ns ns)
{
    for (const Namespace &n : namespaces)
        if (n.ns == ns)
            return n.uri;
    return {};
}

} // namespace

Ns nsOf(QStringView uri)
{
    for (const Namespace &n : namespaces)
        if (uri == n.uri)
            return n.ns;
    return Ns::Other;
}

QLatin1StringView prefixOf(Ns ns)
{
    for (const Namespace &n : namespaces)
        if (n.ns == ns)
            return n.prefix;
    return QLatin1StringView("x");
}

QStringView attr(const XmlReader &x, Ns ns, QLatin1StringView local)
{
    const QLatin1StringView uri = uriOf(ns);
    const QXmlStreamAttributes attributes = x.attributes();   // a const list: no copy of each
    for (const QXmlStreamAttribute &a : attributes)
        if (a.name() == local && a.namespaceUri() == uri)
            return a.value();
    return {};
}

void skip(XmlReader &x)
{
    int depth = 1;
    while (depth > 0) {
        switch (x.next()) {
        case XmlReader::StartElement: ++depth; break;
        case XmlReader::EndElement: --depth; break;
        case XmlReader::Invalid:
        case XmlReader::EndDocument: return;
        default: break;
        }
    }
}

QString elementText(XmlReader &x, qsizetype cap)
{
    QString out;
    int depth = 1;
    while (depth > 0) {
        switch (x.next()) {
        case XmlReader::StartElement: ++depth; break;
        case XmlReader::EndElement: --depth; break;
        case XmlReader::Characters:
            if (out.size() < cap)
                out += x.text().first(std::min(x.text().size(), cap - out.size()));
            break;
        case XmlReader::Invalid:
        case XmlReader::EndDocument: return out;
        default: break;
        }
    }
    return out;
}

std::optional<double> points(QStringView value)
{
    value = value.trimmed();
    qsizetype unit = value.size();
    while (unit > 0 && value.at(unit - 1).isLetter())
        --unit;
    bool ok = false;
    const double n = value.first(unit).toDouble(&ok);
    if (!ok || !std::isfinite(n))
        return std::nullopt;
    const QStringView u = value.sliced(unit);
    double factor = 0;
    if (u == u"pt")
        factor = 1;
    else if (u == u"cm")
        factor = 72 / 2.54;
    else if (u == u"mm")
        factor = 72 / 25.4;
    else if (u == u"in" || u == u"inch")
        factor = 72;
    else if (u == u"pc")
        factor = 12;
    else if (u == u"px")
        factor = 0.75;
    else
        return std::nullopt;
    return n * factor;
}

std::optional<int> twips(QStringView value)
{
    const auto pt = points(value);
    if (!pt)
        return std::nullopt;
    const double tw = std::clamp(*pt * 20, -double(rtf::rules::MaxLength), double(rtf::rules::MaxLength));
    return int(std::lround(tw));
}

std::optional<double> percent(QStringView value)
{
    value = value.trimmed();
    if (!value.endsWith(u'%'))
        return std::nullopt;
    bool ok = false;
    const double n = value.chopped(1).toDouble(&ok);
    if (!ok || !std::isfinite(n))
        return std::nullopt;
    return n;
}

std::optional<QRgb> colour(QStringView value)
{
    value = value.trimmed();
    if (value.size() != 7 || value.front() != u'#')
        return std::nullopt;
    bool ok = false;
    const uint rgb = value.sliced(1).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return qRgb(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF);
}

QString decodeName(QStringView name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name.at(i) == u'_' && i + 3 < name.size() && name.at(i + 3) == u'_') {
            bool ok = false;
            const uint code = name.sliced(i + 1, 2).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 3;
                continue;
            }
        }
        out += name.at(i);
    }
    return out;
}

QByteArray rtfText(QStringView text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u >= 0x20 && u < 0x7F) {
            out += char(u);
        } else if (u >= 0x20) {
            rtf::rules::appendUnicodeEscape(out, u);
        }
    }
    return out;
}

} // namespace odt
