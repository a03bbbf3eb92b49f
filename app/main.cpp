#include "app/Module1.h"
#include "app/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/CommonDialog.h"
#include "platform/MessageSink.h"
#include "platform/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Scribvale"));
    // No display name: the window system would append it to every caption.
    QApplication::setDesktopFileName(QStringLiteral("io.github.scribvale.Scribvale"));
    // The program ends when its last window closes: an open About window
    // outlives the main window.
    QApplication::setQuitOnLastWindowClosed(true);

    IniSettingsStore settings;
    QtDialogBackend dialogs;
    QtClipboard clipboard;
    QtMessageSink messages;
    const auto program = Module1::Main(Services{&settings, &dialogs, &clipboard, &messages});
    dialogs.setParent(&program->mainWindow());
    return QApplication::exec();
}
