// Random use of the real main window: thousands of steps, each one action a
// person could take (menus, toolbar, formatting bar, typing, selections,
// windows, files of every kind, clipboard contents of every kind), chosen
// from a seed. After every step the invariants below must hold.
//
// Replay or explore:  SCRIBVALE_SEED=<seed> SCRIBVALE_STEPS=<count> tst_randomuse
// SCRIBVALE_TRACE=1 prints every action as it runs.

#include "about/Form1.h"
#include "app/Module1.h"
#include "document/frmDocument.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestMain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

// ---- warnings and crashes name the seed and step ------------------------------------

QStringList badWarnings;
QtMessageHandler previousHandler = nullptr;

void watchWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static const QRegularExpression watched(
        QStringLiteral("invalid font|QFont::setPointSize|QWidget::setGeometry|QTextCursor|out of range"));
    if (type != QtDebugMsg && type != QtInfoMsg && watched.match(message).hasMatch())
        badWarnings.append(message);
    // The offscreen platform's notes about what it cannot do are noise here.
    if (previousHandler && !message.startsWith(QLatin1String("This plugin does not support")))
        previousHandler(type, context, message);
}

char whereLine[160] = "random use: not started\n";

void sayWhere()
{
    const ssize_t ignored = ::write(STDERR_FILENO, whereLine, strlen(whereLine));
    (void)ignored;
}

constexpr int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
struct sigaction previousActions[NSIG];

void onFatalSignal(int signal, siginfo_t *info, void *)
{
    sayWhere();
    sigaction(signal, &previousActions[signal], nullptr);
    // A fault repeats on return and reaches the previous handler; a signal
    // that was raised or sent must be raised again.
    if (signal == SIGABRT || info->si_code <= 0)
        raise(signal);
}

void announceCrashes()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (int signal : FatalSignals) {
        struct sigaction action {};
        action.sa_sigaction = onFatalSignal;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, &previousActions[signal]);
    }
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(sayWhere);
#endif
}

// ---- dice ---------------------------------------------------------------------------

class Dice
{
public:
    explicit Dice(quint64 seed) : m_engine(seed) {}
    int below(int n) { return n <= 0 ? 0 : int(m_engine() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T &pick(const QList<T> &list) { return list.at(below(int(list.size()))); }

private:
    std::mt19937_64 m_engine;
};

// Pieces of text a person types or pastes: words, white space, line ends,
// accents, other scripts, emoji with modifiers, characters RTF must escape.
const QStringList TypedPieces = {
    "Dear", "letter", " ", "  ", "\t", "\n", "\n\n", "caf\u00e9", "Stra\u00dfe", "\u03a9mega",
    "\u4e2d\u6587", "\U0001F600", "\U0001F44D\U0001F3FD", "e\u0301", "\u05e9\u05dc\u05d5\u05dd",
    "\u00a0", "{", "}", "\\", "\\par ", "{\\rtf1 x}", "\u20ac", "\u2028", "\u200d", "\ufeff",
    "\U0001F468\u200D\U0001F469\u200D\U0001F467", "x", "Zz", "0123456789", ";", "'",
};

// What a keyboard or an input method sends.
const QStringList KeyedPieces = {"Dear", "letter", " ", "{", "}", "\\", "x", "9", "\u00e9", "\u00df", "\u4e2d",
                                 "\U0001F600", "\U0001F44D\U0001F3FD", "\u05e9"};

// Pasted text from other programs may carry anything.
const QStringList PastedExtras = {"\r\n", "\r", "\x01", "\x7f", "\ufffc", "\ufdd0", QString(QChar(0)), "\u2029"};

// Types text as a keyboard would: printable ASCII key by key, anything else
// as one key event carrying the text, as an input method delivers it.
void typeInto(QWidget *widget, const QString &text)
{
    const auto keyed = [](QChar ch) { return ch.unicode() >= 0x20 && ch.unicode() < 0x7f; };
    for (qsizetype start = 0, end = 0; start < text.size(); start = end) {
        const bool ascii = keyed(text.at(start));
        for (end = start + 1; end < text.size() && keyed(text.at(end)) == ascii;)
            ++end;
        const QString piece = text.mid(start, end - start);
        if (ascii)
            QTest::keyClicks(widget, piece);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, piece, Qt::NoModifier);
    }
}

QString joinPieces(Dice &dice, const QStringList &pieces, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += dice.pick(pieces);
    return text;
}

// RTF as other writers produce it: code pages, tables, pictures, \bin,
// Unicode with fallbacks, destinations to skip.
const QList<QByteArray> WrittenElsewhere = {
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}}"
    "{\\colortbl;\\red255\\green0\\blue0;}\\pard\\qc\\f1\\fs40\\cf1 caf\\'e9 \\b bold\\b0\\par"
    "\\pard\\qr right \\ul under\\ulnone\\par}",
    "{\\rtf1\\ansi{\\*\\generator other;}\\uc1 Euro \\u8364? and \\u-10179\\'3f\\u-8704\\'3f emoji\\line next\\par}",
    "{\\rtf1{\\pict\\pngblip\\picw10\\pich10 89504e470d0a1a0a}after picture\\par{\\*\\unknown skipped}"
    "\\bin4 \x01\x02\x03\x04 tail}",
    "{\\rtf1\\ansi\\deff0\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row\\pard after table\\par}",
    "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\tab{\\i nested {\\b deep}}\\par\\page x}",
    "{\\rtf1\\fs-20\\fs99999999999 huge\\cf99 no colour\\f77 no face\\qj justified\\par}",
};

