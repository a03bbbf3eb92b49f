// Faults from outside the program: a disk that fills during a save, a file
// that vanishes between the dialog and the load, a damaged settings file, a
// clipboard that refuses or holds odd text. Each ends with a clear message
// where the program shows one, the person's text intact and existing files
// byte for byte as they were.

#include "app/MenuNames.h"
#include "app/Module1.h"
#include "app/frmMain.h"
#include "document/frmDocument.h"
#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/Failure.h"
#include "platform/MessageSink.h"
#include "platform/RichTextBox.h"
#include "platform/SettingsStore.h"
#include "platform/ToolbarKeys.h"
#include "platform/Twips.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString loadBack(const QString &path)
{
    RichTextBox fresh;
    fresh.LoadFile(path);
    return fresh.toPlainText();
}

// Answers a file dialog with a path, then does something to that path, as
// another program might between the person's choice and the load.
class MeddlingDialogs : public DialogBackend
{
public:
    QString getFileName(const FileDialogRequest &) override
    {
        if (meddle)
            meddle(answer);
        return answer;
    }
    bool choosePrinter(const PrintDialogRequest &) override { return false; }

    QString answer;
    std::function<void(const QString &)> meddle;
};

// A clipboard that another program holds: it neither takes nor gives text.
class HeldClipboard : public MemoryClipboard
{
public:
    QString GetText() override
    {
        if (refuse)
            throw Failure(QStringLiteral("The clipboard is held by another program."));
        return MemoryClipboard::GetText();
    }
};

// The main window over the given back ends, as the program starts it;
// loaded but not shown when asked.
class Program
{
public:
    Program(SettingsStore &settings, DialogBackend &dialogs, Clipboard &clipboard, bool shown = true)
        : run(Services{&settings, &dialogs, &clipboard, &messages}), window(run.mainWindow())
    {
        if (shown)
            window.show();
        else
            window.Load();
    }

    RichTextBox &surface() { return *window.ActiveDocument()->rtfText; }
    QRect placement() const { return QRect(window.x(), window.y(), window.width(), window.height()); }

    RecordingMessageSink messages;
    Module1::Program run;
    frmMain &window;
};

QRect placementFromTwips(int left, int top, int width, int height)
{
    return QRect(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height));
}

// A file system of its own, a few kilobytes large, when this machine lets
// the test mount one; unmounted when the test ends.
class SmallFileSystem
{
public:
    SmallFileSystem(const QString &where, int kib) : m_where(where)
    {
        m_mounted = run({"-t", "tmpfs", "-o", QStringLiteral("size=%1k,mode=0700").arg(kib), "tmpfs", where});
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_where});
    }
    bool mounted() const { return m_mounted; }
    bool grow(int kib) { return run({"-o", QStringLiteral("remount,size=%1k").arg(kib), m_where}); }

private:
    static bool run(const QStringList &arguments)
    {
        QProcess mount;
        mount.start(QStringLiteral("mount"), arguments);
        return mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
    }

    QString m_where;
    bool m_mounted = false;
};

} // namespace

class FaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void diskFillsDuringSave_data();
    void diskFillsDuringSave();
    void fileChangesBetweenDialogAndLoad_data();
    void fileChangesBetweenDialogAndLoad();
    void damagedSettingsFile_data();
    void damagedSettingsFile();
    void refusingClipboardLosesNothing_data();
    void refusingClipboardLosesNothing();
    void oddPastedTextSavesAsShown_data();
    void oddPastedTextSavesAsShown();
    void onlyFailuresAreAbsorbed();

private:
    std::unique_ptr<QTemporaryDir> dir;
    MemorySettingsStore settings;
    MeddlingDialogs dialogs;
    HeldClipboard clipboard;
};

void FaultsTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    settings.values.clear();
    dialogs.answer.clear();
    dialogs.meddle = nullptr;
    clipboard.text.clear();
    clipboard.refuse = false;
}

void FaultsTest::cleanup()
{
    dir.reset();
}

// ---- a disk that fills ------------------------------------------------------------------

