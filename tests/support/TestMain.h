#pragma once

#include "app/MenuNames.h"
#include "app/Module1.h"
#include "app/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/MessageSink.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SettingsStore.h"
#include "platform/ToolbarKeys.h"

#include <QPoint>

#include <optional>

class QComboBox;
class RichTextBox;
class QWidget;

// What a test sets in the main window that no person could reach in a
// test's time.
struct frmMainTestAccess {
    static void setDocumentCount(frmMain &window, int value) { window.m_documentCount = value; }
};

// One run of the program over scripted dialogs, an in-memory clipboard and
// settings store, and a message recorder: the main window, shown (and so
// loaded) unless asked otherwise, is the program's MainWindow for the life
// of the fixture.
class MainWindowFixture
{
public:
    explicit MainWindowFixture(bool shown = true);

    frmMain &window() { return m_program->mainWindow(); }
    RichTextBox &surface();   // of the active document

    MemorySettingsStore settings;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    RecordingMessageSink messages;

private:
    std::optional<Module1::Program> m_program;
};

// What a person does: a click or a mouse movement goes through the window
// to whatever widget is at that place, keys go to the widget that has the
// focus. Positions are in the given widget's own coordinates.
namespace user {

void click(QWidget *widget, QPoint at);
void moveMouse(QWidget *widget, QPoint at);
void type(const QString &text);
void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {});

// A box's drop-down arrow and its text, in the box's coordinates.
QPoint arrowOf(QComboBox *box);
QPoint textOf(QComboBox *box);
// Chooses an item from a box's list with the mouse: a click on the arrow
// drops the list down, a click on the item chooses it.
void choose(QComboBox *box, const QString &item);

} // namespace user