// Text for a failure report: everything outside printable ASCII as \\uXXXX.
QString spelled(const QString &text)
{
    QString out;
    for (QChar ch : text.left(200)) {
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7f)
            out += ch;
        else
            out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
    }
    return text.size() > 200 ? out + QStringLiteral("...") : out;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The bytes of a regular file, or nothing for a missing file, a folder or a device.
std::optional<QByteArray> regularFileBytes(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return std::nullopt;
    return readBytes(path);
}

using Answer = MessageSink::SaveAnswer;

// The text of a document as it was last opened or saved: what closing it may
// lose without a question. A new window holds none.
QString keptText(const frmDocument *document)
{
    return document->property("keptText").toString();
}

void setKeptText(frmDocument *document, const QString &text)
{
    document->setProperty("keptText", text);
}

bool isUntitled(const frmDocument *document)
{
    return document->Caption().startsWith(QLatin1String("Document "));
}

} // namespace

class RandomUseTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomUse_data();
    void randomUse();

private:
    struct Action {
        const char *name;
        int weight;
        void (RandomUseTest::*run)();
    };
    static const QList<Action> &actions();

    // Actions.
    void menuCommand();
    void toolbarKey();
    void formatChoice();
    void colourFocus();
    void slider();
    void typeText();
    void pressKeys();
    void selectRange();
    void switchDocument();
    void closeDocument();
    void closeAllDocuments();
    void newDocument();
    void arrangeWindows();
    void minimiseOrRestore();
    void windowMenuEntry();
    void resizeWindows();
    void aboutWindow();
    void openFile();
    void saveFile();
    void saveFileAs();
    void print();
    void fillClipboard();
    void clipboardCommand();
    void changeFilesBehindItsBack();

    // The question before a changed document goes, answered at random; what
    // each window held before a close, and the check that a window gone had
    // nothing to lose, or its changes were declined or saved.
    struct Asked {
        const frmDocument *document;
        Answer answer;
        QString target;   // where a Save writes
    };
    struct Held {
        QPointer<frmDocument> document;
        const frmDocument *id;
        QString text;
    };
    Answer answerQuestion(QWidget *window, const QString &question);
    QList<Held> holdings();
    const Asked *askedAbout(const frmDocument *document) const;
    bool savedTo(const QString &target, const QString &text);
    void checkNothingLost(const QList<Held> &before, bool everyOneClosed);

    // File commands with their checks, run through the given route.
    void open(const std::function<void()> &run);
    void save(bool as, const std::function<void()> &run);
    QString openAnswer();
    QString saveAnswer();
    QByteArray damaged(QByteArray rtf);
    QString newPath(const QString &stem, const QString &suffix);

    void check(bool condition, const QString &what);
    QString brokenInvariant();
    frmMain &w() { return f->window(); }
    bool reachable(QWidget *control);
    RichTextBox *surface();
    void settle();

    std::unique_ptr<MainWindowFixture> f;
    std::unique_ptr<QTemporaryDir> dir;
    std::optional<Dice> dice;
    QStringList files;        // files that exist, made or copied by the test
    QStringList rtfFiles;     // those of them that hold RTF
    int lastCount = 0;
    int step = 0;
    int fileNumber = 0;
    int savesChecked = 0;
    int opensChecked = 0;
    int failuresShown = 0;
    int questionsAnswered = 0;
    QList<Asked> asked;       // this step's questions
    QString problem;
    QStringList trail;        // the latest actions, for the failure report
    bool trace = false;
};

const QList<RandomUseTest::Action> &RandomUseTest::actions()
{
    static const QList<Action> table = {
        {"menu command", 6, &RandomUseTest::menuCommand},
        {"toolbar key", 6, &RandomUseTest::toolbarKey},
        {"format choice", 8, &RandomUseTest::formatChoice},
        {"colour focus", 2, &RandomUseTest::colourFocus},
        {"slider", 4, &RandomUseTest::slider},
        {"type text", 14, &RandomUseTest::typeText},
        {"press keys", 8, &RandomUseTest::pressKeys},
        {"select range", 10, &RandomUseTest::selectRange},
        {"switch document", 3, &RandomUseTest::switchDocument},
        {"close document", 3, &RandomUseTest::closeDocument},
        {"close all documents", 1, &RandomUseTest::closeAllDocuments},
        {"new document", 3, &RandomUseTest::newDocument},
        {"arrange windows", 2, &RandomUseTest::arrangeWindows},
        {"minimise or restore", 3, &RandomUseTest::minimiseOrRestore},
        {"window menu entry", 2, &RandomUseTest::windowMenuEntry},
        {"resize windows", 2, &RandomUseTest::resizeWindows},
        {"about window", 1, &RandomUseTest::aboutWindow},
        {"open file", 5, &RandomUseTest::openFile},
        {"save file", 4, &RandomUseTest::saveFile},
        {"save file as", 4, &RandomUseTest::saveFileAs},
        {"print", 1, &RandomUseTest::print},
        {"fill clipboard", 5, &RandomUseTest::fillClipboard},
        {"clipboard command", 6, &RandomUseTest::clipboardCommand},
        {"change files behind its back", 3, &RandomUseTest::changeFilesBehindItsBack},
    };
    return table;
}

void RandomUseTest::initTestCase()
{
    previousHandler = qInstallMessageHandler(watchWarnings);
    trace = qEnvironmentVariableIsSet("SCRIBVALE_TRACE");
}