void FaultsTest::diskFillsDuringSave_data()
{
    QTest::addColumn<bool>("smallFileSystem");   // otherwise the full device
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("titled");             // the document already has the target as its caption
    QTest::addColumn<bool>("existing");           // a file is already there
    QTest::addColumn<int>("lines");               // of the letter
    QTest::addColumn<int>("fillerKib");           // of the disk's 64 KiB, already taken
    QTest::newRow("full device, Save As") << false << QString(MenuName::mnuFileSaveAs) << false << true << 2000 << 0;
    QTest::newRow("full device, Save of a titled document") << false << QString(MenuName::mnuFileSave) << true << true << 10 << 0;
    QTest::newRow("small disk, Save As a new file") << true << QString(MenuName::mnuFileSaveAs) << false << false << 2000 << 0;
    QTest::newRow("small disk, Save of an untitled document") << true << QString(MenuName::mnuFileSave) << false << false << 2000 << 0;
    QTest::newRow("small disk, Save As over a file") << true << QString(MenuName::mnuFileSaveAs) << false << true << 2000 << 0;
    QTest::newRow("small disk, Save of a titled document") << true << QString(MenuName::mnuFileSave) << true << true << 2000 << 0;
    QTest::newRow("nearly full disk, short letter") << true << QString(MenuName::mnuFileSaveAs) << false << true << 60 << 56;
}

void FaultsTest::diskFillsDuringSave()
{
    QFETCH(bool, smallFileSystem);
    QFETCH(QString, command);
    QFETCH(bool, titled);
    QFETCH(bool, existing);
    QFETCH(int, lines);
    QFETCH(int, fillerKib);

    std::unique_ptr<SmallFileSystem> disk;
    QString target = QStringLiteral("/dev/full");
    const QByteArray before = "{\\rtf1 the letter as it was\\par}";
    if (smallFileSystem) {
        disk = std::make_unique<SmallFileSystem>(dir->path(), 64);
        if (!disk->mounted())
            QSKIP("this machine does not let the test mount a small file system");
        target = dir->filePath(QStringLiteral("letter.vrx"));
        if (existing)
            QVERIFY(writeAll(target, before));
        if (fillerKib)
            QVERIFY(writeAll(dir->filePath(QStringLiteral("filler")), QByteArray(fillerKib * 1024, 'f')));
    }

    Program program(settings, dialogs, clipboard);
    // More than the disk has room for once written as RTF.
    QString text;
    for (int line = 0; line < lines; ++line)
        text += QStringLiteral("Line %1 of a long letter \u00e9\u20ac\U0001F600\n").arg(line);
    program.surface().setSelText(text);
    const QString held = program.surface().toPlainText();
    if (titled)
        program.window.ActiveDocument()->setCaption(target);
    const QString caption = program.window.ActiveDocument()->Caption();
    dialogs.answer = target;

    program.window.menuItem(command)->trigger();

    QCOMPARE(program.messages.messages.size(), 1);
    const QString message = program.messages.messages.first();
    QVERIFY2(message.contains(target) && message.contains(QLatin1String("space"), Qt::CaseInsensitive),
             qPrintable(message));
    QCOMPARE(program.surface().toPlainText(), held);
    // Save As titles the document first, so the next Save tries the same file.
    QCOMPARE(program.window.ActiveDocument()->Caption(), command.endsWith(QLatin1String("As")) ? target : caption);
    if (!smallFileSystem)
        return;
    QStringList left;
    if (fillerKib)
        left << QStringLiteral("filler");
    if (existing)
        left << QStringLiteral("letter.vrx");
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), left);
    if (existing)
        QCOMPARE(readAll(target), before);

    // With room again, the same command saves everything the person had.
    QVERIFY(disk->grow(4096));
    program.window.menuItem(command)->trigger();
    QCOMPARE(program.messages.messages.size(), 1);
    QCOMPARE(loadBack(target), held);
}

// ---- a file that changes between the dialog and the load ---------------------------------------

void FaultsTest::fileChangesBetweenDialogAndLoad_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("titled");   // the active document already holds another file
    for (const bool titled : {false, true}) {
        const char *which = titled ? "into a titled document" : "into an untitled document";
        QTest::addRow("deleted, %s", which) << "delete" << titled;
        QTest::addRow("replaced by a folder, %s", which) << "folder" << titled;
        QTest::addRow("replaced by a dangling link, %s", which) << "link" << titled;
    }
    QTest::newRow("a device that never ends") << "endless" << false;
}

