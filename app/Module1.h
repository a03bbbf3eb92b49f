#pragma once

#include "platform/Services.h"

#include <memory>

class Form1;
class frmMain;

// The program-wide reference to the one main window, for the code that
// reaches it from elsewhere. It owns nothing: Module1::Program owns the
// window, sets this reference when it makes the window and clears it before
// the window goes.
extern frmMain *MainWindow;

namespace Module1 {

// One run of the program: the main window and, once Help > About has asked
// for it, the About window. Both belong to it and go with it. The program
// makes one at start-up; every test makes its own, so nothing of one run
// reaches the next.
class Program
{
public:
    // Makes the main window and keeps it in MainWindow; showing it loads it.
    explicit Program(const Services &services);
    // Clears MainWindow first, then lets the windows go.
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    frmMain &mainWindow() const { return *m_mainWindow; }

private:
    friend Form1 *AboutWindow();
    friend Form1 &CreateAboutWindow();

    std::unique_ptr<frmMain> m_mainWindow;
    std::unique_ptr<Form1> m_aboutWindow;
};

// The start-up procedure: creates the main window, keeps it in MainWindow
// and shows it. The run lasts as long as the returned Program.
std::unique_ptr<Program> Main(const Services &services);

// The About window of the running program, or nullptr until Help > About
// first makes it.
Form1 *AboutWindow();
// Makes the About window and keeps it for the rest of the run.
Form1 &CreateAboutWindow();

} // namespace Module1
