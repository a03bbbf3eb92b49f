#pragma once

#include <QFont>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QVariantMap>

class QTextDocument;

// The selection as the surface offers it to drags and the selection
// clipboard: the same markup as Copy, written only when another program asks
// for it, since the selection clipboard is offered on every keyboard
// selection move.
class SelectionMimeData : public QMimeData
{
public:
    SelectionMimeData(const QTextDocumentFragment &fragment, const QTextDocument &source);

    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    QTextDocumentFragment m_fragment;
    QFont m_font;
    QVariantMap m_keys;     // what the source keeps as a whole
    mutable QByteArray m_markup;
};
