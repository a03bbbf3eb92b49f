// The main window: placement settings, its static make-up, document windows
// and their numbering and fitting, View and Window commands, the About window.

#include "about/Form1.h"
#include "app/Module1.h"
#include "app/frmMain.h"
#include "document/frmDocument.h"
#include "platform/MdiArrange.h"
#include "platform/PanelStatusBar.h"
#include "platform/RichTextBox.h"
#include "platform/Twips.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>

namespace {
// Where the settings store keeps a placement value.
QString settingsKey(const QString &name)
{
    return QStringLiteral("Project2/Settings/") + name;
}
}

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void placementIsRestoredFromSettings_data();
    void placementIsRestoredFromSettings();
    void closingStoresPlacementUnlessMinimised_data();
    void closingStoresPlacementUnlessMinimised();
    void fileExitClosesUnchangedDocumentsWithoutAsking();

    void menuTreeMatchesLayout();
    void onlyFiveShortcutsExist();
    void toolbarHasThirteenKeyedButtonsInFiveGroups();
    void formattingControlsStartWithTheirTexts();
    void statusBarHasThreePanels();

    void documentsAreNumberedNeverReused();
    void counterAtItsLimitMakesNoWindow();
    void surfaceIsFittedInsideItsWindow();
    void tooSmallWindowKeepsLastGoodSurface();
    void windowMenuListsOpenDocuments();
    void fileCloseDoesNothing();

    void viewTogglesHideAndShowTheirBars();
    void tilingSharesTheDocumentArea_data();
    void tilingSharesTheDocumentArea();
    void arrangeIconsLinesUpOnlyMinimisedWindows();
    void arrangingWithoutDocumentsDoesNothing();
    void aboutWindowIsSingleAndOutlivesMainWindow();
    void aboutWindowIsLoadedAfreshAfterClosing_data();
    void aboutWindowIsLoadedAfreshAfterClosing();
};

void MainWindowTest::placementIsRestoredFromSettings_data()
{
    QTest::addColumn<QStringList>("stored");     // key=value pairs
    QTest::addColumn<QList<int>>("twipsExpected"); // left, top, width, height

    QTest::newRow("first run") << QStringList{} << QList<int>{1000, 1000, 6500, 6500};
    QTest::newRow("all stored") << QStringList{"MainLeft=1500", "MainTop=750", "MainWidth=9000", "MainHeight=6000"}
                                << QList<int>{1500, 750, 9000, 6000};
    QTest::newRow("one key missing") << QStringList{"MainLeft=1500", "MainTop=750", "MainHeight=6000"}
                                     << QList<int>{1500, 750, 6500, 6000};
    QTest::newRow("not a number") << QStringList{"MainLeft=abc", "MainTop=", "MainWidth=9000x", "MainHeight=6000"}
                                  << QList<int>{1000, 1000, 6500, 6000};
    QTest::newRow("beyond any screen") << QStringList{"MainLeft=1e30", "MainWidth=-3000", "MainHeight=inf"}
                                       << QList<int>{1000, 1000, 6500, 6500};
    QTest::newRow("negative position kept") << QStringList{"MainLeft=-600", "MainTop=-300"}
                                            << QList<int>{-600, -300, 6500, 6500};
}

void MainWindowTest::placementIsRestoredFromSettings()
{
    QFETCH(QStringList, stored);
    QFETCH(QList<int>, twipsExpected);
    MainWindowFixture fixture(false);
    for (const QString &pair : stored)
        fixture.settings.values.insert(settingsKey(pair.section(QLatin1Char('='), 0, 0)), pair.section(QLatin1Char('='), 1));
    frmMain &window = fixture.window();
    window.Load();
    QCOMPARE(window.x(), twips::toPixels(twipsExpected[0]));
    QCOMPARE(window.y(), twips::toPixels(twipsExpected[1]));
    QCOMPARE(window.width(), twips::toPixels(twipsExpected[2]));
    QCOMPARE(window.height(), twips::toPixels(twipsExpected[3]));
    QCOMPARE(window.documents().size(), 1);
    QCOMPARE(window.ActiveDocument()->Caption(), QStringLiteral("Document 1"));
}