void RandomUseTest::cleanupTestCase()
{
    qInstallMessageHandler(previousHandler);
}

void RandomUseTest::randomUse_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("steps");
    bool ok = false;
    const int steps = qEnvironmentVariableIntValue("SCRIBVALE_STEPS", &ok);
    const int count = ok && steps > 0 ? steps : 10000;
    const QString seed = qEnvironmentVariable("SCRIBVALE_SEED");
    if (!seed.isEmpty()) {
        const quint64 value = seed.toULongLong(&ok);
        QVERIFY2(ok, "SCRIBVALE_SEED must be a number");
        QTest::addRow("seed %llu", value) << value << count;
    } else {
        QTest::newRow("fixed seed") << quint64(20260517) << count;
    }
}

void RandomUseTest::randomUse()
{
    QFETCH(quint64, seed);
    QFETCH(int, steps);

    dice.emplace(seed);
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    files.clear();
    rtfFiles.clear();
    badWarnings.clear();
    for (const QByteArray &rtf : WrittenElsewhere) {
        const QString path = newPath(QStringLiteral("elsewhere"), QStringLiteral(".rtf"));
        QVERIFY(writeBytes(path, rtf));
        files.append(path);
        rtfFiles.append(path);
    }
    const QDir corpus(QStringLiteral(SCRIBVALE_CORPUS_DIR));
    for (const QString &name : corpus.entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name)) {
        const QString path = dir->filePath(QStringLiteral("corpus-") + name);
        QVERIFY(QFile::copy(corpus.filePath(name), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        files.append(path);
        rtfFiles.append(path);
    }

    f = std::make_unique<MainWindowFixture>();
    f->messages.answering = [this](QWidget *window, const QString &question) {
        return answerQuestion(window, question);
    };
    lastCount = w().DocumentCount();
    savesChecked = opensChecked = failuresShown = questionsAnswered = 0;
    trail.clear();
    announceCrashes();

    int total = 0;
    for (const Action &action : actions())
        total += action.weight;
    for (step = 0; step < steps; ++step) {
        int roll = dice->below(total);
        const Action *chosen = &actions().first();
        for (const Action &action : actions()) {
            if (roll < action.weight) {
                chosen = &action;
                break;
            }
            roll -= action.weight;
        }
        snprintf(whereLine, sizeof whereLine, "random use: seed %llu, step %d (%s)\n",
                 static_cast<unsigned long long>(seed), step, chosen->name);
        if (trace)
            sayWhere();
        trail.append(QString::fromLatin1(chosen->name));
        if (trail.size() > 12)
            trail.removeFirst();

        f->dialogs.fileAnswers.clear();
        f->dialogs.printAnswers.clear();
        asked.clear();
        (this->*chosen->run)();
        settle();

        if (problem.isEmpty())
            problem = brokenInvariant();
        if (!problem.isEmpty()) {
            const QString report = QStringLiteral("seed %1, step %2: %3\n   latest actions: %4\n   replay: "
                                                  "SCRIBVALE_SEED=%1 SCRIBVALE_STEPS=%5")
                                       .arg(seed).arg(step).arg(problem, trail.join(QStringLiteral(" > ")))
                                       .arg(step + 1);
            problem.clear();
            f.reset();
            QFAIL(qPrintable(report));
        }
    }

    if (Form1 *about = Module1::AboutWindow())
        about->close();
    failuresShown = int(f->messages.messages.size());
    w().close();
    settle();
    f.reset();
    QVERIFY2(badWarnings.isEmpty(), qPrintable(badWarnings.join(QLatin1Char('\n'))));
    qInfo("seed %llu: %d steps, %d document windows, %d saves and %d opens checked, %d failures shown, "
          "%d questions answered",
          static_cast<unsigned long long>(seed), steps, lastCount, savesChecked, opensChecked, failuresShown,
          questionsAnswered);
    snprintf(whereLine, sizeof whereLine, "random use: finished\n");
}

// ---- invariants ----------------------------------------------------------------------

void RandomUseTest::check(bool condition, const QString &what)
{
    if (!condition && problem.isEmpty())
        problem = what;
}

QString RandomUseTest::brokenInvariant()
{
    if (!badWarnings.isEmpty())
        return QStringLiteral("Qt warned: ") + badWarnings.first();
    if (w().DocumentCount() < lastCount)
        return QStringLiteral("the document count went down from %1 to %2").arg(lastCount).arg(w().DocumentCount());
    lastCount = w().DocumentCount();
    static const QRegularExpression untitled(QStringLiteral("^Document ([1-9][0-9]*)$"));
    for (frmDocument *document : w().documents()) {
        const QString caption = document->Caption();
        const QRegularExpressionMatch match = untitled.match(caption);
        if (match.hasMatch() ? match.captured(1).toInt() > lastCount : !QDir::isAbsolutePath(caption))
            return QStringLiteral("a document window is captioned \"%1\"").arg(caption);
        if (!document->rtfText->Modified() && document->rtfText->toPlainText() != keptText(document))
            return QStringLiteral("\"%1\" holds text it has not saved, yet counts as unchanged").arg(caption);
    }
    return {};
}

RichTextBox *RandomUseTest::surface()
{
    frmDocument *document = w().ActiveDocument();
    return document ? document->rtfText : nullptr;
}

void RandomUseTest::settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Keep documents to a size a step can handle quickly; pasting a whole
    // document into itself doubles it.
    if (RichTextBox *s = surface(); s && s->document()->characterCount() > 20000) {
        s->selectAll();
        s->setSelText(QString());
    }
}

