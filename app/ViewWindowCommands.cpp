// The View, Window and Help commands that act on the main window itself.

#include "app/frmMain.h"

#include "about/Form1.h"
#include "app/MenuNames.h"
#include "app/Module1.h"
#include "platform/MdiArrange.h"
#include "platform/PanelStatusBar.h"

#include <QAction>
#include <QMdiArea>

void frmMain::mnuViewToolbar_Click()
{
    QAction *item = menuItem(MenuName::mnuViewToolbar);
    item->setChecked(!item->isChecked());
    m_toolBar->setVisible(item->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    QAction *item = menuItem(MenuName::mnuViewStatusBar);
    item->setChecked(!item->isChecked());
    m_statusBar->setVisible(item->isChecked());
}

void frmMain::Arrange(int mode)
{
    arrange::apply(m_mdiArea, mode);
}

void frmMain::mnuWindowCascade_Click() { Arrange(arrange::Cascade); }
void frmMain::mnuWindowTileHorizontal_Click() { Arrange(arrange::TileHorizontal); }
void frmMain::mnuWindowTileVertical_Click() { Arrange(arrange::TileVertical); }
void frmMain::mnuWindowArrangeIcons_Click() { Arrange(arrange::ArrangeIcons); }

void frmMain::mnuHelpAbout_Click()
{
    if (!Module1::AboutWindow())
        Module1::CreateAboutWindow();
    Module1::AboutWindow()->Show();
}