void MainWindowTest::closingStoresPlacementUnlessMinimised_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("normal") << int(Qt::WindowNoState);
    QTest::newRow("maximised") << int(Qt::WindowMaximized);
    QTest::newRow("minimised") << int(Qt::WindowMinimized);
}

void MainWindowTest::closingStoresPlacementUnlessMinimised()
{
    QFETCH(int, state);
    MainWindowFixture fixture;
    fixture.settings.values.insert(settingsKey(QStringLiteral("MainLeft")), "1234");
    fixture.window().setWindowState(Qt::WindowState(state));
    QTRY_COMPARE(int(fixture.window().windowState()), state);
    const QRect bounds(fixture.window().pos(), fixture.window().size());
    fixture.window().close();
    if (state == Qt::WindowMinimized) {
        QCOMPARE(fixture.settings.saves, 0);
        QCOMPARE(fixture.settings.values.value(settingsKey(QStringLiteral("MainLeft"))), QStringLiteral("1234"));
        return;
    }
    QCOMPARE(fixture.settings.saves, 4);
    QCOMPARE(fixture.settings.values.value(settingsKey(QStringLiteral("MainLeft"))).toDouble(), twips::fromPixels(bounds.x()));
    QCOMPARE(fixture.settings.values.value(settingsKey(QStringLiteral("MainTop"))).toDouble(), twips::fromPixels(bounds.y()));
    QCOMPARE(fixture.settings.values.value(settingsKey(QStringLiteral("MainWidth"))).toDouble(), twips::fromPixels(bounds.width()));
    QCOMPARE(fixture.settings.values.value(settingsKey(QStringLiteral("MainHeight"))).toDouble(), twips::fromPixels(bounds.height()));
}

void MainWindowTest::fileExitClosesUnchangedDocumentsWithoutAsking()
{
    MainWindowFixture fixture;
    fixture.window().CreateDocumentWindow();
    // Typed and taken back: nothing to lose.
    fixture.surface().setSelText(QStringLiteral("words"));
    fixture.surface().undo();
    fixture.window().menuItem(MenuName::mnuFileExit)->trigger();
    QVERIFY(!fixture.window().isVisible());
    QVERIFY(fixture.window().documents().isEmpty());
    QVERIFY(fixture.messages.messages.isEmpty());
    QVERIFY(fixture.messages.questions.isEmpty());
    QCOMPARE(fixture.settings.saves, 4);
}