// ---- menus, toolbar, formatting bar ---------------------------------------------------

void RandomUseTest::menuCommand()
{
    QStringList names;
    for (QLatin1StringView menuName : {MenuName::mnuFile, MenuName::mnuEdit, MenuName::mnuView, MenuName::mnuWindow,
                                       MenuName::mnuHelp})
        for (QAction *action : w().menu(menuName)->actions())
            if (!action->isSeparator() && !action->objectName().isEmpty())
                names.append(action->objectName());
    const QString name = dice->pick(names);
    QAction *item = w().menuItem(name);
    if (name == MenuName::mnuFileOpen)
        return open([item] { item->trigger(); });
    if (name == MenuName::mnuFileSave || name == MenuName::mnuFileSaveAs)
        return save(name.endsWith(QLatin1String("As")), [item] { item->trigger(); });
    if (name != MenuName::mnuFileExit) {
        item->trigger();
        return;
    }
    const QList<Held> before = holdings();
    const int saves = f->settings.saves;
    item->trigger();
    checkNothingLost(before, false);
    if (w().isVisible()) {
        // Stopped by a document that stays: the main window's unload did not run.
        check(!w().documents().isEmpty() && f->settings.saves == saves,
              QStringLiteral("Exit stopped, yet left no document open or saved the placement"));
    } else {
        check(w().documents().isEmpty(), QStringLiteral("Exit left a document window open"));
        w().show();   // a person starts the program again; carry on with the same window
    }
}

void RandomUseTest::toolbarKey()
{
    KeyedToolBar *bar = w().tbToolBar();
    KeyedToolBar::Button *button = bar->buttons().at(size_t(dice->below(int(bar->buttons().size())))).get();
    if (button->Key() == ToolbarKey::Open)
        return open([bar, button] { bar->press(button); });
    if (button->Key() == ToolbarKey::Save)
        return save(false, [bar, button] { bar->press(button); });
    if (button->Key() == ToolbarKey::Print)
        f->dialogs.printAnswers.enqueue(false);
    bar->press(button);
}

// A control is used as a person would: the window restored, the toolbar
// shown (for its controls) and the window made large enough first, when
// they are not.
bool RandomUseTest::reachable(QWidget *control)
{
    if (w().isMinimized())
        w().showNormal();
    if (control->parentWidget() == w().tbToolBar() && !w().tbToolBar()->isVisible())
        w().menuItem(MenuName::mnuViewToolbar)->trigger();
    const auto inside = [&] {
        settle();
        return control->isVisible() && w().rect().contains(QRect(control->mapTo(&w(), QPoint()), control->size()));
    };
    if (!inside())
        w().showMaximized();
    w().activateWindow();
    return QTest::qWaitForWindowActive(&w(), 200) && inside();
}

void RandomUseTest::formatChoice()
{
    QComboBox *boxes[] = {w().f1(), w().fc1(), w().fs1()};
    QComboBox *box = boxes[dice->below(3)];
    static const QStringList typed = {
        "", " ", "Arial ", "arial", "Red(thick)", "Meganta", "Magenta", "0", "-5", "1e9", "nan", "inf", "12.5",
        " 20 ", "1638", "1639", "0x10", "10pt", "\u0661\u0662", "Font", "Font Size", "Font Color", "\U0001F600",
    };
    if (!reachable(box))
        return;
    if (dice->chance(35)) {
        user::choose(box, box->itemText(dice->below(box->count())));
        return;
    }
    box->setFocus(Qt::TabFocusReason);
    if (dice->chance(50)) {
        // Down or up through the list with the arrow keys, each step a choice.
        const Qt::Key arrow = dice->chance(50) ? Qt::Key_Down : Qt::Key_Up;
        for (int n = dice->between(1, 4); n > 0; --n)
            user::key(arrow);
    } else {
        // Typed into the box and confirmed with Enter, or left with Tab.
        user::key(Qt::Key_A, Qt::ControlModifier);
        typeInto(QApplication::focusWidget(), dice->pick(typed));
        user::key(dice->chance(50) ? Qt::Key_Return : Qt::Key_Tab);
    }
}

void RandomUseTest::colourFocus()
{
    QComboBox *box = w().fc1();
    if (!reachable(box) || !reachable(w().f1()))
        return;
    switch (dice->below(4)) {
    case 0:
        w().Slider1()->setFocus(Qt::TabFocusReason);
        user::key(Qt::Key_Tab);
        break;
    case 1:
        w().f1()->setFocus(Qt::TabFocusReason);
        user::key(Qt::Key_Backtab, Qt::ShiftModifier);
        break;
    case 2:
        user::click(box, user::textOf(box));
        break;
    default:   // the list drops down, and closes again
        user::click(box, user::arrowOf(box));
        if (box->view()->isVisible())
            user::key(Qt::Key_Escape);
        break;
    }
}

void RandomUseTest::slider()
{
    QSlider *slider = w().Slider1();
    if (!reachable(slider))
        return;
    const QPoint at(dice->below(slider->width()), dice->below(slider->height()));
    switch (dice->below(3)) {
    case 0:
        slider->setFocus(Qt::TabFocusReason);
        for (int n = dice->between(1, 5); n > 0; --n)
            user::key(dice->chance(50) ? Qt::Key_Left : Qt::Key_Right);
        break;
    case 1:
        user::click(slider, at);
        break;
    default:
        user::moveMouse(slider, at);
        break;
    }
}

// ---- typing and selecting -----------------------------------------------------------------