void FaultsTest::fileChangesBetweenDialogAndLoad()
{
    QFETCH(QString, change);
    QFETCH(bool, titled);

    const QString chosen = change == QLatin1String("endless") ? QStringLiteral("/dev/zero")
                                                               : dir->filePath(QStringLiteral("chosen.vrx"));
    const QString other = dir->filePath(QStringLiteral("other.vrx"));
    const QByteArray otherBytes = "{\\rtf1 the other letter\\par}";
    QVERIFY(writeAll(other, otherBytes));
    if (change != QLatin1String("endless"))
        QVERIFY(writeAll(chosen, "{\\rtf1 the chosen letter\\par}"));

    dialogs.answer = chosen;
    dialogs.meddle = [change](const QString &path) {
        if (change == QLatin1String("endless"))
            return;
        QFile::remove(path);
        if (change == QLatin1String("folder"))
            QDir().mkdir(path);
        else if (change == QLatin1String("link"))
            QFile::link(path + QStringLiteral(".gone"), path);
    };

    Program program(settings, dialogs, clipboard);
    if (titled) {
        program.surface().LoadFile(other);
        program.window.ActiveDocument()->setCaption(other);
    }
    program.surface().setSelText(QStringLiteral(" and unsaved words"));
    const QString held = program.surface().toPlainText();
    const QString caption = program.window.ActiveDocument()->Caption();

    // The person lets the unsaved words go; the Open then fails.
    program.messages.answers.enqueue(MessageSink::SaveAnswer::DontSave);
    program.window.menuItem(MenuName::mnuFileOpen)->trigger();

    QCOMPARE(program.messages.questions.size(), 1);
    QCOMPARE(program.messages.messages.size(), 1);
    QVERIFY2(program.messages.messages.first().contains(chosen), qPrintable(program.messages.messages.first()));
    QCOMPARE(program.window.documents().size(), 1);
    QCOMPARE(program.window.ActiveDocument()->Caption(), caption);
    QCOMPARE(program.surface().toPlainText(), held);
    QCOMPARE(readAll(other), otherBytes);
}

// ---- a damaged settings file -------------------------------------------------------------

void FaultsTest::damagedSettingsFile_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QByteArray>("bytes");
    QByteArray garbage;
    for (int i = 0; i < 3000; ++i)
        garbage.append(char((i * 7919 + 13) % 256));
    QTest::newRow("a folder in its place") << "folder" << QByteArray();
    QTest::newRow("a file in place of its folder") << "file for folder" << QByteArray();
    QTest::newRow("empty") << "file" << QByteArray();
    QTest::newRow("truncated in a key") << "file" << QByteArray("[Settings]\nMainLeft=1500\nMainTo");
    QTest::newRow("truncated in the section") << "file" << QByteArray("[Sett");
    QTest::newRow("garbage") << "file" << garbage;
    QTest::newRow("nul bytes") << "file" << QByteArray(4096, '\0');
    QTest::newRow("text of another kind") << "file" << QByteArray("{\\rtf1 not settings}\n<xml/>\n\xff\xfe[");
}

void FaultsTest::damagedSettingsFile()
{
    QFETCH(QString, damage);
    QFETCH(QByteArray, bytes);

    IniSettingsStore store(dir->path());
    const QString file = store.fileFor(QStringLiteral("Project2"));
    const QString folder = QFileInfo(file).path();
    if (damage == QLatin1String("file for folder")) {
        QVERIFY(writeAll(folder, "not a folder"));
    } else {
        QVERIFY(QDir().mkpath(folder));
        if (damage == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(file));
        else
            QVERIFY(writeAll(file, bytes));
    }
    QRect closedAt;
    {
        // A damaged file reads as an empty one, whatever whole lines it still has.
        Program program(store, dialogs, clipboard, false);
        QCOMPARE(program.placement(), placementFromTwips(1000, 1000, 6500, 6500));
        QCOMPARE(program.window.documents().size(), 1);
        QVERIFY(program.messages.messages.isEmpty());
        program.window.show();
        program.window.move(program.window.x() + 30, program.window.y() + 20);
        program.window.resize(program.window.width() + 40, program.window.height() + 10);
        closedAt = program.placement();
        program.window.close();   // saves the placement over the damage, where it can
        QVERIFY(program.messages.messages.isEmpty());
    }

    if (damage == QLatin1String("folder")) {
        QVERIFY(QFileInfo(file).isDir());
    } else if (damage == QLatin1String("file for folder")) {
        QCOMPARE(readAll(folder), QByteArray("not a folder"));
    } else {
        // The next start finds the placement the window closed at.
        Program again(store, dialogs, clipboard, false);
        QCOMPARE(again.placement(), closedAt);
    }
}

// ---- the clipboard ---------------------------------------------------------------------------