void MainWindowTest::menuTreeMatchesLayout()
{
    MainWindowFixture fixture;
    // name, caption, enabled, visible, checked ("-" for separators)
    const QList<QPair<QString, QStringList>> tree = {
        {"&File", {"mnuFileNew|&New|1|1|0", "mnuFileOpen|&Open...|1|1|0", "mnuFileClose|&Close|1|1|0",
                   "mnuFileBar0|-|1|1|0", "mnuFileSave|&Save|1|1|0", "mnuFileSaveAs|Save &As...|1|1|0",
                   "mnuFileSaveAll|Save A&ll|0|1|0", "mnuFileBar1|-|1|1|0", "mnuFileProperties|Propert&ies|0|1|0",
                   "mnuFileBar2|-|1|1|0", "mnuFilePageSetup|Page Set&up...|1|1|0",
                   "mnuFilePrintPreview|Print Pre&view|0|1|0", "mnuFilePrint|&Print...|0|1|0",
                   "mnuFileBar3|-|1|1|0", "mnuFileSend|Sen&d...|0|1|0", "mnuFileBar4|-|1|1|0",
                   "mnuFileMRU(1)||1|0|0", "mnuFileMRU(2)||1|0|0", "mnuFileMRU(3)||1|0|0",
                   "mnuFileBar5|-|1|0|0", "mnuFileExit|E&xit|1|1|0"}},
        {"&Edit", {"mnuEditUndo|&Undo|0|1|0", "mnuEditBar0|-|1|1|0", "mnuEditCut|Cu&t|1|1|0",
                   "mnuEditCopy|&Copy|1|1|0", "mnuEditPaste|&Paste|1|1|0",
                   "mnuEditPasteSpecial|Paste &Special...|0|1|0"}},
        {"&View", {"mnuViewToolbar|&Toolbar|1|1|1", "mnuViewStatusBar|Status &Bar|1|1|1", "mnuViewBar0|-|1|1|0",
                   "mnuViewRefresh|&Refresh|0|1|0", "mnuViewOptions|&Options...|0|1|0",
                   "mnuViewWebBrowser|&Web Browser|0|1|0"}},
        {"&Window", {"mnuWindowNewWindow|&New Window|1|1|0", "mnuWindowBar0|-|1|1|0",
                     "mnuWindowCascade|&Cascade|1|1|0", "mnuWindowTileHorizontal|Tile &Horizontal|1|1|0",
                     "mnuWindowTileVertical|Tile &Vertical|1|1|0", "mnuWindowArrangeIcons|&Arrange Icons|1|1|0"}},
        {"&Help", {"mnuHelpContents|&Contents|0|1|0", "mnuHelpSearchForHelpOn|&Search For Help On...|0|1|0",
                   "mnuHelpBar0|-|1|1|0", "mnuHelpAbout|&About |1|1|0"}},
    };
    const QList<QAction *> top = fixture.window().menuBar()->actions();
    QCOMPARE(top.size(), tree.size());
    for (qsizetype m = 0; m < tree.size(); ++m) {
        QCOMPARE(top[m]->text(), tree[m].first);
        const QList<QAction *> items = top[m]->menu()->actions();
        QCOMPARE(items.size(), tree[m].second.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const QStringList want = tree[m].second[i].split(QLatin1Char('|'));
            QAction *item = items[i];
            QCOMPARE(item->objectName(), want[0]);
            if (want[1] == QLatin1String("-"))
                QVERIFY(item->isSeparator());
            else
                QCOMPARE(item->text(), want[1]);
            QCOMPARE(item->isVisible(), want[3] == QLatin1String("1"));
            if (item->isVisible())
                QCOMPARE(item->isEnabled(), want[2] == QLatin1String("1"));
            QCOMPARE(item->isChecked(), want[4] == QLatin1String("1"));
        }
    }
}

void MainWindowTest::onlyFiveShortcutsExist()
{
    MainWindowFixture fixture;
    QMap<QString, QString> shortcuts;
    QList<QAction *> actions = fixture.window().tbToolBar()->actions();
    for (QMenu *menu : fixture.window().menuBar()->findChildren<QMenu *>())
        actions += menu->actions();
    for (QAction *action : actions)
        if (!action->shortcut().isEmpty())
            shortcuts.insert(action->objectName(), action->shortcut().toString());
    const QMap<QString, QString> expected = {
        {MenuName::mnuFileNew, "Ctrl+N"}, {MenuName::mnuFileOpen, "Ctrl+O"}, {MenuName::mnuEditCut, "Ctrl+X"},
        {MenuName::mnuEditCopy, "Ctrl+C"}, {MenuName::mnuEditPaste, "Ctrl+V"},
    };
    QCOMPARE(shortcuts, expected);
}

void MainWindowTest::toolbarHasThirteenKeyedButtonsInFiveGroups()
{
    MainWindowFixture fixture;
    QStringList layout;
    for (QAction *action : fixture.window().tbToolBar()->actions()) {
        if (action->isSeparator())
            layout.append(QStringLiteral("|"));
        else if (!action->text().isEmpty())
            layout.append(action->text());
    }
    QCOMPARE(layout.join(QLatin1Char(',')),
             QStringLiteral("New,Open,Save,|,Print,|,Cut,Copy,Paste,|,Bold,Italic,Underline,|,"
                            "Align Left,Center,Align Right"));
    for (const auto &button : fixture.window().tbToolBar()->buttons()) {
        QCOMPARE(button->action()->toolTip(), button->Key());
        QCOMPARE(button->Value(), 0);
        QVERIFY2(!button->action()->icon().isNull(), qPrintable(button->Key()));
    }
    // The alignment buttons are a group: pressing one releases the others.
    KeyedToolBar *bar = fixture.window().tbToolBar();
    bar->press(bar->Buttons(ToolbarKey::AlignLeft));
    bar->press(bar->Buttons(ToolbarKey::Center));
    QCOMPARE(bar->Buttons(ToolbarKey::AlignLeft)->Value(), 0);
    QCOMPARE(bar->Buttons(ToolbarKey::Center)->Value(), 1);
    QCOMPARE(bar->Buttons(ToolbarKey::AlignRight)->Value(), 0);
}

