// The static make-up of the main window: menus, toolbar, formatting bar and
// status bar, with every control named as the rest of the program knows it.

#include "app/frmMain.h"

#include "app/MenuNames.h"
#include "app/ToolbarRows.h"
#include "document/frmDocument.h"
#include "format/FormatTables.h"
#include "platform/FormatComboBox.h"
#include "platform/FormatSlider.h"
#include "platform/PanelStatusBar.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSlider>

namespace {

using Handler = void (frmMain::*)();

// An item's state at start where it is not the usual enabled, visible and
// unchecked; no item has more than one of these.
enum class Start { Normal, Disabled, Hidden, Checked };

struct MenuItem {
    QLatin1StringView name;
    const char *caption;        // "-" for a separator
    Handler handler = nullptr;  // nothing for items without a command
    QKeySequence shortcut = {};
    Start start = Start::Normal;
};

struct Menu {
    QLatin1StringView name;
    const char *caption;
    QList<MenuItem> items;
};

QList<Menu> menuTree()
{
    using namespace MenuName;
    using F = frmMain;
    const QKeySequence none;
    return {
        {mnuFile, "&File", {
            {mnuFileNew, "&New", &F::mnuFileNew_Click, Qt::CTRL | Qt::Key_N},
            {mnuFileOpen, "&Open...", &F::mnuFileOpen_Click, Qt::CTRL | Qt::Key_O},
            {mnuFileClose, "&Close"},
            {mnuFileBar0, "-"},
            {mnuFileSave, "&Save", &F::mnuFileSave_Click},
            {mnuFileSaveAs, "Save &As...", &F::mnuFileSaveAs_Click},
            {mnuFileSaveAll, "Save A&ll", nullptr, none, Start::Disabled},
            {mnuFileBar1, "-"},
            {mnuFileProperties, "Propert&ies", nullptr, none, Start::Disabled},
            {mnuFileBar2, "-"},
            {mnuFilePageSetup, "Page Set&up...", &F::mnuFilePageSetup_Click},
            {mnuFilePrintPreview, "Print Pre&view", nullptr, none, Start::Disabled},
            {mnuFilePrint, "&Print...", &F::mnuFilePrint_Click, none, Start::Disabled},
            {mnuFileBar3, "-"},
            {mnuFileSend, "Sen&d...", nullptr, none, Start::Disabled},
            {mnuFileBar4, "-"},
            {mnuFileMRU1, "", nullptr, none, Start::Hidden},
            {mnuFileMRU2, "", nullptr, none, Start::Hidden},
            {mnuFileMRU3, "", nullptr, none, Start::Hidden},
            {mnuFileBar5, "-", nullptr, none, Start::Hidden},
            {mnuFileExit, "E&xit", &F::mnuFileExit_Click},
        }},
        {mnuEdit, "&Edit", {
            {mnuEditUndo, "&Undo", nullptr, none, Start::Disabled},
            {mnuEditBar0, "-"},
            {mnuEditCut, "Cu&t", &F::mnuEditCut_Click, Qt::CTRL | Qt::Key_X},
            {mnuEditCopy, "&Copy", &F::mnuEditCopy_Click, Qt::CTRL | Qt::Key_C},
            {mnuEditPaste, "&Paste", &F::mnuEditPaste_Click, Qt::CTRL | Qt::Key_V},
            {mnuEditPasteSpecial, "Paste &Special...", nullptr, none, Start::Disabled},
        }},
        {mnuView, "&View", {
            {mnuViewToolbar, "&Toolbar", &F::mnuViewToolbar_Click, none, Start::Checked},
            {mnuViewStatusBar, "Status &Bar", &F::mnuViewStatusBar_Click, none, Start::Checked},
            {mnuViewBar0, "-"},
            {mnuViewRefresh, "&Refresh", nullptr, none, Start::Disabled},
            {mnuViewOptions, "&Options...", nullptr, none, Start::Disabled},
            {mnuViewWebBrowser, "&Web Browser", nullptr, none, Start::Disabled},
        }},
        {mnuWindow, "&Window", {
            {mnuWindowNewWindow, "&New Window", &F::mnuWindowNewWindow_Click},
            {mnuWindowBar0, "-"},
            {mnuWindowCascade, "&Cascade", &F::mnuWindowCascade_Click},
            {mnuWindowTileHorizontal, "Tile &Horizontal", &F::mnuWindowTileHorizontal_Click},
            {mnuWindowTileVertical, "Tile &Vertical", &F::mnuWindowTileVertical_Click},
            {mnuWindowArrangeIcons, "&Arrange Icons", &F::mnuWindowArrangeIcons_Click},
        }},
        {mnuHelp, "&Help", {
            {mnuHelpContents, "&Contents", nullptr, none, Start::Disabled},
            {mnuHelpSearchForHelpOn, "&Search For Help On...", nullptr, none, Start::Disabled},
            {mnuHelpBar0, "-"},
            {mnuHelpAbout, "&About ", &F::mnuHelpAbout_Click},
        }},
    };
}

} // namespace

