#include "app/Module1.h"

#include "about/Form1.h"
#include "app/frmMain.h"

frmMain *MainWindow = nullptr;

namespace Module1 {

namespace {
Program *running = nullptr;
} // namespace

Program::Program(const Services &services)
    : m_mainWindow(std::make_unique<frmMain>(services))
{
    Q_ASSERT(!running && !MainWindow);
    running = this;
    MainWindow = m_mainWindow.get();
}

Program::~Program()
{
    // Nothing may reach the main window while it is torn down.
    MainWindow = nullptr;
    running = nullptr;
    m_aboutWindow.reset();
    m_mainWindow.reset();
}

std::unique_ptr<Program> Main(const Services &services)
{
    auto program = std::make_unique<Program>(services);
    // Showing loads the window first, so the stored placement is in force
    // before it is seen.
    MainWindow->showMaximized();
    return program;
}

Form1 *AboutWindow()
{
    return running ? running->m_aboutWindow.get() : nullptr;
}

Form1 &CreateAboutWindow()
{
    Q_ASSERT(running);
    running->m_aboutWindow = std::make_unique<Form1>();
    return *running->m_aboutWindow;
}

} // namespace Module1
