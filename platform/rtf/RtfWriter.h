#pragma once

#include <QByteArray>
#include <QVariantMap>

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

// What a document built from a selection keeps of its source as a whole:
// its styles, what its font table said of its faces, its page and first
// section (printing a selection prints it on the document's page).
QVariantMap fragmentKeys(const QTextDocument &source);
void setFragmentKeys(QTextDocument &part, const QVariantMap &keys);

} // namespace rtf
