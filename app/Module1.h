#pragma once

#include "platform/Services.h"

class Form1;
class frmMain;

// The program-wide references: the one main window, set at start-up and
// never replaced, and the About window once it has been made.
extern frmMain *MainWindow;
extern Form1 *AboutWindow;

namespace Module1 {

// Creates the main window, keeps it in MainWindow and shows it.
void Main(const Services &services);

} // namespace Module1
