#pragma once

#include "platform/KeyedToolBar.h"
#include "platform/Services.h"

#include <QMainWindow>

#include <memory>

class CommonDialog;
class PanelStatusBar;
class QComboBox;
class QMdiArea;
class QMenu;
class QSessionManager;
class QSlider;
class RichTextBox;
class frmDocument;

// The main window: a document area of numbered document windows under a
// menu bar, a toolbar carrying the formatting bar, and a status bar. Its
// handlers are grouped by subsystem: the layout and lifecycle here and in
// MainLayout.cpp, the toolbar dispatch and View/Window commands beside them,
// the formatting handlers in format/, the file, clipboard and print commands
// in files/.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(const Services &services, QWidget *parent = nullptr);
    ~frmMain() override;

    // Lifecycle. Showing the window loads it first, once: MDIForm_Load runs
    // before the window is first seen. Load() loads it without showing it.
    void Load();
    void MDIForm_Load();
    // Closes the document windows in window order, each asking about its
    // changes; sets `cancel` when one of them stays open.
    void MDIForm_QueryUnload(bool &cancel);
    void MDIForm_Unload();
    void mnuFileExit_Click();
    // The session is ending: the main window closes as from its close box.
    void App_CommitDataRequest(QSessionManager &manager);

    // Document windows.
    void CreateDocumentWindow();
    void mnuFileNew_Click();
    void mnuWindowNewWindow_Click();
    int DocumentCount() const { return m_documentCount; }
    frmDocument *ActiveDocument() const;
    QList<frmDocument *> documents() const;

    // Toolbar.
    void tbToolBar_ButtonClick(KeyedToolBar::Button *button);

    // View, Window, Help.
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuHelpAbout_Click();
    void Arrange(int mode);

    // Formatting bar.
    void f1_Click();
    void fc1_Click();
    void fc1_GotFocus();
    void fs1_Click();
    void Slider1_Click();
    void Slider1_MouseMove();

    // Files, clipboard, printing.
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    // Before a changed document is closed or replaced: "Save changes to ...?"
    // True when it may go (saved, unchanged, or its changes declined).
    bool AskToSaveChanges(frmDocument *document);
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuFilePrint_Click();
    void mnuFilePageSetup_Click();

    // Controls, named as the rest of the program knows them.
    QMdiArea *mdiArea() const { return m_mdiArea; }
    KeyedToolBar *tbToolBar() const { return m_toolBar; }
    PanelStatusBar *sbStatusBar() const { return m_statusBar; }
    QComboBox *f1() const { return m_f1; }
    QComboBox *fc1() const { return m_fc1; }
    QComboBox *fs1() const { return m_fs1; }
    QSlider *Slider1() const { return m_slider1; }
    CommonDialog *dlgCommonDialog() const { return m_dialog.get(); }
    QAction *menuItem(const QString &name) const;
    QMenu *menu(const QString &name) const;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Tests set up what no person could reach in a test's time, such as a
    // document counter near its limit.
    friend struct frmMainTestAccess;

    void createMenus();
    void createToolBar();
    void createFormattingBar();
    void createStatusBar();
    void rebuildWindowMenu();
    RichTextBox &activeSurface() const;   // throws Failure when no document is open
    bool saveDocument(frmDocument *document);   // File Save's steps; true once written
    void showFailure(const QString &title, const QString &text);

    Services m_services;
    QMdiArea *m_mdiArea = nullptr;
    KeyedToolBar *m_toolBar = nullptr;
    PanelStatusBar *m_statusBar = nullptr;
    QComboBox *m_f1 = nullptr;
    QComboBox *m_fc1 = nullptr;
    QComboBox *m_fs1 = nullptr;
    QSlider *m_slider1 = nullptr;
    QMenu *m_windowMenu = nullptr;
    std::unique_ptr<CommonDialog> m_dialog;
    int m_documentCount = 0;
    bool m_loaded = false;
    bool m_unloaded = false;
};