void RandomUseTest::typeText()
{
    RichTextBox *s = surface();
    if (!s)
        return;
    switch (dice->below(3)) {
    case 0:
        s->textCursor().insertText(joinPieces(*dice, TypedPieces, dice->between(1, 8)));
        break;
    case 1:
        s->setSelText(joinPieces(*dice, TypedPieces, dice->between(0, 5)));
        break;
    default:
        typeInto(s, joinPieces(*dice, KeyedPieces, dice->between(1, 4)));
        break;
    }
}

void RandomUseTest::pressKeys()
{
    RichTextBox *s = surface();
    if (!s)
        return;
    static const QList<QKeyCombination> keys = {
        Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Left, Qt::Key_Right,
        Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown,
        Qt::SHIFT | Qt::Key_Right, Qt::SHIFT | Qt::Key_Left, Qt::SHIFT | Qt::Key_Down, Qt::SHIFT | Qt::Key_End,
        Qt::SHIFT | Qt::Key_Return, Qt::CTRL | Qt::Key_A, Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y,
        Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Home, Qt::CTRL | Qt::SHIFT | Qt::Key_End,
        Qt::CTRL | Qt::Key_Backspace, Qt::CTRL | Qt::Key_Delete,
    };
    for (int i = dice->between(1, 4); i > 0; --i) {
        const QKeyCombination key = dice->pick(keys);
        QTest::keyClick(s, key.key(), key.keyboardModifiers());
    }
}

void RandomUseTest::selectRange()
{
    RichTextBox *s = surface();
    if (!s)
        return;
    const int last = s->document()->characterCount() - 1;
    QTextCursor cursor = s->textCursor();
    if (dice->chance(15)) {
        cursor.select(QTextCursor::Document);
    } else {
        // A person's selection never ends inside a character of two code units.
        const auto whole = [s](int position) {
            return s->document()->characterAt(position).isLowSurrogate() ? position - 1 : position;
        };
        cursor.setPosition(whole(dice->between(0, last)));
        cursor.setPosition(whole(dice->between(0, last)), QTextCursor::KeepAnchor);
    }
    s->setTextCursor(cursor);
}

// ---- windows ---------------------------------------------------------------------------------

void RandomUseTest::switchDocument()
{
    const QList<frmDocument *> open = w().documents();
    if (!open.isEmpty())
        w().mdiArea()->setActiveSubWindow(dice->pick(open));
}

void RandomUseTest::closeDocument()
{
    const QList<frmDocument *> open = w().documents();
    if (open.isEmpty())
        return;
    frmDocument *document = dice->pick(open);
    const QList<Held> before = holdings();
    document->close();
    checkNothingLost(before, false);
    check(!w().documents().contains(document) || askedAbout(document),
          QStringLiteral("a document window stayed open without a question"));
}

void RandomUseTest::closeAllDocuments()
{
    const QList<Held> before = holdings();
    if (dice->chance(50))
        w().mdiArea()->closeAllSubWindows();
    else
        for (frmDocument *document : w().documents())
            document->close();
    checkNothingLost(before, true);
}

void RandomUseTest::newDocument()
{
    const int before = w().DocumentCount();
    switch (dice->below(3)) {
    case 0: w().menuItem(MenuName::mnuFileNew)->trigger(); break;
    case 1: w().menuItem(MenuName::mnuWindowNewWindow)->trigger(); break;
    default: w().tbToolBar()->press(w().tbToolBar()->Buttons(ToolbarKey::New)); break;
    }
    check(w().DocumentCount() == before + 1 && w().ActiveDocument()
              && w().ActiveDocument()->Caption() == QStringLiteral("Document %1").arg(before + 1),
          QStringLiteral("a new document window is not \"Document %1\"").arg(before + 1));
}

void RandomUseTest::arrangeWindows()
{
    w().Arrange(dice->below(4));
}

void RandomUseTest::minimiseOrRestore()
{
    const QList<frmDocument *> open = w().documents();
    if (open.isEmpty())
        return;
    frmDocument *document = dice->pick(open);
    switch (dice->below(4)) {
    case 0: document->showMinimized(); break;
    case 1: document->showNormal(); break;
    case 2: document->showMaximized(); break;
    default: w().mdiArea()->setActiveSubWindow(document); break;
    }
}

void RandomUseTest::windowMenuEntry()
{
    QMenuBar *bar = w().menuBar();
    QMenu *menu = w().menu(MenuName::mnuWindow);
    if (!reachable(bar))
        return;
    user::click(bar, bar->actionGeometry(menu->menuAction()).center());
    if (!QTest::qWaitForWindowExposed(menu, 1000))
        return;
    // Sometimes a listed window closes before its entry is chosen.
    if (dice->chance(25))
        closeDocument();
    QList<QAction *> entries;
    for (QAction *action : menu->actions())
        if (action->property("windowList").toBool() && !action->isSeparator())
            entries.append(action);
    if (!entries.isEmpty())
        user::click(menu, menu->actionGeometry(dice->pick(entries)).center());
    if (menu->isVisible())
        QTest::keyClick(menu->windowHandle(), Qt::Key_Escape);
}

void RandomUseTest::resizeWindows()
{
    if (dice->chance(50)) {
        const QList<frmDocument *> open = w().documents();
        if (!open.isEmpty())
            dice->pick(open)->resize(dice->between(0, 700), dice->between(0, 500));
        return;
    }
    switch (dice->below(4)) {
    case 0: w().showMaximized(); break;
    case 1: w().showMinimized(); break;
    case 2: w().showNormal(); break;
    default: w().resize(dice->between(0, 1400), dice->between(0, 1000)); break;
    }
}

