#include "tests/support/TestMain.h"

#include "document/frmDocument.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"

MainWindowFixture::MainWindowFixture(bool shown)
{
    m_program.emplace(Services{&settings, &dialogs, &clipboard, &messages});
    if (shown)
        window().show();
}

RichTextBox &MainWindowFixture::surface()
{
    frmDocument *document = window().ActiveDocument();
    if (!document)
        throw Failure(QStringLiteral("no active document"));
    return *document->rtfText;
}
