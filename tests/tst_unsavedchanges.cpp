// A changed document is never closed or replaced without the question
// "Save changes to ...?": what counts as a change, and each route to a close
// or an Open with each answer, checked by what stays open, what was written
// and whether the main window's placement was saved.

#include "document/frmDocument.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTemporaryDir>
#include <QtTest>

using Answer = MessageSink::SaveAnswer;

namespace {

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The text a file loads back as, or nothing when it does not load.
QString loadedText(const QString &path)
{
    RichTextBox surface;
    try {
        surface.LoadFile(path);
    } catch (const Failure &) {
        return QStringLiteral("<does not load>");
    }
    return surface.toPlainText();
}

// A click on the close button of a document window's title bar, found where
// the style draws it.
void clickCloseBox(QMdiSubWindow *window)
{
    QStyleOptionTitleBar option;
    option.initFrom(window);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = window->windowFlags();
    option.titleBarState = int(window->windowState());
    const int border = window->style()->styleHint(QStyle::SH_TitleBar_NoBorder, &option, window) ? 0 : 4;
    const int height = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, window);
    option.rect = QRect(border, border, window->width() - 2 * border, height);
    const QPoint at = window->style()
                          ->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarCloseButton, window)
                          .center();
    // The button reacts to a pointer that came over it.
    user::moveMouse(window, window->rect().center());
    user::moveMouse(window, at);
    user::click(window, at);
}

enum Route { CloseBox, CtrlF4, MainWindowClose, FileExit, FileOpen };
enum Setup { Untitled, Titled, TitledUnwritable };

} // namespace

class UnsavedChangesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void whatCountsAsAChange_data();
    void whatCountsAsAChange();
    void eachRouteAsksAndFollowsTheAnswer_data();
    void eachRouteAsksAndFollowsTheAnswer();
    void mainWindowAsksInWindowOrderAndStopsAtCancel();

private:
    frmMain &w() { return f->window(); }
    RichTextBox &s() { return f->surface(); }
    QString path(const QString &name) const { return dir->filePath(name); }
    void typeIntoDocument(const QString &text);
    void run(Route route);

    std::unique_ptr<MainWindowFixture> f;
    std::unique_ptr<QTemporaryDir> dir;
};

void UnsavedChangesTest::init()
{
    f = std::make_unique<MainWindowFixture>();
    dir = std::make_unique<QTemporaryDir>();
    w().resize(1200, 700);
    w().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w()));
}

void UnsavedChangesTest::cleanup()
{
    f.reset();
    dir.reset();
}

void UnsavedChangesTest::typeIntoDocument(const QString &text)
{
    s().setFocus(Qt::MouseFocusReason);
    user::type(text);
}

// ---- what counts as a change ---------------------------------------------------------------

void UnsavedChangesTest::whatCountsAsAChange_data()
{
    // Steps, each "what:argument": type, key (undo, redo, backspace, all),
    // save (Save As to a new file), fail (Save As into a file as folder),
    // open (a small letter, or the file given), face, size (from the formatting bar), paste, press (a
    // toolbar key). Then the window's close box: is the question asked?
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("asked");
    QTest::newRow("untouched") << QStringList{} << false;
    QTest::newRow("typed") << QStringList{"type:Dear"} << true;
    QTest::newRow("typed, undone") << QStringList{"type:Dear", "key:undo"} << false;
    QTest::newRow("typed, saved") << QStringList{"type:Dear", "save"} << false;
    QTest::newRow("saved, undone past it") << QStringList{"type:Dear", "save", "key:undo"} << true;
    QTest::newRow("saved, undone, redone") << QStringList{"type:Dear", "save", "key:undo", "key:redo"} << false;
    QTest::newRow("backspace with nothing to delete") << QStringList{"key:backspace"} << false;
    QTest::newRow("deleted after saving") << QStringList{"type:Dear", "save", "key:backspace"} << true;
    QTest::newRow("pasted") << QStringList{"paste:from elsewhere"} << true;
    QTest::newRow("another face, empty window") << QStringList{"face:Arial"} << true;
    QTest::newRow("the face it has") << QStringList{"face:Times New Roman"} << false;
    QTest::newRow("size of a selection") << QStringList{"type:Dear", "save", "key:all", "size:35"} << true;
    QTest::newRow("bold on a selection") << QStringList{"type:Dear", "save", "key:all", "press:Bold"} << true;
    QTest::newRow("centred") << QStringList{"press:Center"} << true;
    QTest::newRow("opened") << QStringList{"open"} << false;
    QTest::newRow("opened, typed") << QStringList{"open", "type:x"} << true;
    QTest::newRow("opened with lists, a table and a picture")
        << QStringList{"open:tests/e2e/data/showcase.rtf", "key:all"} << false;
    QTest::newRow("failed save") << QStringList{"type:Dear", "fail"} << true;
}

