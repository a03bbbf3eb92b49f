#pragma once

#include "platform/odt/OdtReader.h"
#include "platform/package/Package.h"
#include "platform/rtf/RtfBuild.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>

namespace odttest {

// Builds Qt's document from a model as a document window's load does.
inline void build(const rtf::Document &model, QTextDocument *doc)
{
    doc->setUndoRedoEnabled(false);
    rtf::buildDocument(model, doc);
}

// A flat document around body (the content of office:text) with the given
// common and automatic styles, master pages and information.
inline QByteArray flat(const QString &body, const QString &styles = {}, const QString &automatic = {},
                       const QString &masters = {}, const QString &meta = {})
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
               " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
               " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
               " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
               " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
               " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
               " xmlns:xlink=\"http://www.w3.org/1999/xlink\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
               " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
               " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
               " office:version=\"1.3\" office:mimetype=\"application/vnd.oasis.opendocument.text\">"
               "<office:meta>%5</office:meta>"
               "<office:font-face-decls><style:font-face style:name=\"Serif\" svg:font-family=\"'Liberation Serif'\"/>"
               "<style:font-face style:name=\"Mono\" svg:font-family=\"'DejaVu Sans Mono'\"/></office:font-face-decls>"
               "<office:styles>%1</office:styles>"
               "<office:automatic-styles>%2</office:automatic-styles>"
               "<office:master-styles>%3</office:master-styles>"
               "<office:body><office:text>%4</office:text></office:body></office:document>")
        .arg(styles, automatic, masters, body, meta)
        .toUtf8();
}

// The parts of a zip archive, unpacked by Python's zipfile; nothing when it
// cannot be unpacked here.
inline std::optional<package::MemoryParts> unzip(const QString &path)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import base64, sys, zipfile\n"
                                 "z = zipfile.ZipFile(sys.argv[1])\n"
                                 "for n in z.namelist():\n"
                                 "    print(base64.b64encode(n.encode()).decode(), base64.b64encode(z.read(n)).decode())\n"),
                  path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return std::nullopt;
    package::MemoryParts parts;
    for (const QByteArray &line : python.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            parts.add(QString::fromUtf8(QByteArray::fromBase64(fields[0])), QByteArray::fromBase64(fields[1]));
    }
    return parts;
}

// Reads a .odt (unzipped) or a flat .fodt into model.
inline rtf::ReadResult readFile(const QString &path, rtf::Document &model)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return rtf::ReadResult {false, QStringLiteral("cannot open"), {}};
    const QByteArray bytes = f.readAll();
    if (!bytes.startsWith("PK"))
        return odt::readFlat(bytes, model);
    const auto parts = unzip(path);
    if (!parts)
        return rtf::ReadResult {false, QStringLiteral("cannot unzip"), {}};
    return odt::read(*parts, model);
}

} // namespace odttest