void RandomUseTest::aboutWindow()
{
    Form1 *about = Module1::AboutWindow();
    if (about && about->isVisible() && dice->chance(60)) {
        if (dice->chance(50))
            about->Command1_Click();
        else
            about->close();
    } else {
        w().menuItem(MenuName::mnuHelpAbout)->trigger();
    }
}

// ---- files ----------------------------------------------------------------------------------

QString RandomUseTest::newPath(const QString &stem, const QString &suffix)
{
    return dir->filePath(QStringLiteral("%1-%2%3").arg(stem).arg(++fileNumber).arg(suffix));
}

QString RandomUseTest::openAnswer()
{
    switch (dice->below(10)) {
    case 0: return {};                                                     // cancelled
    case 1: return newPath(QStringLiteral("missing"), QStringLiteral(".vrx"));
    case 2: return dir->path();                                            // a folder
    case 3: return QStringLiteral("/dev/null");
    default: return files.isEmpty() ? QString() : dice->pick(files);
    }
}

QString RandomUseTest::saveAnswer()
{
    switch (dice->below(12)) {
    case 0: return {};
    case 1: return dir->path();
    case 2: return dir->filePath(QStringLiteral("no folder/letter.vrx"));
    case 3: return QStringLiteral("/dev/full");
    case 4: return newPath(QStringLiteral("Brief f\u00fcr \u00d6lsen \U0001F600"), QStringLiteral(".vrx"));
    case 5:
    case 6: return files.isEmpty() ? QString() : dice->pick(files);       // over an existing file
    default: return newPath(QStringLiteral("saved"), QStringLiteral(".vrx"));
    }
}

void RandomUseTest::openFile()
{
    switch (dice->below(3)) {
    case 0: return open([this] { w().menuItem(MenuName::mnuFileOpen)->trigger(); });
    case 1: return open([this] { w().tbToolBar()->press(w().tbToolBar()->Buttons(ToolbarKey::Open)); });
    default: return open([this] { w().mnuFileOpen_Click(); });
    }
}

void RandomUseTest::saveFile()
{
    if (dice->chance(50))
        save(false, [this] { w().menuItem(MenuName::mnuFileSave)->trigger(); });
    else
        save(false, [this] { w().tbToolBar()->press(w().tbToolBar()->Buttons(ToolbarKey::Save)); });
}

void RandomUseTest::saveFileAs()
{
    save(true, [this] { w().menuItem(MenuName::mnuFileSaveAs)->trigger(); });
}

void RandomUseTest::open(const std::function<void()> &run)
{
    const QString answer = openAnswer();
    f->dialogs.fileAnswers.enqueue(answer);
    QPointer<frmDocument> before = w().ActiveDocument();
    const QString caption = before ? before->Caption() : QString();
    const QString text = before ? before->rtfText->toPlainText() : QString();
    const qsizetype messages = f->messages.messages.size();
    const auto openDialogs = [this] {
        return std::count_if(f->dialogs.fileRequests.begin(), f->dialogs.fileRequests.end(),
                             [](const FileDialogRequest &request) { return request.title == QLatin1String("Open"); });
    };
    const qsizetype dialogsBefore = openDialogs();

    run();

    frmDocument *document = w().ActiveDocument();
    check(document != nullptr && (!before || document == before),
          QStringLiteral("Open left another window active, or none"));
    if (!document || (before && document != before))
        return;
    const Asked *question = askedAbout(document);
    if (openDialogs() == dialogsBefore) {
        // Only the question stops an Open: Cancel, or a Save that did not write.
        check(question && question->answer != Answer::DontSave,
              QStringLiteral("Open stopped before its dialog without a question, or after Don't Save"));
        check(document->Caption() == caption && document->rtfText->toPlainText() == text,
              QStringLiteral("a stopped Open changed the document"));
        return;
    }
    if (question && question->answer == Answer::Save) {
        check(savedTo(question->target, text), QStringLiteral("Open went on after a Save that did not keep the text"));
        setKeptText(document, text);
    }
    const bool reported = f->messages.messages.size() > messages;
    if (answer.isEmpty()) {
        check(!reported && document->Caption() == (before ? caption : document->Caption())
                  && document->rtfText->toPlainText() == text,
              QStringLiteral("a cancelled Open changed something"));
    } else if (reported) {
        check(!before || (document->Caption() == caption && document->rtfText->toPlainText() == text),
              QStringLiteral("a failed Open of %1 changed the document").arg(answer));
        check(f->messages.messages.last().contains(QFileInfo(answer).fileName()),
              QStringLiteral("the Open warning does not name the file: ") + f->messages.messages.last());
    } else {
        ++opensChecked;
        check(!before || text == keptText(before) || question,
              QStringLiteral("Open replaced text that was never saved without a question"));
        setKeptText(document, document->rtfText->toPlainText());
        // Closing it again right away asks nothing.
        check(!document->rtfText->Modified(), QStringLiteral("%1 counts as changed once opened").arg(answer));
        check(document->Caption() == answer, QStringLiteral("an opened document is captioned \"%1\", not \"%2\"")
                                                 .arg(document->Caption(), answer));
        RichTextBox fresh;
        attempt([&] { fresh.LoadFile(answer); });
        check(fresh.toPlainText() == document->rtfText->toPlainText(),
              QStringLiteral("opening %1 twice gave two different texts").arg(answer));
    }
}