void UnsavedChangesTest::whatCountsAsAChange()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, asked);
    writeAll(path("blocker"), "a file, not a folder");
    writeAll(path("opened.vrx"), "{\\rtf1\\ansi opened}");
    QString caption = QStringLiteral("Document 1");
    for (const QString &step : steps) {
        const QString what = step.section(QLatin1Char(':'), 0, 0);
        const QString argument = step.section(QLatin1Char(':'), 1);
        if (what == QLatin1String("type")) {
            typeIntoDocument(argument);
        } else if (what == QLatin1String("key")) {
            const QMap<QString, QKeyCombination> keys = {{"undo", Qt::CTRL | Qt::Key_Z}, {"redo", Qt::CTRL | Qt::Key_Y},
                                                         {"backspace", QKeyCombination(Qt::Key_Backspace)},
                                                         {"all", Qt::CTRL | Qt::Key_A}};
            s().setFocus(Qt::MouseFocusReason);
            user::key(keys[argument].key(), keys[argument].keyboardModifiers());
        } else if (what == QLatin1String("save") || what == QLatin1String("fail")) {
            caption = what == QLatin1String("save") ? path("saved.vrx") : path("blocker/saved.vrx");
            f->dialogs.fileAnswers.enqueue(caption);
            w().menuItem(MenuName::mnuFileSaveAs)->trigger();
        } else if (what == QLatin1String("open")) {
            // A small letter, or a file of the source tree.
            caption = argument.isEmpty() ? path("opened.vrx") : QStringLiteral(SCRIBVALE_SOURCE_DIR "/") + argument;
            f->dialogs.fileAnswers.enqueue(caption);
            w().menuItem(MenuName::mnuFileOpen)->trigger();
        } else if (what == QLatin1String("face")) {
            user::choose(w().f1(), argument);
        } else if (what == QLatin1String("size")) {
            user::choose(w().fs1(), argument);
        } else if (what == QLatin1String("paste")) {
            f->clipboard.text = argument;
            s().setFocus(Qt::MouseFocusReason);
            user::key(Qt::Key_V, Qt::ControlModifier);
        } else if (what == QLatin1String("press")) {
            w().tbToolBar()->press(w().tbToolBar()->Buttons(argument));
        }
    }
    QVERIFY(f->messages.questions.isEmpty());
    frmDocument *document = w().ActiveDocument();
    // No mark of a change in the caption.
    QCOMPARE(document->Caption(), caption);
    QCOMPARE(document->windowTitle(), caption);
    f->messages.answers.enqueue(Answer::Cancel);
    clickCloseBox(document);
    QCOMPARE(f->messages.questions.size(), asked ? 1 : 0);
    QCOMPARE(w().documents().size(), asked ? 1 : 0);
}

// ---- routes and answers ---------------------------------------------------------------------

void UnsavedChangesTest::eachRouteAsksAndFollowsTheAnswer_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveDialog");   // the Save dialog's answer, for an untitled document
    QTest::addColumn<bool>("goesOn");          // the close or the Open goes ahead
    QTest::addColumn<QString>("written");      // the file that then holds the text

    const QList<QPair<const char *, Route>> routes = {
        {"close box", CloseBox}, {"Ctrl+F4", CtrlF4}, {"main window close", MainWindowClose},
        {"File Exit", FileExit}, {"File Open", FileOpen}};
    for (const auto &[routeName, route] : routes) {
        const auto row = [&](const char *answerName) {
            return &(QTest::addRow("%s, %s", routeName, answerName) << int(route));
        };
        *row("Save, titled") << int(Titled) << int(Answer::Save) << QString() << true << "titled.vrx";
        *row("Save, untitled") << int(Untitled) << int(Answer::Save) << "new.vrx" << true << "new.vrx";
        *row("Save, dialog cancelled") << int(Untitled) << int(Answer::Save) << QString() << false << QString();
        *row("Save fails") << int(TitledUnwritable) << int(Answer::Save) << QString() << false << QString();
        *row("Don't Save") << int(Titled) << int(Answer::DontSave) << QString() << true << QString();
        *row("Cancel") << int(Titled) << int(Answer::Cancel) << QString() << false << QString();
    }
}