void MainWindowTest::formattingControlsStartWithTheirTexts()
{
    MainWindowFixture fixture;
    frmMain &w = fixture.window();
    w.resize(1400, 600);
    QCoreApplication::processEvents();
    QCOMPARE(w.fs1()->currentText(), QStringLiteral("Font Size"));
    QCOMPARE(w.fc1()->currentText(), QStringLiteral("Font Color"));
    QCOMPARE(w.f1()->currentText(), QStringLiteral("Font"));
    QCOMPARE(w.fs1()->count(), 25);
    QCOMPARE(w.fs1()->itemText(0), QStringLiteral("10"));
    QCOMPARE(w.fs1()->itemText(18), QStringLiteral("100"));
    QCOMPARE(w.fs1()->itemText(24), QStringLiteral("300"));
    QCOMPARE(w.fc1()->count(), 14);
    QCOMPARE(w.fc1()->itemText(13), QStringLiteral("Meganta"));
    QCOMPARE(w.f1()->count(), 9);
    QCOMPARE(w.f1()->itemText(0), QStringLiteral("Times New Roman"));
    QCOMPARE(w.f1()->itemText(8), QStringLiteral("Gill Sans MT"));
    QCOMPARE(w.Slider1()->minimum(), 0);
    QCOMPARE(w.Slider1()->maximum(), 100);
    QCOMPARE(w.Slider1()->singleStep(), 1);
    QCOMPARE(w.Slider1()->pageStep(), 5);
    QVERIFY(w.Slider1()->hasMouseTracking());
    // Left to right on the toolbar: size box, slider, colour box, face box.
    QVERIFY(w.fs1()->x() < w.Slider1()->x());
    QVERIFY(w.Slider1()->x() < w.fc1()->x());
    QVERIFY(w.fc1()->x() < w.f1()->x());
    // Keyboard order.
    const auto nextControl = [](QWidget *from) {
        QWidget *next = from->nextInFocusChain();
        while (from->isAncestorOf(next) || next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        return next;
    };
    QCOMPARE(nextControl(w.fs1()), w.Slider1());
    QCOMPARE(nextControl(w.Slider1()), w.fc1());
    QCOMPARE(nextControl(w.fc1()), w.f1());
}

void MainWindowTest::statusBarHasThreePanels()
{
    MainWindowFixture fixture;
    PanelStatusBar *bar = fixture.window().sbStatusBar();
    QCOMPARE(bar->textPanel()->text(), QStringLiteral("Status"));
    QCOMPARE(bar->datePanel()->text(), QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    QVERIFY(!bar->timePanel()->text().isEmpty());
}

void MainWindowTest::documentsAreNumberedNeverReused()
{
    MainWindowFixture fixture;
    frmMain &w = fixture.window();
    w.menuItem(MenuName::mnuFileNew)->trigger();
    w.menuItem(MenuName::mnuWindowNewWindow)->trigger();
    w.tbToolBar()->press(w.tbToolBar()->Buttons(ToolbarKey::New));
    QStringList captions;
    for (frmDocument *document : w.documents())
        captions.append(document->Caption());
    QCOMPARE(captions, (QStringList{"Document 1", "Document 2", "Document 3", "Document 4"}));
    QCOMPARE(w.ActiveDocument()->Caption(), QStringLiteral("Document 4"));
    w.documents().at(1)->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w.CreateDocumentWindow();
    QCOMPARE(w.ActiveDocument()->Caption(), QStringLiteral("Document 5"));
    QCOMPARE(w.DocumentCount(), 5);
}

void MainWindowTest::counterAtItsLimitMakesNoWindow()
{
    MainWindowFixture fixture;
    frmMainTestAccess::setDocumentCount(fixture.window(), INT_MAX - 1);
    fixture.window().CreateDocumentWindow();
    QCOMPARE(fixture.window().ActiveDocument()->Caption(), QStringLiteral("Document 2147483647"));
    fixture.window().CreateDocumentWindow();
    QCOMPARE(fixture.window().DocumentCount(), INT_MAX);
    QCOMPARE(fixture.window().documents().size(), 2);
    QVERIFY(fixture.messages.messages.isEmpty());
}

void MainWindowTest::surfaceIsFittedInsideItsWindow()
{
    MainWindowFixture fixture;
    frmDocument *document = fixture.window().ActiveDocument();
    for (const QSize size : {QSize(500, 400), QSize(300, 200), QSize(900, 600)}) {
        document->resize(size);
        QCoreApplication::processEvents();
        RichTextBox *surface = document->rtfText;
        QCOMPARE(surface->x(), twips::toPixels(100));
        QCOMPARE(surface->y(), twips::toPixels(100));
        QCOMPARE(surface->width(), twips::toPixels(document->ScaleWidth() - 200));
        QCOMPARE(surface->height(), twips::toPixels(document->ScaleHeight() - 200));
        QCOMPARE(surface->RightMargin(), surface->Width() - 400);
        QCOMPARE(surface->lineWrapColumnOrWidth(), twips::toPixels(surface->Width() - 400));
    }
}

void MainWindowTest::tooSmallWindowKeepsLastGoodSurface()
{
    MainWindowFixture fixture;
    frmDocument *document = fixture.window().ActiveDocument();
    document->resize(400, 300);
    QCoreApplication::processEvents();
    const QRect good = document->rtfText->geometry();
    // Narrower than the border: the move is refused, the surface stays.
    document->widget()->resize(10, 5);
    document->Form_Resize();
    QCOMPARE(document->rtfText->geometry(), good);
    QVERIFY(fixture.messages.messages.isEmpty());
}

// Opens a menu of the menu bar with a click on its title.
static QMenu *openMenu(frmMain &window, QLatin1StringView name)
{
    QMenu *menu = window.menu(name);
    user::click(window.menuBar(), window.menuBar()->actionGeometry(menu->menuAction()).center());
    return QTest::qWaitForWindowExposed(menu) ? menu : nullptr;
}

// The window list at the end of the Window menu as the menu shows it (Qt's
// own reading of the text: an access key's "&" unseen, "&&" as "&"), the
// checked entry marked "*".
static QStringList windowList(QMenu *menu)
{
    QStringList list;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            list.clear();
        else
            list.append(action->iconText() + (action->isChecked() ? QStringLiteral("*") : QString()));
    }
    return list;
}

void MainWindowTest::windowMenuListsOpenDocuments()
{
    MainWindowFixture fixture;
    frmMain &w = fixture.window();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Q&A.vrx"));
    w.CreateDocumentWindow();
    fixture.dialogs.fileAnswers.enqueue(path);
    w.menuItem(MenuName::mnuFileSaveAs)->trigger();
    w.CreateDocumentWindow();

    QMenu *menu = openMenu(w, MenuName::mnuWindow);
    QVERIFY(menu);
    QCOMPARE(windowList(menu), (QStringList{"1 Document 1", "2 " + path, "3 Document 3*"}));
    // Choosing an entry activates its window.
    const QList<QAction *> actions = menu->actions();
    user::click(menu, menu->actionGeometry(actions.at(actions.size() - 3)).center());
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(w.ActiveDocument()->Caption(), QStringLiteral("Document 1"));
    // Shown again, the list is rebuilt, not added to.
    QVERIFY(openMenu(w, MenuName::mnuWindow));
    QCOMPARE(windowList(menu), (QStringList{"1 Document 1*", "2 " + path, "3 Document 3"}));
    QTest::keyClick(menu->windowHandle(), Qt::Key_Escape);
}

void MainWindowTest::fileCloseDoesNothing()
{
    MainWindowFixture fixture;
    fixture.window().menuItem(MenuName::mnuFileClose)->trigger();
    QCOMPARE(fixture.window().documents().size(), 1);
}

void MainWindowTest::viewTogglesHideAndShowTheirBars()
{
    MainWindowFixture fixture;
    frmMain &w = fixture.window();
    w.resize(1400, 600);
    QTRY_VERIFY(w.mdiArea()->width() > 1000);     // laid out at the new size
    const int areaHeight = w.mdiArea()->height();
    QAction *toolbarItem = w.menuItem(MenuName::mnuViewToolbar);
    toolbarItem->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!toolbarItem->isChecked());
    QVERIFY(!w.tbToolBar()->isVisible());
    for (QWidget *control : {static_cast<QWidget *>(w.f1()), static_cast<QWidget *>(w.fc1()),
                             static_cast<QWidget *>(w.fs1()), static_cast<QWidget *>(w.Slider1())})
        QVERIFY(!control->isVisible());
    QTRY_VERIFY(w.mdiArea()->height() > areaHeight);
    toolbarItem->trigger();
    QVERIFY(toolbarItem->isChecked());
    QVERIFY(w.tbToolBar()->isVisible());
    QVERIFY(w.f1()->isVisible());
    QTRY_COMPARE(w.mdiArea()->height(), areaHeight);

    QAction *statusItem = w.menuItem(MenuName::mnuViewStatusBar);
    statusItem->trigger();
    QVERIFY(!statusItem->isChecked());
    QVERIFY(!w.sbStatusBar()->isVisible());
    statusItem->trigger();
    QVERIFY(statusItem->isChecked());
    QVERIFY(w.sbStatusBar()->isVisible());
}

