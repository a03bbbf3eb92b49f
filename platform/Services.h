#pragma once

class Clipboard;
class DialogBackend;
class MessageSink;
class SettingsStore;

// The system facilities the main window works through; the program gives it
// Qt's, tests give it scripted ones.
struct Services {
    SettingsStore *settings = nullptr;
    DialogBackend *dialogs = nullptr;
    Clipboard *clipboard = nullptr;
    MessageSink *messages = nullptr;
};
