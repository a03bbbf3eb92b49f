#pragma once

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Where the program's messages go: a warning box for the person, a list in
// tests. The one question it asks, whether to save a changed document before
// it goes, has three answers.
class MessageSink
{
public:
    enum class SaveAnswer { Save, DontSave, Cancel };

    virtual ~MessageSink() = default;
    virtual void warning(QWidget *parent, const QString &title, const QString &text) = 0;
    virtual SaveAnswer askToSave(QWidget *parent, const QString &title, const QString &text) = 0;
};

class QtMessageSink : public MessageSink
{
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    // Save, Don't Save and Cancel; Escape and the close box answer Cancel.
    SaveAnswer askToSave(QWidget *parent, const QString &title, const QString &text) override;
};

// Records what was shown and answers the questions from a script: the queue
// first, then `answering` (given the question's window) when a test decides as
// it goes; with neither, Cancel.
class RecordingMessageSink : public MessageSink
{
public:
    void warning(QWidget *parent, const QString &title, const QString &text) override;
    SaveAnswer askToSave(QWidget *parent, const QString &title, const QString &text) override;

    QStringList messages;
    QStringList questions;
    QQueue<SaveAnswer> answers;
    std::function<SaveAnswer(QWidget *parent, const QString &text)> answering;
};
