#pragma once

#include "RtfModel.h"

#include <QByteArrayView>
#include <QString>

class QTextCursor;
class QTextDocument;

namespace rtf {

struct [[nodiscard]] ReadResult {
    bool ok = false;    // false only when the input is not RTF at all
    QString error;
    Dropped dropped;    // what the document could not keep, by kind
};

// Inserts the document's content at cursor, replacing its selection, as one
// edit block. A paragraph ended by \par keeps its break, except at the very
// end of the document. Styles the content uses join the document's; what
// the source kept as a whole (page setup, information, headers) does not.
ReadResult insertRtf(QTextCursor &cursor, QByteArrayView data);

// Replaces the whole content of doc, with what the file keeps as a whole.
// Undo is off while building and the undo history is cleared; build into a
// document that no editor shows yet for speed.
ReadResult readIntoDocument(QTextDocument *doc, QByteArrayView data);

} // namespace rtf
