#include "platform/DocumentFormat.h"

#include "platform/docx/DocxReader.h"
#include "platform/odt/OdtReader.h"
#include "platform/package/Xml.h"
#include "platform/rtf/RtfBuild.h"
#include "platform/rtf/RtfRules.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QXmlStreamReader>

#include <array>

namespace documentformat {

namespace {

const QString NotADocument = QStringLiteral("It is not a document Scribvale can read.");
const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");

// How much of the start of a file the text/binary judgement looks at.
constexpr qsizetype Sample = 8192;

bool isOpenDocumentText(QStringView mimeType)
{
    const QStringView type = mimeType.trimmed();
    return type == u"application/vnd.oasis.opendocument.text"
           || type == u"application/vnd.oasis.opendocument.text-template";
}

bool isWordMainPart(QStringView contentType)
{
    static const std::array<QStringView, 4> types = {
        u"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml",
        u"application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml",
        u"application/vnd.ms-word.document.macroEnabled.main+xml",
        u"application/vnd.ms-word.template.macroEnabledTemplate.main+xml",
    };
    for (QStringView type : types) {
        if (contentType.trimmed().compare(type, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Whether any element named element in part carries an attribute attribute
// that test accepts (and, when given, whose attribute filterName is filterValue).
template<typename Test>
bool anyAttribute(const package::Parts &parts, const QString &part, QStringView element, QStringView attribute,
                  Test test, QStringView filterName = {}, QStringView filterValue = {})
{
    const QString name = parts.find(part);
    if (name.isEmpty())
        return false;
    const std::optional<QByteArray> bytes = parts.read(name);
    if (!bytes)
        return false;
    package::XmlReader x(*bytes);
    while (!x.atEnd()) {
        if (x.next() != QXmlStreamReader::StartElement)
            continue;
        if (x.name() != element)
            continue;
        const QXmlStreamAttributes attributes = x.attributes();
        if (!filterName.isEmpty()) {
            bool matched = false;
            for (const QXmlStreamAttribute &a : attributes)
                matched = matched || (a.name() == filterName && a.value() == filterValue);
            if (!matched)
                continue;
        }
        for (const QXmlStreamAttribute &a : attributes) {
            if (a.name() == attribute && test(a.value()))
                return true;
        }
    }
    return false;
}

Recognised refuse(const QString &reason = NotADocument)
{
    Recognised r;
    r.reason = reason;
    return r;
}

Recognised recogniseArchive(const QByteArray &data)
{
    auto parts = std::make_unique<package::ZipParts>(data);
    if (!parts->isOpen())
        return refuse(parts->error());
    Recognised r;
    const QString mimeType = parts->find(QStringLiteral("mimetype"));
    if (!mimeType.isEmpty()) {
        const std::optional<QByteArray> bytes = parts->read(mimeType);
        if (bytes && bytes->size() < 256 && isOpenDocumentText(QString::fromUtf8(*bytes)))
            r.format = Format::OpenDocument;
    } else if (anyAttribute(*parts, QStringLiteral("META-INF/manifest.xml"), u"file-entry", u"media-type",
                            isOpenDocumentText, u"full-path", u"/")) {
        r.format = Format::OpenDocument;   // a package written without its mimetype entry
    }
    // The main part's type is given for its name, or (by a few writers) for
    // its extension.
    const QString types = QStringLiteral("[Content_Types].xml");
    if (r.format == Format::Unreadable
        && (anyAttribute(*parts, types, u"Override", u"ContentType", isWordMainPart)
            || anyAttribute(*parts, types, u"Default", u"ContentType", isWordMainPart)))
        r.format = Format::WordDocument;
    if (r.format == Format::Unreadable)
        return refuse();
    r.parts = std::move(parts);
    return r;
}

// Flat OpenDocument: the first element is office:document (or the content
// part's root, as some tools write it alone). A text is read,
// another kind (a spreadsheet, a drawing) refused; other XML stays text.
std::optional<Recognised> recogniseFlat(QByteArrayView data)
{
    QXmlStreamReader x(data.first(std::min<qsizetype>(data.size(), 64 * 1024)).toByteArray());
    while (!x.atEnd()) {
        const QXmlStreamReader::TokenType token = x.readNext();
        if (token == QXmlStreamReader::Invalid)
            return std::nullopt;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (x.namespaceUri() != OfficeNs || (x.name() != u"document" && x.name() != u"document-content"))
            return std::nullopt;
        const QStringView type = x.attributes().value(OfficeNs, QStringLiteral("mimetype"));
        if (!type.isEmpty() && !isOpenDocumentText(type))
            return refuse();
        Recognised r;
        r.format = Format::FlatOpenDocument;
        return r;
    }
    return std::nullopt;
}

struct Signature {
    qsizetype offset;
    QByteArrayView bytes;
};

// Pictures, archives, programs and binary formats, by their first bytes.
// Those that are plain letters ("RIFF", "OggS") are long or specific enough
// that no letter starts with them.
constexpr Signature Signatures[] = {
    {0, "\x89PNG\r\n\x1A\n"},
    {0, "\xFF\xD8\xFF"},                      // JPEG
    {0, "GIF87a"}, {0, "GIF89a"},
    {0, QByteArrayView("II*\0", 4)}, {0, QByteArrayView("MM\0*", 4)},   // TIFF
    {0, "8BPS"},                              // Photoshop
    {0, "%PDF-"},
    {0, "\x7F" "ELF"},
    {0, "\xCA\xFE\xBA\xBE"}, {0, "\xCF\xFA\xED\xFE"}, {0, "\xFE\xED\xFA\xCF"},   // Mach-O, Java
    {0, "\x1F\x8B"},                          // gzip
    {0, QByteArrayView("\xFD" "7zXZ\0", 6)},
    {0, "7z\xBC\xAF\x27\x1C"},
    {0, "Rar!\x1A\x07"},
    {0, "\x28\xB5\x2F\xFD"},                  // zstd
    {0, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"},  // compound file: .doc, .xls, .msg
    {0, "OggS"}, {0, "fLaC"},
    {0, "wOFF"}, {0, "wOF2"},
    {4, "ftyp"},                              // MP4, QuickTime, HEIC, AVIF
    {8, "WAVE"}, {8, "AVI "}, {8, "WEBP"},    // after "RIFF" and a size
};

bool hasSignature(QByteArrayView data)
{
    for (const Signature &s : Signatures) {
        if (s.offset == 8 && !data.startsWith("RIFF"))
            continue;
        if (data.size() >= s.offset + s.bytes.size() && data.sliced(s.offset, s.bytes.size()) == s.bytes)
            return true;
    }
    // bzip2: "BZh", a block size digit and the block magic.
    if (data.size() >= 10 && data.startsWith("BZh") && data[3] >= '1' && data[3] <= '9'
        && data.sliced(4, 6) == QByteArrayView("1AY&SY"))
        return true;
    // MP3 with a tag: "ID3", a major version 2-4 and a zero minor version.
    return data.size() >= 5 && data.startsWith("ID3") && data[3] >= 2 && data[3] <= 4 && data[4] == 0;
}

} // namespace

bool looksBinary(QByteArrayView data)
{
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF") || data.startsWith("\xEF\xBB\xBF"))
        return false;   // text with a byte-order mark
    if (hasSignature(data))
        return true;
    const QByteArrayView sample = data.first(std::min(data.size(), Sample));
    qsizetype nuls[2] = {0, 0};
    qsizetype controls = 0;
    for (qsizetype i = 0; i < sample.size(); ++i) {
        const auto c = static_cast<unsigned char>(sample[i]);
        if (c == 0)
            ++nuls[i & 1];
        else if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && c != 0x1A && c != 0x1B)
                 || c == 0x7F)
            ++controls;
    }
    if (nuls[0] && nuls[1])
        return true;
    if (nuls[0] || nuls[1]) {
        // UTF-16 without a byte-order mark: the NULs of Latin text fall on
        // one side of each pair, in most pairs.
        const qsizetype zeros = nuls[0] + nuls[1];
        if (zeros * 4 < sample.size())
            return true;
    }
    return controls * 10 > sample.size();
}

Recognised recognise(const QByteArray &data)
{
    Recognised r;
    if (rtf::rules::looksLikeRtf(data)) {
        r.format = Format::Rtf;
        return r;
    }
    if (data.startsWith("PK\x03\x04") || data.startsWith("PK\x05\x06"))
        return recogniseArchive(data);
    QByteArrayView text = data;
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    if (text.trimmed().startsWith('<')) {
        if (std::optional<Recognised> flat = recogniseFlat(text))
            return std::move(*flat);
    }
    if (looksBinary(data))
        return refuse();
    r.format = Format::Text;
    return r;
}

rtf::ReadResult readForeign(const Recognised &file, const QByteArray &data, QTextDocument *doc)
{
    rtf::Document model;
    rtf::ReadResult result;
    switch (file.format) {
    case Format::WordDocument:
        result = docx::read(*file.parts, model);
        break;
    case Format::OpenDocument:
        result = odt::read(*file.parts, model);
        break;
    case Format::FlatOpenDocument:
        result = odt::readFlat(data, model);
        break;
    default:
        return rtf::ReadResult {false, NotADocument, {}};
    }
    if (!result.ok)
        return result;
    rtf::buildDocument(model, doc);
    return result;
}

} // namespace documentformat
