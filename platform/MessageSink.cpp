#include "platform/MessageSink.h"

#include <QMessageBox>

void QtMessageSink::warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text);
}

void RecordingMessageSink::warning(QWidget *, const QString &, const QString &text)
{
    messages.append(text);
}
