#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Where the program's error messages go: a warning box for the person, a
// list in tests.
class MessageSink
{
public:
    virtual ~MessageSink() = default;
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
};

class QtMessageSink : public MessageSink
{
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override;
};

class RecordingMessageSink : public MessageSink
{
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    QStringList messages;
};
