#include "platform/ScriptedDialogs.h"

#include <QPrinter>

QString ScriptedDialogs::getFileName(const FileDialogRequest &request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

bool ScriptedDialogs::choosePrinter(const PrintDialogRequest &request)
{
    printRequests.append(request);
    const bool accepted = !printAnswers.isEmpty() && printAnswers.dequeue();
    if (accepted && request.printer) {
        request.printer->setOutputFormat(QPrinter::PdfFormat);
        request.printer->setOutputFileName(printToPdf);
    }
    return accepted;
}
