#pragma once

#include "platform/CommonDialog.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers the dialogs from a script and records what was shown, so every
// command runs without a person. With nothing scripted, a dialog is cancelled.
class ScriptedDialogs : public DialogBackend
{
public:
    QString getFileName(const FileDialogRequest &request) override;
    bool choosePrinter(const PrintDialogRequest &request) override;

    QQueue<QString> fileAnswers;          // an empty string answers Cancel
    QQueue<bool> printAnswers;            // false answers Cancel
    QString printToPdf;                   // where an accepted print goes

    QList<FileDialogRequest> fileRequests;
    QList<PrintDialogRequest> printRequests;
};
