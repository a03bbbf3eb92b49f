#include "platform/MessageSink.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

void QtMessageSink::warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text);
}

MessageSink::SaveAnswer QtMessageSink::askToSave(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    parent);
    // The same words on every desktop, whatever the style calls discarding.
    box.button(QMessageBox::Discard)->setText(QCoreApplication::translate("MessageSink", "Do&n't Save"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveAnswer::Save;
    case QMessageBox::Discard: return SaveAnswer::DontSave;
    default: return SaveAnswer::Cancel;
    }
}

void RecordingMessageSink::warning(QWidget *, const QString &, const QString &text)
{
    messages.append(text);
}

MessageSink::SaveAnswer RecordingMessageSink::askToSave(QWidget *parent, const QString &, const QString &text)
{
    questions.append(text);
    if (!answers.isEmpty())
        return answers.dequeue();
    return answering ? answering(parent, text) : SaveAnswer::Cancel;
}
