#pragma once

#include "app/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/MessageSink.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SettingsStore.h"

#include <memory>

class RichTextBox;

// A main window wired to scripted dialogs, an in-memory clipboard and
// settings store, and a message recorder, set as the program's MainWindow
// for the life of the fixture.
class MainWindowFixture
{
public:
    MainWindowFixture();
    ~MainWindowFixture();

    frmMain &window() { return *m_window; }
    RichTextBox &surface();   // of the active document

    MemorySettingsStore settings;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    RecordingMessageSink messages;

private:
    std::unique_ptr<frmMain> m_window;
};
