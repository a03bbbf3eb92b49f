#pragma once

#include <QByteArray>
#include <QString>

// The system clipboard as the clipboard commands use it: text in, text out.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Places the text under the plain-text format; when rtf is given the same
    // markup is also offered as rich text for other programs. Throws Failure
    // when the clipboard does not take it.
    virtual void SetText(const QString &text, const QByteArray &rtf = {}) = 0;
    // The clipboard's plain text; empty when it holds none.
    virtual QString GetText() = 0;
};

class QtClipboard : public Clipboard
{
public:
    void SetText(const QString &text, const QByteArray &rtf = {}) override;
    QString GetText() override;
};

// An in-process clipboard for tests, which can be told to refuse.
class MemoryClipboard : public Clipboard
{
public:
    void SetText(const QString &text, const QByteArray &rtf = {}) override;
    QString GetText() override;

    QString text;
    QByteArray rtf;
    bool refuse = false;
};
