// Cut, Copy and Paste carry the selection through the clipboard as RTF
// markup under the plain-text format, so formatting travels between
// documents and a plain-text editor receives the markup itself. Every step
// runs on its own and a failure shows nothing.

#include "app/frmMain.h"

#include "platform/Clipboard.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"

void frmMain::mnuEditCopy_Click()
{
    attempt([&] {
        const QString markup = activeSurface().SelRTF();
        m_services.clipboard->SetText(markup, markup.toLatin1());
    });
}

void frmMain::mnuEditCut_Click()
{
    const bool copied = attempt([&] {
        const QString markup = activeSurface().SelRTF();
        m_services.clipboard->SetText(markup, markup.toLatin1());
    }).succeeded();
    // The selection goes only once it is safe on the clipboard.
    if (copied)
        attempt([&] { activeSurface().setSelText(QString()); });
}

void frmMain::mnuEditPaste_Click()
{
    QString text;
    attempt([&] { text = m_services.clipboard->GetText(); });
    // A clipboard without text (empty, or a picture) leaves the selection alone.
    if (text.isEmpty())
        return;
    attempt([&] { activeSurface().setSelRTF(text); });
}
