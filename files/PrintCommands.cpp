// Print and Page Setup share the main window's common dialog. Every step
// runs on its own; Print remembers its latest failure to tell a cancelled
// dialog from one that merely failed.

#include "app/frmMain.h"

#include "platform/CommonDialog.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"

#include <optional>

void frmMain::mnuFilePrint_Click()
{
    if (!ActiveDocument())
        return;
    std::optional<int> latestFailure;
    const auto step = [&latestFailure](auto &&action) {
        if (const StepResult result = attempt(action); !result.succeeded())
            latestFailure = result.failureCode();
    };
    step([&] {
        m_dialog->DialogTitle = QStringLiteral("Print");
        m_dialog->CancelError = true;
        m_dialog->Flags = CommonDialog::cdlPDReturnDC | CommonDialog::cdlPDNoPageNums;
    });
    step([&] {
        if (activeSurface().SelLength() == 0)
            m_dialog->Flags = m_dialog->Flags + CommonDialog::cdlPDAllPages;
        else
            m_dialog->Flags = m_dialog->Flags + CommonDialog::cdlPDSelection;
    });
    step([&] { m_dialog->ShowPrinter(); });
    if (latestFailure != CancelErrorCode)
        step([&] { activeSurface().SelPrint(m_dialog->hDC()); });
}

void frmMain::mnuFilePageSetup_Click()
{
    attempt([&] {
        m_dialog->DialogTitle = QStringLiteral("Page Setup");
        m_dialog->CancelError = true;
    });
    attempt([&] { m_dialog->ShowPrinter(); });
}
