// The static make-up of the main window: menus, toolbar, formatting bar and
// status bar, with every control named as the rest of the program knows it.

#include "app/frmMain.h"

#include "document/frmDocument.h"
#include "platform/FormatComboBox.h"
#include "platform/PanelStatusBar.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSlider>

namespace {

struct MenuItem {
    const char *name;
    const char *caption;      // "-" for a separator
    QKeySequence shortcut;
    bool enabled = true;
    bool visible = true;
    bool checked = false;     // a check mark that starts on
};

struct Menu {
    const char *name;
    const char *caption;
    QList<MenuItem> items;
};

QList<Menu> menuTree()
{
    const QKeySequence none;
    return {
        {"mnuFile", "&File", {
            {"mnuFileNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)},
            {"mnuFileOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"mnuFileClose", "&Close", none},
            {"mnuFileBar0", "-", none},
            {"mnuFileSave", "&Save", none},
            {"mnuFileSaveAs", "Save &As...", none},
            {"mnuFileSaveAll", "Save A&ll", none, false},
            {"mnuFileBar1", "-", none},
            {"mnuFileProperties", "Propert&ies", none, false},
            {"mnuFileBar2", "-", none},
            {"mnuFilePageSetup", "Page Set&up...", none},
            {"mnuFilePrintPreview", "Print Pre&view", none, false},
            {"mnuFilePrint", "&Print...", none, false},
            {"mnuFileBar3", "-", none},
            {"mnuFileSend", "Sen&d...", none, false},
            {"mnuFileBar4", "-", none},
            {"mnuFileMRU(1)", "", none, true, false},
            {"mnuFileMRU(2)", "", none, true, false},
            {"mnuFileMRU(3)", "", none, true, false},
            {"mnuFileBar5", "-", none, true, false},
            {"mnuFileExit", "E&xit", none},
        }},
        {"mnuEdit", "&Edit", {
            {"mnuEditUndo", "&Undo", none, false},
            {"mnuEditBar0", "-", none},
            {"mnuEditCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X)},
            {"mnuEditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
            {"mnuEditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
            {"mnuEditPasteSpecial", "Paste &Special...", none, false},
        }},
        {"mnuView", "&View", {
            {"mnuViewToolbar", "&Toolbar", none, true, true, true},
            {"mnuViewStatusBar", "Status &Bar", none, true, true, true},
            {"mnuViewBar0", "-", none},
            {"mnuViewRefresh", "&Refresh", none, false},
            {"mnuViewOptions", "&Options...", none, false},
            {"mnuViewWebBrowser", "&Web Browser", none, false},
        }},
        {"mnuWindow", "&Window", {
            {"mnuWindowNewWindow", "&New Window", none},
            {"mnuWindowBar0", "-", none},
            {"mnuWindowCascade", "&Cascade", none},
            {"mnuWindowTileHorizontal", "Tile &Horizontal", none},
            {"mnuWindowTileVertical", "Tile &Vertical", none},
            {"mnuWindowArrangeIcons", "&Arrange Icons", none},
        }},
        {"mnuHelp", "&Help", {
            {"mnuHelpContents", "&Contents", none, false},
            {"mnuHelpSearchForHelpOn", "&Search For Help On...", none, false},
            {"mnuHelpBar0", "-", none},
            {"mnuHelpAbout", "&About ", none},
        }},
    };
}

} // namespace

void frmMain::createMenus()
{
    using Handler = void (frmMain::*)();
    const QHash<QString, Handler> wiring = {
        {QStringLiteral("mnuFileNew"), &frmMain::mnuFileNew_Click},
        {QStringLiteral("mnuFileOpen"), &frmMain::mnuFileOpen_Click},
        {QStringLiteral("mnuFileSave"), &frmMain::mnuFileSave_Click},
        {QStringLiteral("mnuFileSaveAs"), &frmMain::mnuFileSaveAs_Click},
        {QStringLiteral("mnuFilePageSetup"), &frmMain::mnuFilePageSetup_Click},
        {QStringLiteral("mnuFilePrint"), &frmMain::mnuFilePrint_Click},
        {QStringLiteral("mnuFileExit"), &frmMain::mnuFileExit_Click},
        {QStringLiteral("mnuEditCut"), &frmMain::mnuEditCut_Click},
        {QStringLiteral("mnuEditCopy"), &frmMain::mnuEditCopy_Click},
        {QStringLiteral("mnuEditPaste"), &frmMain::mnuEditPaste_Click},
        {QStringLiteral("mnuViewToolbar"), &frmMain::mnuViewToolbar_Click},
        {QStringLiteral("mnuViewStatusBar"), &frmMain::mnuViewStatusBar_Click},
        {QStringLiteral("mnuWindowNewWindow"), &frmMain::mnuWindowNewWindow_Click},
        {QStringLiteral("mnuWindowCascade"), &frmMain::mnuWindowCascade_Click},
        {QStringLiteral("mnuWindowTileHorizontal"), &frmMain::mnuWindowTileHorizontal_Click},
        {QStringLiteral("mnuWindowTileVertical"), &frmMain::mnuWindowTileVertical_Click},
        {QStringLiteral("mnuWindowArrangeIcons"), &frmMain::mnuWindowArrangeIcons_Click},
        {QStringLiteral("mnuHelpAbout"), &frmMain::mnuHelpAbout_Click},
    };

    for (const Menu &menuData : menuTree()) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(menuData.caption));
        menu->setObjectName(QString::fromUtf8(menuData.name));
        for (const MenuItem &item : menuData.items) {
            const QString name = QString::fromUtf8(item.name);
            QAction *action = QString::fromUtf8(item.caption) == QLatin1String("-")
                ? menu->addSeparator()
                : menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(name);
            action->setShortcut(item.shortcut);
            action->setEnabled(item.enabled);
            action->setVisible(item.visible);
            if (item.checked) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            if (const Handler handler = wiring.value(name)) {
                connect(action, &QAction::triggered, this, [this, action, handler](bool checked) {
                    // A check mark is the handler's to set: undo Qt's own toggle first.
                    if (action->isCheckable())
                        action->setChecked(!checked);
                    (this->*handler)();
                });
            }
        }
        if (menuData.name == QByteArrayView("mnuWindow")) {
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
        QAction *entry = m_windowMenu->addAction(accelerator + document->Caption());
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

    struct ButtonData {
        const char *key;       // nullptr for a separator
        const char *image;
        KeyedToolBar::Style style;
    };
    const ButtonData layout[] = {
        {"New", "new", KeyedToolBar::Style::Plain},
        {"Open", "open", KeyedToolBar::Style::Plain},
        {"Save", "save", KeyedToolBar::Style::Plain},
        {nullptr, nullptr, KeyedToolBar::Style::Plain},
        {"Print", "print", KeyedToolBar::Style::Plain},
        {nullptr, nullptr, KeyedToolBar::Style::Plain},
        {"Cut", "cut", KeyedToolBar::Style::Plain},
        {"Copy", "copy", KeyedToolBar::Style::Plain},
        {"Paste", "paste", KeyedToolBar::Style::Plain},
        {nullptr, nullptr, KeyedToolBar::Style::Plain},
        {"Bold", "bold", KeyedToolBar::Style::Toggle},
        {"Italic", "italic", KeyedToolBar::Style::Toggle},
        {"Underline", "underline", KeyedToolBar::Style::Toggle},
        {nullptr, nullptr, KeyedToolBar::Style::Plain},
        {"Align Left", "alignleft", KeyedToolBar::Style::Group},
        {"Center", "center", KeyedToolBar::Style::Group},
        {"Align Right", "alignright", KeyedToolBar::Style::Group},
    };
    for (const ButtonData &button : layout) {
        if (!button.key) {
            m_toolBar->addSeparator();
            continue;
        }
        const QIcon icon(QStringLiteral(":/icons/%1.xpm").arg(QLatin1String(button.image)));
        m_toolBar->addButton(QString::fromUtf8(button.key), icon, button.style);
    }
    connect(m_toolBar, &KeyedToolBar::ButtonClick, this, &frmMain::tbToolBar_ButtonClick);
}

void frmMain::createFormattingBar()
{
    const auto makeCombo = [this](const char *name, const QString &accessibleName, const QString &initial,
                                  const QStringList &items, int widthTwips) {
        auto *combo = new FormatComboBox(m_toolBar);
        combo->setObjectName(QString::fromUtf8(name));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
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
    m_fs1 = makeCombo("fs1", tr("Font Size"), QStringLiteral("Font Size"), sizes, 1095);

    m_slider1 = new QSlider(Qt::Horizontal, m_toolBar);
    m_slider1->setObjectName(QStringLiteral("Slider1"));
    m_slider1->setAccessibleName(tr("Font Size Slider"));
    m_slider1->setRange(0, 100);
    m_slider1->setSingleStep(1);
    m_slider1->setPageStep(5);
    m_slider1->setTickPosition(QSlider::TicksBelow);
    m_slider1->setTickInterval(10);
    m_slider1->setMouseTracking(true);
    m_slider1->setFixedWidth(twips::toPixels(2655));
    m_slider1->setFocusPolicy(Qt::StrongFocus);

    m_fc1 = makeCombo("fc1", tr("Font Color"), QStringLiteral("Font Color"),
                      {QStringLiteral("Black"), QStringLiteral("Red"), QStringLiteral("Red(Thick)"),
                       QStringLiteral("Red(Light)"), QStringLiteral("Yellow"), QStringLiteral("Yellow(Thick)"),
                       QStringLiteral("Yellow(Light)"), QStringLiteral("Blue"), QStringLiteral("Blue(Thick)"),
                       QStringLiteral("Blue(Light)"), QStringLiteral("Green"), QStringLiteral("Green(Thick)"),
                       QStringLiteral("Green(Light)"), QStringLiteral("Meganta")},
                      1215);
    m_f1 = makeCombo("f1", tr("Font"), QStringLiteral("Font"),
                     {QStringLiteral("Times New Roman"), QStringLiteral("Agency FB"), QStringLiteral("Rockwell"),
                      QStringLiteral("Courier New"), QStringLiteral("Arial"), QStringLiteral("MS Sans Serif"),
                      QStringLiteral("System"), QStringLiteral("Edwardian Script ITC"),
                      QStringLiteral("Gill Sans MT")},
                     1695);

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

    connect(m_f1, &QComboBox::activated, this, &frmMain::f1_Click);
    connect(m_fc1, &QComboBox::activated, this, &frmMain::fc1_Click);
    connect(m_fs1, &QComboBox::activated, this, &frmMain::fs1_Click);
    m_fc1->lineEdit()->installEventFilter(this);
    m_slider1->installEventFilter(this);

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