void frmMain::createMenus()
{
    for (const Menu &menuData : menuTree()) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(menuData.caption));
        menu->setObjectName(menuData.name);
        for (const MenuItem &item : menuData.items) {
            QAction *action = qstrcmp(item.caption, "-") == 0 ? menu->addSeparator()
                                                                : menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(item.name);
            action->setShortcut(item.shortcut);
            action->setEnabled(item.start != Start::Disabled);
            action->setVisible(item.start != Start::Hidden);
            if (item.start == Start::Checked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            if (const Handler handler = item.handler) {
                connect(action, &QAction::triggered, this, [this, action, handler](bool checked) {
                    // A check mark is the handler's to set: undo Qt's own toggle first.
                    if (action->isCheckable())
                        action->setChecked(!checked);
                    (this->*handler)();
                });
            }
        }
        if (menuData.name == MenuName::mnuWindow) {
            m_windowMenu = menu;
            connect(menu, &QMenu::aboutToShow, this, &frmMain::rebuildWindowMenu);
        }
    }
}

QAction *frmMain::menuItem(const QString &name) const
{
    return menuBar()->findChild<QAction *>(name);
}

QMenu *frmMain::menu(const QString &name) const
{
    return menuBar()->findChild<QMenu *>(name);
}

void frmMain::rebuildWindowMenu()
{
    // Below its own items the Window menu lists the open document windows,
    // numbered, the active one checked; choosing one activates it.
    const QList<QAction *> actions = m_windowMenu->actions();
    for (QAction *action : actions)
        if (action->property("windowList").toBool()) {
            m_windowMenu->removeAction(action);
            action->deleteLater();
        }
    const QList<frmDocument *> open = documents();
    if (open.isEmpty())
        return;
    QAction *bar = m_windowMenu->addSeparator();
    bar->setProperty("windowList", true);
    const frmDocument *active = ActiveDocument();
    int number = 0;
    for (frmDocument *document : open) {
        ++number;
        const QString accelerator = number < 10 ? QStringLiteral("&%1 ").arg(number)
                                                : QStringLiteral("%1 ").arg(number);
        // A caption is shown as it is: an "&" in it is no access key.
        QString caption = document->Caption();
        caption.replace(u'&', QStringLiteral("&&"));
        QAction *entry = m_windowMenu->addAction(accelerator + caption);
        entry->setProperty("windowList", true);
        entry->setCheckable(true);
        entry->setChecked(document == active);
        connect(entry, &QAction::triggered, this, [this, document] {
            if (m_mdiArea->subWindowList().contains(document)) {
                if (document->isMinimized())
                    document->showNormal();
                m_mdiArea->setActiveSubWindow(document);
            }
        });
    }
}

