#pragma once

#include "app/MenuNames.h"
#include "app/Module1.h"
#include "app/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/MessageSink.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SettingsStore.h"
#include "platform/ToolbarKeys.h"

#include <optional>

class RichTextBox;

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
