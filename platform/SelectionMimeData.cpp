#include "platform/SelectionMimeData.h"

#include "platform/rtf/RtfQt.h"
#include "platform/rtf/RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>

SelectionMimeData::SelectionMimeData(const QTextDocumentFragment &fragment, const QTextDocument &source)
    : m_fragment(fragment), m_font(source.defaultFont()), m_keys(rtf::fragmentKeys(source))
{
}

QStringList SelectionMimeData::formats() const
{
    return {QStringLiteral("text/plain"), QStringLiteral("text/rtf")};
}

QVariant SelectionMimeData::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (m_markup.isNull()) {
        QTextDocument part;
        part.setDefaultFont(m_font);
        rtf::setFragmentKeys(part, m_keys);
        QTextCursor cursor(&part);
        cursor.insertFragment(m_fragment);
        cursor.select(QTextCursor::Document);
        m_markup = rtf::writeSelection(cursor);
    }
    if (mimeType == QLatin1String("text/plain"))
        return QString::fromLatin1(m_markup);
    if (mimeType == QLatin1String("text/rtf"))
        return m_markup;
    return QMimeData::retrieveData(mimeType, type);
}
