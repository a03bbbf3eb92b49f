#include "app/Module1.h"

#include "app/frmMain.h"

frmMain *MainWindow = nullptr;
Form1 *AboutWindow = nullptr;

namespace Module1 {

void Main(const Services &services)
{
    MainWindow = new frmMain(services);
    // Loading before the first show puts the stored placement in force
    // before the window is seen.
    MainWindow->MDIForm_Load();
    MainWindow->showMaximized();
}

} // namespace Module1
