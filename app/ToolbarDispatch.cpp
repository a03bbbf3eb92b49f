// The toolbar turns a pressed button into a command by its key. Every step
// runs on its own: a failing step is absorbed and the next one runs.

#include "app/frmMain.h"

#include "platform/Failure.h"
#include "platform/RichTextBox.h"

#include <optional>

namespace {

using StyleGetter = std::optional<bool> (RichTextBox::*)() const;
using StyleSetter = void (RichTextBox::*)(std::optional<bool>);

std::optional<bool> negate(std::optional<bool> value)
{
    return value ? std::optional<bool>(!*value) : std::nullopt;
}

} // namespace

void frmMain::tbToolBar_ButtonClick(KeyedToolBar::Button *button)
{
    const QString key = button->Key();

    using Command = void (frmMain::*)();
    const std::pair<const char *, Command> commands[] = {
        {"New", &frmMain::CreateDocumentWindow},
        {"Open", &frmMain::mnuFileOpen_Click},
        {"Save", &frmMain::mnuFileSave_Click},
        {"Print", &frmMain::mnuFilePrint_Click},
        {"Cut", &frmMain::mnuEditCut_Click},
        {"Copy", &frmMain::mnuEditCopy_Click},
        {"Paste", &frmMain::mnuEditPaste_Click},
    };
    for (const auto &[name, command] : commands) {
        if (key == QLatin1String(name)) {
            attempt([&] { (this->*command)(); });
            return;
        }
    }

    const std::tuple<const char *, StyleGetter, StyleSetter> styles[] = {
        {"Bold", &RichTextBox::SelBold, &RichTextBox::setSelBold},
        {"Italic", &RichTextBox::SelItalic, &RichTextBox::setSelItalic},
        {"Underline", &RichTextBox::SelUnderline, &RichTextBox::setSelUnderline},
    };
    for (const auto &[name, get, set] : styles) {
        if (key == QLatin1String(name)) {
            attempt([&] {
                RichTextBox &surface = activeSurface();
                const std::optional<bool> negated = negate((surface.*get)());
                (activeSurface().*set)(negated);
            });
            // Runs even when the toggle failed, so the button shows what the
            // surface now reports.
            attempt([&] { button->setValue((activeSurface().*get)() == true ? 1 : 0); });
            return;
        }
    }

    const std::pair<const char *, int> alignments[] = {
        {"Align Left", RichTextBox::AlignLeftCode},
        {"Center", RichTextBox::AlignCenterCode},
        {"Align Right", RichTextBox::AlignRightCode},
    };
    for (const auto &[name, code] : alignments) {
        if (key == QLatin1String(name)) {
            attempt([&] { activeSurface().setSelAlignment(code); });
            return;
        }
    }
}