void FaultsTest::refusingClipboardLosesNothing_data()
{
    QTest::addColumn<QString>("via");     // the menu, the toolbar, or keys
    QTest::addColumn<QString>("what");    // a menu item, a toolbar key, or a key combination
    QTest::addColumn<bool>("cuts");
    QTest::newRow("Cut from the menu") << "menu" << QString(MenuName::mnuEditCut) << true;
    QTest::newRow("Cut from the toolbar") << "toolbar" << QString(ToolbarKey::Cut) << true;
    QTest::newRow("Ctrl+X") << "keys" << "ctrl+x" << true;
    QTest::newRow("Shift+Delete") << "keys" << "shift+del" << true;
    QTest::newRow("Copy from the toolbar") << "toolbar" << QString(ToolbarKey::Copy) << false;
    QTest::newRow("Ctrl+Insert") << "keys" << "ctrl+ins" << false;
    QTest::newRow("Paste from the menu") << "menu" << QString(MenuName::mnuEditPaste) << false;
    QTest::newRow("Shift+Insert") << "keys" << "shift+ins" << false;
}

void FaultsTest::refusingClipboardLosesNothing()
{
    QFETCH(QString, via);
    QFETCH(QString, what);
    QFETCH(bool, cuts);
    Program program(settings, dialogs, clipboard);
    RichTextBox &s = program.surface();
    s.setSelText(QStringLiteral("precious words"));
    QTextCursor cursor = s.textCursor();
    cursor.setPosition(9);
    cursor.setPosition(14, QTextCursor::KeepAnchor);
    s.setTextCursor(cursor);
    clipboard.text = QStringLiteral("held by another program");
    clipboard.refuse = true;

    if (via == QLatin1String("menu")) {
        program.window.menuItem(what)->trigger();
    } else if (via == QLatin1String("toolbar")) {
        program.window.tbToolBar()->press(program.window.tbToolBar()->Buttons(what));
    } else {
        const QHash<QString, QKeyCombination> keys = {
            {"ctrl+x", Qt::CTRL | Qt::Key_X}, {"shift+del", Qt::SHIFT | Qt::Key_Delete},
            {"ctrl+ins", Qt::CTRL | Qt::Key_Insert}, {"shift+ins", Qt::SHIFT | Qt::Key_Insert}};
        QTest::keyClick(&s, keys.value(what).key(), keys.value(what).keyboardModifiers());
    }

    QCOMPARE(s.toPlainText(), QStringLiteral("precious words"));
    QCOMPARE(s.SelText(), QStringLiteral("words"));
    QCOMPARE(clipboard.text, QStringLiteral("held by another program"));
    QVERIFY(program.messages.messages.isEmpty());

    // Once the other program lets go, the same command works.
    clipboard.refuse = false;
    if (cuts) {
        program.window.mnuEditCut_Click();
        QCOMPARE(s.toPlainText(), QStringLiteral("precious "));
        QVERIFY(clipboard.text.contains(QLatin1String("words")));
    }
}

void FaultsTest::oddPastedTextSavesAsShown_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("control characters") << QStringLiteral("a\x01" "b\x1b[0mc\x7f" "d") << QStringLiteral("ab[0mcd");
    QTest::newRow("nul") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b")) << QStringLiteral("ab");
    QTest::newRow("object marker from a copied picture") << QStringLiteral("see \ufffc here")
                                                         << QStringLiteral("see  here");
    QTest::newRow("half a surrogate pair") << QStringLiteral("x") + QChar(0xd83d) + QStringLiteral("y")
                                           << QStringLiteral("x\ufffdy");
    QTest::newRow("line ends of every kind") << QStringLiteral("1\r\n2\r3\n4\u20295")
                                             << QStringLiteral("1\n2\n3\n4\n5");
    QTest::newRow("tabs and emoji stay") << QStringLiteral("\t\U0001F600\t") << QStringLiteral("\t\U0001F600\t");
}

void FaultsTest::oddPastedTextSavesAsShown()
{
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    Program program(settings, dialogs, clipboard);
    clipboard.text = pasted;
    program.window.mnuEditPaste_Click();
    QCOMPARE(program.surface().toPlainText(), shown);

    const QString path = dir->filePath(QStringLiteral("pasted.vrx"));
    dialogs.answer = path;
    program.window.mnuFileSaveAs_Click();
    QVERIFY(program.messages.messages.isEmpty());
    QCOMPARE(loadBack(path), shown);
}

// ---- what a continue-on-failure step absorbs ----------------------------------------------

void FaultsTest::onlyFailuresAreAbsorbed()
{
    QVERIFY(attempt([] {}).succeeded());
    const StepResult cancelled = attempt([] { throw Failure(QStringLiteral("cancelled"), CancelErrorCode); });
    QVERIFY(!cancelled.succeeded());
    QCOMPARE(cancelled.failureCode(), std::optional<int>(CancelErrorCode));
    // Memory running out, or a bug, is no failure of the step: it goes on up.
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, attempt([] { throw std::bad_alloc(); }));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, attempt([] { throw std::logic_error("bug"); }));
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
