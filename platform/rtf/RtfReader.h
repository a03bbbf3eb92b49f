#pragma once

#include <QByteArrayView>
#include <QString>
#include <QTextFormat>

class QTextCursor;
class QTextDocument;

namespace rtf {

// Every run the reader builds carries this int property, a digest of its look.
// Qt hashes text formats coarsely (all face lists alike, all brushes of one
// style alike); the digest keeps format lookups constant time when a document
// uses thousands of faces or colours. Nothing else reads it.
inline constexpr int StyleDigestProperty = QTextFormat::UserProperty + 0x5254;

struct ReadResult {
    bool ok = false;    // false only when the input is not RTF at all
    QString error;
};

// True when data starts with "{\rtf" after an optional UTF-8 BOM and whitespace.
bool looksLikeRtf(QByteArrayView data);

// Inserts the document's content at cursor, replacing its selection, as one
// edit block. Paragraphs carry alignment; runs carry face, point size, colour,
// bold, italic and underline, every one of them set explicitly. A paragraph
// ended by \par keeps its break, except at the very end of the document.
ReadResult insertRtf(QTextCursor &cursor, QByteArrayView data);

// Replaces the whole content of doc. Undo is off while building and the undo
// history is cleared; build into a document that no editor shows yet for speed.
ReadResult readIntoDocument(QTextDocument *doc, QByteArrayView data);

} // namespace rtf