void UnsavedChangesTest::run(Route route)
{
    frmDocument *document = w().ActiveDocument();
    switch (route) {
    case CloseBox: clickCloseBox(document); break;
    case CtrlF4:
        s().setFocus(Qt::MouseFocusReason);
        user::key(Qt::Key_F4, Qt::ControlModifier);
        break;
    case MainWindowClose: w().close(); break;   // as the window manager's close box or a logout does
    case FileExit: w().menuItem(MenuName::mnuFileExit)->trigger(); break;
    case FileOpen: w().menuItem(MenuName::mnuFileOpen)->trigger(); break;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void UnsavedChangesTest::eachRouteAsksAndFollowsTheAnswer()
{
    QFETCH(int, route);
    QFETCH(int, setup);
    QFETCH(int, answer);
    QFETCH(QString, saveDialog);
    QFETCH(bool, goesOn);
    QFETCH(QString, written);

    // The document: untitled and typed into; or saved as titled.vrx and typed
    // into again; or titled with a path no file can be written to.
    writeAll(path("blocker"), "a file, not a folder");
    writeAll(path("other.vrx"), "{\\rtf1\\ansi other}");
    typeIntoDocument(QStringLiteral("first"));
    if (setup != Untitled) {
        f->dialogs.fileAnswers.enqueue(setup == Titled ? path("titled.vrx") : path("blocker/titled.vrx"));
        w().menuItem(MenuName::mnuFileSaveAs)->trigger();
        typeIntoDocument(QStringLiteral(" second"));
    }
    const QString text = s().toPlainText();
    const QString caption = w().ActiveDocument()->Caption();
    const QStringList filesBefore = QDir(dir->path()).entryList(QDir::Files);
    const qsizetype warnings = f->messages.messages.size();

    f->messages.answers.enqueue(Answer(answer));
    if (setup == Untitled && answer == int(Answer::Save))
        f->dialogs.fileAnswers.enqueue(saveDialog.isEmpty() ? QString() : path(saveDialog));
    f->dialogs.fileAnswers.enqueue(path("other.vrx"));
    run(Route(route));

    QCOMPARE(f->messages.questions, QStringList{QStringLiteral("Save changes to %1?").arg(caption)});
    const bool mainRoute = route == MainWindowClose || route == FileExit;
    // What is open afterwards.
    if (!goesOn) {
        QCOMPARE(w().documents().size(), 1);
        QCOMPARE(w().ActiveDocument()->Caption(), caption);
        QCOMPARE(s().toPlainText(), text);
    } else if (route == FileOpen) {
        QCOMPARE(w().ActiveDocument()->Caption(), path("other.vrx"));
        QCOMPARE(s().toPlainText(), QStringLiteral("other"));
    } else {
        QVERIFY(w().documents().isEmpty());
    }
    QCOMPARE(w().isVisible(), !(mainRoute && goesOn));
    // What was written: the text to the file Save chose, and nothing else.
    QStringList filesAfter = filesBefore;
    if (!written.isEmpty()) {
        QCOMPARE(loadedText(path(written)), text);
        if (!filesAfter.contains(written))
            filesAfter.append(written);
    } else if (setup == Titled) {
        QCOMPARE(loadedText(path("titled.vrx")), QStringLiteral("first"));
    }
    filesAfter.sort();
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files, QDir::Name), filesAfter);
    QCOMPARE(f->messages.messages.size(), warnings + (setup == TitledUnwritable ? 1 : 0));
    // Whether the placement was saved: only when the main window went.
    QCOMPARE(f->settings.saves, mainRoute && goesOn ? 4 : 0);
}

void UnsavedChangesTest::mainWindowAsksInWindowOrderAndStopsAtCancel()
{
    typeIntoDocument(QStringLiteral("one"));
    w().CreateDocumentWindow();   // Document 2, untouched
    w().CreateDocumentWindow();
    typeIntoDocument(QStringLiteral("three"));
    w().CreateDocumentWindow();
    typeIntoDocument(QStringLiteral("four"));
    const QList<frmDocument *> documents = w().documents();
    w().mdiArea()->setActiveSubWindow(documents.at(1));

    f->messages.answers << Answer::DontSave << Answer::Cancel;
    w().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(f->messages.questions,
             (QStringList{"Save changes to Document 1?", "Save changes to Document 3?"}));
    // The unchanged Document 2 went without a question; Document 3 stopped the close.
    QCOMPARE(w().documents(), (QList<frmDocument *>{documents.at(2), documents.at(3)}));
    QCOMPARE(w().ActiveDocument(), documents.at(2));
    QCOMPARE(documents.at(2)->rtfText->toPlainText(), QStringLiteral("three"));
    QVERIFY(w().isVisible());
    QCOMPARE(f->settings.saves, 0);

    f->messages.questions.clear();
    f->messages.answers << Answer::DontSave << Answer::DontSave;
    w().menuItem(MenuName::mnuFileExit)->trigger();
    QCOMPARE(f->messages.questions,
             (QStringList{"Save changes to Document 3?", "Save changes to Document 4?"}));
    QVERIFY(w().documents().isEmpty());
    QVERIFY(!w().isVisible());
    QCOMPARE(f->settings.saves, 4);
}

QTEST_MAIN(UnsavedChangesTest)
#include "tst_unsavedchanges.moc"