void RandomUseTest::save(bool as, const std::function<void()> &run)
{
    const QString answer = saveAnswer();
    f->dialogs.fileAnswers.enqueue(answer);
    QPointer<frmDocument> document = w().ActiveDocument();
    if (!document) {
        const qsizetype requests = f->dialogs.fileRequests.size();
        run();
        check(f->dialogs.fileRequests.size() == requests, QStringLiteral("Save without a document asked for a file"));
        return;
    }
    const QString caption = document->Caption();
    const bool untitled = caption.startsWith(QLatin1String("Document "));
    const QString target = as || untitled ? answer : caption;
    const QString text = document->rtfText->toPlainText();
    const std::optional<QByteArray> bytes = regularFileBytes(target);
    const qsizetype messages = f->messages.messages.size();

    run();

    check(document && w().ActiveDocument() == document, QStringLiteral("Save changed the active document"));
    if (!document)
        return;
    check(document->rtfText->toPlainText() == text, QStringLiteral("saving changed the text"));
    const bool reported = f->messages.messages.size() > messages;
    if (target.isEmpty()) {
        check(!reported && document->Caption() == caption, QStringLiteral("a cancelled Save changed something"));
        return;
    }
    const QString expectedCaption = as ? target : caption;
    check(document->Caption() == expectedCaption,
          QStringLiteral("after saving to %1 the caption is \"%2\"").arg(target, document->Caption()));
    if (reported) {
        check(regularFileBytes(target) == bytes, QStringLiteral("a failed save changed %1").arg(target));
        return;
    }
    setKeptText(document, text);
    if (!QFileInfo(target).isFile()) {
        // Only the null device swallows a save; the full one must refuse it.
        check(target == QLatin1String("/dev/null"), QStringLiteral("saving to %1 reported no failure").arg(target));
        return;
    }
    RichTextBox fresh;
    try {
        fresh.LoadFile(target);
    } catch (const Failure &failure) {
        check(false, QStringLiteral("the saved %1 does not load: %2").arg(target, failure.message()));
        return;
    }
    ++savesChecked;
    check(fresh.toPlainText() == text, QStringLiteral("%1 loads back as\n   \"%2\"\n   but was saved from\n   \"%3\"")
                                           .arg(target, spelled(fresh.toPlainText()), spelled(text)));
    if (!files.contains(target)) {
        files.append(target);
        rtfFiles.append(target);
    }
}

// ---- the question before a changed document goes ------------------------------------------

Answer RandomUseTest::answerQuestion(QWidget *window, const QString &question)
{
    ++questionsAnswered;
    // Asked over the window it is about.
    auto *document = qobject_cast<frmDocument *>(window);
    check(document && question == QStringLiteral("Save changes to %1?").arg(document->Caption()),
          QStringLiteral("the question \"%1\" is not shown over its window").arg(question));
    const Answer answer = Answer(dice->below(3));
    QString target;
    if (document && answer == Answer::Save) {
        // Save shows its dialog, before any other the command goes on to show.
        target = isUntitled(document) ? saveAnswer() : document->Caption();
        if (isUntitled(document))
            f->dialogs.fileAnswers.prepend(target);
    }
    asked.append({document, answer, target});
    return answer;
}

QList<RandomUseTest::Held> RandomUseTest::holdings()
{
    QList<Held> list;
    for (frmDocument *document : w().documents())
        list.append({document, document, document->rtfText->toPlainText()});
    return list;
}

const RandomUseTest::Asked *RandomUseTest::askedAbout(const frmDocument *document) const
{
    for (const Asked &question : asked)
        if (question.document == document)
            return &question;
    return nullptr;
}

// Whether a Save to the target kept the text: the file loads back with it
// (the null device keeps nothing, but takes the write).
bool RandomUseTest::savedTo(const QString &target, const QString &text)
{
    if (target == QLatin1String("/dev/null"))
        return true;
    RichTextBox fresh;
    return attempt([&] { fresh.LoadFile(target); }).succeeded() && fresh.toPlainText() == text;
}

void RandomUseTest::checkNothingLost(const QList<Held> &before, bool everyOneClosed)
{
    const QList<frmDocument *> open = w().documents();
    for (const Held &held : before) {
        const Asked *question = askedAbout(held.id);
        if (held.document && open.contains(held.document)) {
            check(held.document->rtfText->toPlainText() == held.text,
                  QStringLiteral("a window that stayed open lost text"));
            check(!everyOneClosed || (question && question->answer != Answer::DontSave),
                  QStringLiteral("a window stayed open without a Cancel or a Save that failed"));
            continue;
        }
        if (!question) {
            check(held.document && held.text == keptText(held.document),
                  QStringLiteral("a window with unsaved text closed without a question"));
        } else if (question->answer == Answer::Save) {
            check(savedTo(question->target, held.text),
                  QStringLiteral("a window closed after a Save that did not keep its text\n   \"%1\"\n   in %2")
                      .arg(spelled(held.text), question->target));
        } else {
            check(question->answer == Answer::DontSave, QStringLiteral("a window closed after Cancel"));
        }
    }
}

void RandomUseTest::print()
{
    f->dialogs.printToPdf = dir->filePath(QStringLiteral("printed.pdf"));
    f->dialogs.printAnswers.enqueue(dice->chance(30));
    if (dice->chance(70))
        w().menuItem(MenuName::mnuFilePrint)->trigger();   // disabled: nothing happens
    else if (dice->chance(50))
        w().mnuFilePrint_Click();
    else
        w().menuItem(MenuName::mnuFilePageSetup)->trigger();
}

