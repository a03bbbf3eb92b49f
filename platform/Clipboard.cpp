#include "platform/Clipboard.h"

#include "platform/Failure.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void QtClipboard::SetText(const QString &text, const QByteArray &rtf)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        throw Failure(QStringLiteral("The clipboard is not available."));
    auto *data = new QMimeData;
    data->setText(text);
    if (!rtf.isEmpty())
        data->setData(QStringLiteral("text/rtf"), rtf);
    clipboard->setMimeData(data);
    // The system may refuse ownership; then the old contents stay.
    const QMimeData *now = clipboard->mimeData();
    if (!now || now->text() != text)
        throw Failure(QStringLiteral("The clipboard did not take the text."));
}

QString QtClipboard::GetText()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

void MemoryClipboard::SetText(const QString &newText, const QByteArray &newRtf)
{
    if (refuse)
        throw Failure(QStringLiteral("The clipboard is held by another program."));
    text = newText;
    rtf = newRtf;
}

QString MemoryClipboard::GetText()
{
    return text;
}
