#pragma once

#include <QByteArrayView>
#include <QString>

class QTextCursor;
class QTextDocument;

namespace rtf {

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