void MainWindowTest::tilingSharesTheDocumentArea_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("horizontal") << int(arrange::TileHorizontal);
    QTest::newRow("vertical") << int(arrange::TileVertical);
    QTest::newRow("cascade") << int(arrange::Cascade);
}

void MainWindowTest::tilingSharesTheDocumentArea()
{
    QFETCH(int, mode);
    MainWindowFixture fixture;
    frmMain &w = fixture.window();
    w.resize(900, 700);
    w.CreateDocumentWindow();
    w.CreateDocumentWindow();
    QCoreApplication::processEvents();
    w.Arrange(mode);
    const QRect area = w.mdiArea()->viewport()->rect();
    const QList<frmDocument *> docs = w.documents();
    QCOMPARE(docs.size(), 3);
    if (mode == arrange::Cascade) {
        // Each one further down and to the right than the one before.
        QList<QPoint> corners;
        for (QMdiSubWindow *d : w.mdiArea()->subWindowList(QMdiArea::StackingOrder))
            corners.append(static_cast<QWidget *>(d)->pos());
        for (qsizetype i = 1; i < corners.size(); ++i) {
            QVERIFY(corners[i].x() > corners[i - 1].x());
            QVERIFY(corners[i].y() > corners[i - 1].y());
        }
        return;
    }
    int covered = 0;
    for (qsizetype i = 0; i < docs.size(); ++i) {
        const QRect r = docs[i]->geometry();
        if (mode == arrange::TileHorizontal) {
            QCOMPARE(r.width(), area.width());
            QVERIFY(qAbs(r.height() - area.height() / 3) <= 1);
        } else {
            QCOMPARE(r.height(), area.height());
            QVERIFY(qAbs(r.width() - area.width() / 3) <= 1);
        }
        for (qsizetype j = 0; j < i; ++j)
            QVERIFY(!r.intersects(docs[j]->geometry()));
        covered += r.width() * r.height();
    }
    QCOMPARE(covered, area.width() * area.height());
}

