#pragma once

#include <QHash>
#include <QObject>
#include <QTextObjectInterface>

#include <map>

class QTextDocument;

// Draws the inline objects the reader keeps in the text: a note's marker,
// its number raised and small, and the kept groups (bookmarks, hidden text,
// fields without a result), which take no room and show nothing.
class InlineObjects : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    // Registers the handlers with the document's layout; a document laid
    // out again (a copy for printing) needs them again.
    static void install(QTextDocument *doc);

    QSizeF intrinsicSize(QTextDocument *doc, int posInDocument, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int posInDocument,
                    const QTextFormat &format) override;

    // The marker a note shows: its number among the notes of its kind.
    QString label(QTextDocument *doc, int posInDocument, const QTextFormat &format);

private:
    explicit InlineObjects(QObject *parent) : QObject(parent) {}
    QFont markerFont(QTextDocument *doc, const QTextFormat &format) const;

    // Note numbers by position, counted once after every change.
    std::map<int, int> m_numbers;
    bool m_numbersValid = false;
};