void frmMain::createToolBar()
{
    m_toolBar = new KeyedToolBar(tr("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->toggleViewAction()->setVisible(false);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    for (const ToolbarRow &row : toolbarRows()) {
        if (row.isSeparator()) {
            m_toolBar->addSeparator();
            continue;
        }
        const QIcon icon(QStringLiteral(":/icons/%1.xpm").arg(row.image));
        m_toolBar->addButton(row.key, icon, row.style);
    }
    connect(m_toolBar, &KeyedToolBar::ButtonClick, this, &frmMain::tbToolBar_ButtonClick);
}

void frmMain::createFormattingBar()
{
    const auto makeCombo = [this](const char *name, const QString &accessibleName, const QString &initial,
                                  const QStringList &items, int widthTwips) {
        auto *combo = new FormatComboBox(m_toolBar);
        combo->setObjectName(QString::fromUtf8(name));
        combo->setMaxVisibleItems(25);
        combo->addItems(items);
        combo->setCurrentIndex(-1);
        combo->setEditText(initial);
        combo->setAccessibleName(accessibleName);
        // At least the laid-out width, and wide enough to show the initial text whole.
        combo->setMinimumContentsLength(int(initial.size()));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumWidth(twips::toPixels(widthTwips));
        combo->lineEdit()->setCursorPosition(0);
        return combo;
    };

    QStringList sizes;
    for (int size = 10; size <= 100; size += 5)
        sizes.append(QString::number(size));
    sizes << QStringLiteral("125") << QStringLiteral("150") << QStringLiteral("175")
          << QStringLiteral("200") << QStringLiteral("250") << QStringLiteral("300");
    FormatComboBox *fs1 = makeCombo("fs1", tr("Font Size"), QStringLiteral("Font Size"), sizes, 1095);

    auto *slider1 = new FormatSlider(Qt::Horizontal, m_toolBar);
    slider1->setObjectName(QStringLiteral("Slider1"));
    slider1->setAccessibleName(tr("Font Size Slider"));
    slider1->setRange(0, 100);
    slider1->setSingleStep(1);
    slider1->setPageStep(5);
    slider1->setTickPosition(QSlider::TicksBelow);
    slider1->setTickInterval(10);
    slider1->setFixedWidth(twips::toPixels(2655));
    slider1->setFocusPolicy(Qt::StrongFocus);

    QStringList colours;
    for (const formattables::Colour &colour : formattables::Colours)
        colours << QString::fromLatin1(colour.name);
    FormatComboBox *fc1 = makeCombo("fc1", tr("Font Color"), QStringLiteral("Font Color"), colours, 1215);
    QStringList faces;
    for (const char *face : formattables::Faces)
        faces << QString::fromLatin1(face);
    FormatComboBox *f1 = makeCombo("f1", tr("Font"), QStringLiteral("Font"), faces, 1695);
    m_fs1 = fs1;
    m_slider1 = slider1;
    m_fc1 = fc1;
    m_f1 = f1;

    const auto gap = [this](int widthTwips) {
        auto *spacer = new QWidget(m_toolBar);
        spacer->setFixedWidth(twips::toPixels(widthTwips));
        m_toolBar->addWidget(spacer);
    };
    gap(105);
    m_toolBar->addWidget(m_fs1);
    gap(105);
    m_toolBar->addWidget(m_slider1);
    gap(105);
    m_toolBar->addWidget(m_fc1);
    gap(225);
    m_toolBar->addWidget(m_f1);

    connect(f1, &QComboBox::activated, this, &frmMain::f1_Click);
    connect(fc1, &QComboBox::activated, this, &frmMain::fc1_Click);
    connect(fc1, &FormatComboBox::GotFocus, this, &frmMain::fc1_GotFocus);
    connect(fs1, &QComboBox::activated, this, &frmMain::fs1_Click);
    connect(slider1, &FormatSlider::Click, this, &frmMain::Slider1_Click);
    connect(slider1, &FormatSlider::MouseMove, this, &frmMain::Slider1_MouseMove);

    setTabOrder(m_fs1, m_slider1);
    setTabOrder(m_slider1, m_fc1);
    setTabOrder(m_fc1, m_f1);
}

void frmMain::createStatusBar()
{
    m_statusBar = new PanelStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("sbStatusBar"));
    setStatusBar(m_statusBar);
}