void MainWindowTest::arrangeIconsLinesUpOnlyMinimisedWindows()
{
    MainWindowFixture fixture;
    frmMain &w = fixture.window();
    w.resize(900, 700);
    w.CreateDocumentWindow();
    w.CreateDocumentWindow();
    QCoreApplication::processEvents();
    const QList<frmDocument *> docs = w.documents();
    docs[0]->showMinimized();
    docs[2]->showMinimized();
    docs[0]->move(300, 20);
    docs[1]->setGeometry(40, 40, 300, 200);
    const QRect untouched = docs[1]->geometry();
    w.Arrange(arrange::ArrangeIcons);
    const QRect area = w.mdiArea()->viewport()->rect();
    QCOMPARE(docs[1]->geometry(), untouched);
    QCOMPARE(docs[0]->geometry().bottom(), area.bottom());
    QCOMPARE(docs[0]->x(), area.left());
    QCOMPARE(docs[2]->x(), docs[0]->geometry().right() + 1);
    QCOMPARE(docs[2]->geometry().bottom(), area.bottom());

    // Wrapping: icons fill a row from the left, then the row above.
    const QList<QRect> rects = arrange::icons(QRect(0, 0, 250, 400), {QSize(100, 30), QSize(100, 30), QSize(100, 30)});
    QCOMPARE(rects, (QList<QRect>{QRect(0, 370, 100, 30), QRect(100, 370, 100, 30), QRect(0, 340, 100, 30)}));
}

