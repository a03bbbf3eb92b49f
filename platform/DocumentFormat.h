#pragma once

#include "platform/package/Zip.h"
#include "platform/rtf/RtfReader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class QTextDocument;

// What a file is, judged by its content and never by its name, and the
// reading of the formats that are not RTF or text into Qt's document.
namespace documentformat {

enum class Format {
    Rtf,
    Text,               // UTF-8, UTF-16 with a byte-order mark, or the legacy code page
    WordDocument,       // a zip whose [Content_Types].xml names a WordprocessingML main part
    OpenDocument,       // a zip whose mimetype (or manifest) says OpenDocument text
    FlatOpenDocument,   // one XML document rooted in office:document of a text
    Unreadable,         // anything else: pictures, programs, other archives and formats
};

struct Recognised {
    Format format = Format::Unreadable;
    QString reason;                              // why it is Unreadable, in a sentence
    std::unique_ptr<package::ZipParts> parts;    // the archive, for the zipped formats
};

Recognised recognise(const QByteArray &data);

// True when the bytes are a picture, an archive, a program or another
// binary format rather than text: a known signature, a NUL byte (unless the
// NULs are those of UTF-16 text), or many control characters near the start.
bool looksBinary(QByteArrayView data);

// True for a format this program reads but does not write: saving such a
// document as RTF under its own name would replace the original.
inline bool foreign(Format format)
{
    return format == Format::WordDocument || format == Format::OpenDocument || format == Format::FlatOpenDocument;
}

// Reads a recognised .docx, .odt or .fodt into doc, replacing its content
// as rtf::readIntoDocument does.
rtf::ReadResult readForeign(const Recognised &file, const QByteArray &data, QTextDocument *doc);

} // namespace documentformat
