#include "tests/support/TestMain.h"

#include "app/Module1.h"
#include "document/frmDocument.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"

MainWindowFixture::MainWindowFixture()
{
    m_window = std::make_unique<frmMain>(Services{&settings, &dialogs, &clipboard, &messages});
    MainWindow = m_window.get();
    m_window->MDIForm_Load();
    m_window->show();
}

MainWindowFixture::~MainWindowFixture()
{
    MainWindow = nullptr;
    m_window.reset();
}

RichTextBox &MainWindowFixture::surface()
{
    frmDocument *document = m_window->ActiveDocument();
    if (!document)
        throw Failure(QStringLiteral("no active document"));
    return *document->rtfText;
}