void MainWindowTest::arrangingWithoutDocumentsDoesNothing()
{
    MainWindowFixture fixture;
    fixture.window().ActiveDocument()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (int mode = 0; mode <= 3; ++mode)
        fixture.window().Arrange(mode);
    QVERIFY(fixture.window().documents().isEmpty());
    // With no minimised window, Arrange Icons moves nothing either.
    fixture.window().CreateDocumentWindow();
    const QRect before = fixture.window().ActiveDocument()->geometry();
    fixture.window().Arrange(arrange::ArrangeIcons);
    QCOMPARE(fixture.window().ActiveDocument()->geometry(), before);
}

void MainWindowTest::aboutWindowIsSingleAndOutlivesMainWindow()
{
    MainWindowFixture fixture;
    fixture.window().menuItem(MenuName::mnuHelpAbout)->trigger();
    Form1 *about = Module1::AboutWindow();
    QVERIFY(about && about->isVisible());
    fixture.window().mnuHelpAbout_Click();
    QCOMPARE(Module1::AboutWindow(), about);
    int visibleAbouts = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        visibleAbouts += qobject_cast<Form1 *>(top) && top->isVisible();
    QCOMPARE(visibleAbouts, 1);
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->Label1->text(), QStringLiteral("Scribvale"));
    QCOMPARE(about->Label1->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QCOMPARE(about->Command1->text(), QStringLiteral("Ok"));
    QCOMPARE(about->size(), QSize(twips::toPixels(6225), twips::toPixels(3420)));
    QVERIFY(!about->parentWidget());

    // Closing the main window leaves the About window open.
    fixture.window().close();
    QVERIFY(about->isVisible());
    QVERIFY(QApplication::quitOnLastWindowClosed());

    QTest::mouseClick(about->Command1, Qt::LeftButton);
    QVERIFY(!about->isVisible());
    fixture.window().mnuHelpAbout_Click();
    QCOMPARE(Module1::AboutWindow(), about);
    QVERIFY(about->isVisible());
    about->close();
}

void MainWindowTest::aboutWindowIsLoadedAfreshAfterClosing_data()
{
    QTest::addColumn<bool>("closeBox");   // otherwise its Ok button
    QTest::newRow("Ok") << false;
    QTest::newRow("close box") << true;
}

void MainWindowTest::aboutWindowIsLoadedAfreshAfterClosing()
{
    QFETCH(bool, closeBox);
    MainWindowFixture fixture;
    QAction *item = fixture.window().menuItem(MenuName::mnuHelpAbout);
    item->trigger();
    Form1 *about = Module1::AboutWindow();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    const QRect first = about->geometry();
    QCOMPARE(first.size(), QSize(twips::toPixels(6225), twips::toPixels(3420)));

    // The person moves it and makes it larger, then closes it.
    about->windowHandle()->setGeometry(first.adjusted(40, 30, 100, 60));
    QTRY_COMPARE(about->geometry(), first.adjusted(40, 30, 100, 60));
    if (closeBox)
        about->windowHandle()->close();
    else
        user::click(about->Command1, about->Command1->rect().center());
    QVERIFY(!about->isVisible());

    // Shown again, it is the window as designed, where the system puts a new one.
    item->trigger();
    QCOMPARE(Module1::AboutWindow(), about);
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->geometry(), first);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