QByteArray RandomUseTest::damaged(QByteArray rtf)
{
    static const QList<QByteArray> inserts = {"{", "}", "\\", "\\u-99999?", "\\'", "\\bin99999 ", "\\fs0",
                                              "{\\*\\", "\\uc5", "\\par", "\\pict", "\xff\xfe",
                                              QByteArray(1, '\0'), "\\f-1"};
    for (int i = dice->between(1, 4); i > 0; --i) {
        const int at = dice->below(int(rtf.size()) + 1);
        switch (dice->below(4)) {
        case 0: rtf.truncate(at); break;
        case 1: rtf.insert(at, dice->pick(inserts)); break;
        case 2:
            for (int n = dice->between(1, 16); n > 0; --n)
                rtf.insert(dice->below(int(rtf.size()) + 1), char(dice->below(256)));
            break;
        default: rtf.remove(at, dice->between(1, 40)); break;
        }
    }
    return rtf;
}

void RandomUseTest::changeFilesBehindItsBack()
{
    switch (dice->below(5)) {
    case 0:
        if (files.size() > 3) {   // a file vanishes
            const QString gone = dice->pick(files);
            QFile::remove(gone);
            files.removeAll(gone);
            rtfFiles.removeAll(gone);
        }
        break;
    case 1: {   // damaged RTF
        const QString path = newPath(QStringLiteral("damaged"), QStringLiteral(".rtf"));
        if (!rtfFiles.isEmpty() && writeBytes(path, damaged(readBytes(dice->pick(rtfFiles)).left(100000))))
            files.append(path);
        break;
    }
    case 2: {   // binary garbage
        QByteArray garbage;
        for (int n = dice->below(3000); n > 0; --n)
            garbage.append(char(dice->below(256)));
        const QString path = newPath(QStringLiteral("garbage"), QStringLiteral(".bin"));
        if (writeBytes(path, garbage))
            files.append(path);
        break;
    }
    case 3: {   // plain text in one of the encodings a text file comes in
        const QString text = joinPieces(*dice, TypedPieces, dice->between(0, 30));
        QByteArray bytes;
        switch (dice->below(4)) {
        case 0: bytes = text.toUtf8(); break;
        case 1: bytes = "\xef\xbb\xbf" + text.toUtf8(); break;
        case 2: bytes = QByteArray("\xff\xfe") + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2); break;
        default: bytes = text.toLatin1(); break;
        }
        const QString path = newPath(QStringLiteral("notes"), QStringLiteral(".txt"));
        if (writeBytes(path, bytes))
            files.append(path);
        break;
    }
    default:   // an open file is overwritten by another program
        if (!files.isEmpty())
            writeBytes(dice->pick(files), WrittenElsewhere.at(dice->below(int(WrittenElsewhere.size()))));
        break;
    }
}

// ---- clipboard -----------------------------------------------------------------------------

void RandomUseTest::fillClipboard()
{
    MemoryClipboard &clipboard = f->clipboard;
    switch (dice->below(7)) {
    case 0:   // RTF from a file: ours or another writer's
        if (!rtfFiles.isEmpty())
            clipboard.text = QString::fromLatin1(readBytes(dice->pick(rtfFiles)).left(50000));
        break;
    case 1: clipboard.text = joinPieces(*dice, TypedPieces + PastedExtras, dice->between(1, 20)); break;
    case 2: clipboard.text.clear(); break;
    case 3: clipboard.refuse = !clipboard.refuse; break;
    case 4:
        if (!rtfFiles.isEmpty())
            clipboard.text = QString::fromLatin1(damaged(readBytes(dice->pick(rtfFiles)).left(20000)));
        break;
    case 5:   // markup another program offers as text, with characters beyond ASCII
        clipboard.text = QStringLiteral("{\\rtf1 ") + joinPieces(*dice, TypedPieces, dice->between(1, 6))
                       + QStringLiteral("\\par}");
        break;
    default:
        if (RichTextBox *s = surface())
            clipboard.text = s->SelRTF();
        break;
    }
}

void RandomUseTest::clipboardCommand()
{
    static constexpr QLatin1StringView items[] = {MenuName::mnuEditCut, MenuName::mnuEditCopy, MenuName::mnuEditPaste};
    static constexpr QLatin1StringView keys[] = {ToolbarKey::Cut, ToolbarKey::Copy, ToolbarKey::Paste};
    // Each command's two standard keys.
    static const QKeyCombination shortcuts[3][2] = {
        {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete},
        {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert},
        {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert},
    };
    RichTextBox *s = surface();
    const QString textBefore = s ? s->toPlainText() : QString();
    const bool refusing = f->clipboard.refuse;
    const int which = dice->below(3);
    switch (dice->below(3)) {
    case 0: w().menuItem(items[which])->trigger(); break;
    case 1: w().tbToolBar()->press(w().tbToolBar()->Buttons(keys[which])); break;
    default:
        if (s) {
            const QKeyCombination key = shortcuts[which][dice->below(2)];
            QTest::keyClick(s, key.key(), key.keyboardModifiers());
        }
        break;
    }
    // A refusing clipboard takes nothing, so a cut must keep the selection.
    if (refusing && s && surface() == s && which == 0)
        check(s->toPlainText() == textBefore, QStringLiteral("a cut the clipboard refused lost text"));
}

QTEST_MAIN(RandomUseTest)
#include "tst_randomuse.moc"
