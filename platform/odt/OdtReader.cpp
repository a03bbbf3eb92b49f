#include "OdtReader.h"

#include "OdtContext.h"

namespace odt {

namespace {

const QString TextMimeType = QStringLiteral("application/vnd.oasis.opendocument.text");

rtf::ReadResult failure(rtf::Document &out, const QString &why)
{
    out = rtf::Document {};
    return rtf::ReadResult {false, why, {}};
}

QString xmlError(const QString &part, const XmlReader &x)
{
    return QStringLiteral("The document's %1 is damaged (line %2: %3).")
        .arg(part)
        .arg(x.lineNumber())
        .arg(x.errorString());
}

// The top-level sections of a part; a flat file has them all in one.
void readSections(Context &c, XmlReader &x, Pool automatic)
{
    children(x, [&] {
        if (nsOf(x.namespaceUri()) != Ns::Office) {
            skip(x);
            return;
        }
        const QStringView n = x.name();
        c.pool = automatic;
        if (n == u"font-face-decls")
            c.readFontFaces(x);
        else if (n == u"styles")
            c.readStyles(x, Common);
        else if (n == u"automatic-styles")
            c.readStyles(x, automatic);
        else if (n == u"master-styles")
            c.readMasterStyles(x);
        else if (n == u"body") {
            c.addBuiltinStyles();
            c.readBody(x);
        } else if (n == u"settings")
            c.readSettings(x);
        else if (n == u"meta")
            c.readMeta(x);
        else
            skip(x);
    });
}

void finish(Context &c)
{
    c.finishPages();
    if (c.defaultTabStop > 0)
        c.doc.documentProperties = "\\deftab" + QByteArray::number(c.defaultTabStop);
}

// Encrypted entries carry encryption data in the manifest.
std::optional<QString> checkManifest(const package::Parts &parts)
{
    const QString name = parts.find(QStringLiteral("META-INF/manifest.xml"));
    if (name.isEmpty())
        return std::nullopt;
    QString error;
    const auto bytes = parts.read(name, &error);
    if (!bytes)
        return QStringLiteral("The document's manifest cannot be read: %1.").arg(error);
    XmlReader x(*bytes);
    bool encrypted = false;
    while (!x.atEnd() && !encrypted) {
        if (x.next() == XmlReader::StartElement && is(x, Ns::Manifest, QLatin1StringView("encryption-data")))
            encrypted = true;
    }
    if (encrypted)
        return QStringLiteral("The document is protected with a password (encrypted); Scribvale cannot open "
                              "encrypted documents.");
    if (x.hasError())
        return xmlError(QStringLiteral("manifest"), x);
    return std::nullopt;
}

} // namespace

rtf::ReadResult read(const package::Parts &parts, rtf::Document &out)
{
    out = rtf::Document {};
    if (const QString name = parts.find(QStringLiteral("mimetype")); !name.isEmpty()) {
        const QByteArray type = parts.read(name).value_or(QByteArray()).trimmed();
        if (!QString::fromLatin1(type).startsWith(TextMimeType))
            return failure(out, QStringLiteral("The package is not an OpenDocument text (it holds %1).")
                                    .arg(QString::fromLatin1(type.left(80))));
    }
    if (const auto refused = checkManifest(parts))
        return failure(out, *refused);
    const QString contentName = parts.find(QStringLiteral("content.xml"));
    if (contentName.isEmpty())
        return failure(out, QStringLiteral("The document has no content (content.xml is missing)."));

    Context c(out, &parts);
    QString error;
    if (const QString settingsName = parts.find(QStringLiteral("settings.xml")); !settingsName.isEmpty()) {
        // Settings change how tab stops are measured; damaged ones are left out.
        if (const auto bytes = parts.read(settingsName)) {
            XmlReader x(*bytes);
            if (x.readRoot())
                readSections(c, x, ContentAuto);
        }
    }
    if (const QString stylesName = parts.find(QStringLiteral("styles.xml")); !stylesName.isEmpty()) {
        const auto bytes = parts.read(stylesName, &error);
        if (!bytes)
            return failure(out, QStringLiteral("The document's styles cannot be read: %1.").arg(error));
        XmlReader x(*bytes);
        if (x.readRoot())
            readSections(c, x, StylesAuto);
        if (x.hasError())
            return failure(out, xmlError(QStringLiteral("styles.xml"), x));
    }
    const auto content = parts.read(contentName, &error);
    if (!content)
        return failure(out, QStringLiteral("The document's content cannot be read: %1.").arg(error));
    {
        XmlReader x(*content);
        if (!x.readRoot() && !x.hasError())
            return failure(out, QStringLiteral("The document's content.xml is empty."));
        readSections(c, x, ContentAuto);
        if (x.hasError())
            return failure(out, xmlError(QStringLiteral("content.xml"), x));
    }
    if (const QString metaName = parts.find(QStringLiteral("meta.xml")); !metaName.isEmpty()) {
        // Information is worth no refusal: a damaged part is left out.
        if (const auto bytes = parts.read(metaName)) {
            XmlReader x(*bytes);
            rtf::DocInfo kept = out.info;
            if (x.readRoot())
                readSections(c, x, ContentAuto);
            if (x.hasError()) {
                out.info = kept;
                c.drop(QStringLiteral("damaged document information"));
            }
        }
    }
    finish(c);
    return rtf::ReadResult {true, {}, out.dropped};
}

rtf::ReadResult readFlat(QByteArrayView xml, rtf::Document &out)
{
    out = rtf::Document {};
    const QByteArray data = xml.toByteArray();
    XmlReader x(data);
    if (!x.readRoot())
        return failure(out, x.hasError() ? xmlError(QStringLiteral("XML"), x)
                                         : QStringLiteral("The file holds no OpenDocument text."));
    if (nsOf(x.namespaceUri()) != Ns::Office || (x.name() != u"document" && x.name() != u"document-content"))
        return failure(out, QStringLiteral("The file is XML but no OpenDocument text."));
    if (const QStringView type = attr(x, Ns::Office, QLatin1StringView("mimetype"));
        !type.isEmpty() && !type.startsWith(TextMimeType))
        return failure(out, QStringLiteral("The file is an OpenDocument of another kind (%1), not a text.")
                                .arg(type.left(80).toString()));
    Context c(out, nullptr);
    readSections(c, x, ContentAuto);
    if (x.hasError())
        return failure(out, xmlError(QStringLiteral("XML"), x));
    finish(c);
    return rtf::ReadResult {true, {}, out.dropped};
}

} // namespace odt
