// What every part of the reader needs from the XML and the package:
// namespaces by URI (transitional and strict alike, never by prefix),
// attributes and values, and relationships between parts.

#include "DocxContext.h"

#include <QUrl>

namespace docx {

namespace {

struct Namespace {
    QLatin1StringView uri;
    Ns ns;
};

constexpr Namespace namespaces[] = {
    {QLatin1StringView("http://schemas.openxmlformats.org/wordprocessingml/2006/main"), Ns::W},
    {QLatin1StringView("http://purl.oclc.org/ooxml/wordprocessingml/main"), Ns::W},
    {QLatin1StringView("http://schemas.openxmlformats.org/officeDocument/2006/relationships"), Ns::R},
    {QLatin1StringView("http://purl.oclc.org/ooxml/officeDocument/relationships"), Ns::R},
    {QLatin1StringView("http://schemas.openxmlformats.org/package/2006/relationships"), Ns::PkgRels},
    {QLatin1StringView("http://schemas.openxmlformats.org/package/2006/content-types"), Ns::ContentTypes},
    {QLatin1StringView("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing"), Ns::Wp},
    {QLatin1StringView("http://purl.oclc.org/ooxml/drawingml/wordprocessingDrawing"), Ns::Wp},
    {QLatin1StringView("http://schemas.openxmlformats.org/drawingml/2006/main"), Ns::A},
    {QLatin1StringView("http://purl.oclc.org/ooxml/drawingml/main"), Ns::A},
    {QLatin1StringView("http://schemas.openxmlformats.org/drawingml/2006/picture"), Ns::Pic},
    {QLatin1StringView("http://purl.oclc.org/ooxml/drawingml/picture"), Ns::Pic},
    {QLatin1StringView("urn:schemas-microsoft-com:vml"), Ns::V},
    {QLatin1StringView("http://schemas.openxmlformats.org/markup-compatibility/2006"), Ns::Mc},
    {QLatin1StringView("http://purl.org/dc/elements/1.1/"), Ns::Dc},
    {QLatin1StringView("http://purl.org/dc/terms/"), Ns::DcTerms},
    {QLatin1StringView("http://schemas.openxmlformats.org/package/2006/metadata/core-properties"), Ns::Cp},
    {QLatin1StringView("http://www.w3.org/XML/1998/namespace"), Ns::Xml},
    {QLatin1StringView("http://schemas.openxmlformats.org/officeDocument/2006/extended-properties"), Ns::Ep},
    {QLatin1StringView("http://purl.oclc.org/ooxml/officeDocument/extendedProperties"), Ns::Ep},
};

// The folder a part stands in, with its slash: "word/" for "word/document.xml".
QString folderOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash + 1);
}

// target resolved against the folder; empty when it leaves the package.
QString resolve(const QString &folder, QStringView target)
{
    QString path = target.startsWith(u'/') ? target.sliced(1).toString() : folder + target.toString();
    if (path.contains(u'\\') || path.contains(QChar(0)))
        return {};
    QStringList out;
    for (const QString &step : path.split(u'/', Qt::SkipEmptyParts)) {
        if (step == u".")
            continue;
        if (step == u"..") {
            if (out.isEmpty())
                return {};
            out.removeLast();
            continue;
        }
        out.append(step);
    }
    return QUrl::fromPercentEncoding(out.join(u'/').toUtf8());
}

} // namespace

Ns nsOf(QStringView uri)
{
    for (const Namespace &n : namespaces)
        if (uri == n.uri)
            return n.ns;
    return Ns::Other;
}

QStringView attr(const XmlReader &x, Ns ns, QLatin1StringView local)
{
    const QXmlStreamAttributes attributes = x.attributes();   // a const list: no copy of each
    for (const QXmlStreamAttribute &a : attributes)
        if (a.name() == local && nsOf(a.namespaceUri()) == ns)
            return a.value();
    return {};
}

std::optional<int> number(QStringView value)
{
    value = value.trimmed();
    if (value.isEmpty())
        return std::nullopt;
    bool ok = false;
    if (const int whole = value.toInt(&ok); ok && whole > -1000000000 && whole < 1000000000)
        return whole;
    const double n = value.toDouble(&ok);   // some writers write "12.0"
    if (!ok || !(n > -1e9 && n < 1e9))
        return std::nullopt;
    return int(n);
}

bool onOff(const XmlReader &x)
{
    const QStringView v = wattr(x, "val");
    return !(v == u"0" || v == u"false" || v == u"off" || v == u"none");
}

bool takesChoice(QStringView requires_)
{
    static const QStringList known {QStringLiteral("wps"), QStringLiteral("wpg"), QStringLiteral("wpc"),
                                    QStringLiteral("wp14"), QStringLiteral("w14"), QStringLiteral("w15"),
                                    QStringLiteral("a14"), QStringLiteral("v"), QStringLiteral("w10"),
                                    QStringLiteral("o")};
    const auto words = requires_.split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return false;
    for (QStringView w : words)
        if (!known.contains(w.toString()))
            return false;
    return true;
}

std::optional<QRgb> hexColour(QStringView value)
{
    if (value.size() != 6)
        return std::nullopt;
    bool ok = false;
    const uint rgb = value.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return qRgb(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF);
}

Context::Context(rtf::Document &d, const package::Parts &p) : doc(d), parts(p)
{
    internPara(rtf::ParaProps {});     // the model's paragraph look 0: the plain one
}

std::optional<QByteArray> Context::readPart(const QString &name, QString *error)
{
    const QString stored = parts.find(name);
    if (stored.isEmpty()) {
        if (error)
            *error = QStringLiteral("the package has no part %1").arg(name);
        return std::nullopt;
    }
    return parts.read(stored, error);
}

const Rels &Context::relsOf(const QString &partName)
{
    if (const auto it = relsCache.constFind(partName); it != relsCache.constEnd())
        return *it;
    Rels rels;
    const QString folder = folderOf(partName);
    const QString relsName = folder + QStringLiteral("_rels/") + partName.sliced(folder.size()) + QStringLiteral(".rels");
    if (const auto bytes = readPart(relsName)) {
        XmlReader x(*bytes);
        while (!x.atEnd() && rels.size() < 100000) {
            if (x.next() != XmlReader::StartElement || x.name() != u"Relationship")
                continue;
            Rel r;
            const QString type = x.attributes().value(QLatin1StringView("Type")).toString();
            r.kind = type.section(u'/', -1);
            r.external = x.attributes().value(QLatin1StringView("TargetMode")) == u"External";
            const QStringView target = x.attributes().value(QLatin1StringView("Target"));
            r.target = r.external ? target.toString() : resolve(folder, target);
            const QString id = x.attributes().value(QLatin1StringView("Id")).toString();
            if (!id.isEmpty() && !rels.contains(id))
                rels.insert(id, r);
        }
        // A damaged relationships part counts what it held before the damage.
        if (x.hasError())
            drop(QStringLiteral("damaged relationships"));
    }
    return *relsCache.insert(partName, rels);
}

QString Context::target(const QString &from, QLatin1StringView kind)
{
    const Rels &rels = relsOf(from);
    QString best;
    QString bestId;
    // The lowest id of the kind, so that the choice does not hang on hashing.
    for (auto it = rels.cbegin(); it != rels.cend(); ++it) {
        if (it->kind == kind && !it->external && (bestId.isEmpty() || it.key() < bestId)) {
            best = it->target;
            bestId = it.key();
        }
    }
    return best;
}

} // namespace docx
