#pragma once

#include <QByteArray>

class QTextCursor;
class QTextDocument;

namespace rtf {

// Writes 7-bit RTF that restates alignment and the full run formatting in
// every paragraph, so any reader gets it right without carrying state.
QByteArray writeDocument(const QTextDocument &doc);

// Writes only the selection; a paragraph break inside it becomes \par. An
// empty selection gives a valid document with no paragraphs.
QByteArray writeSelection(const QTextCursor &cursor);
// The part of the document writeSelection writes: the selection itself, or a
// selection of cells grown to hold every merged cell it cuts through.
QTextCursor selectionAsWritten(const QTextCursor &cursor);

} // namespace rtf
