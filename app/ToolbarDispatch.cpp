// The toolbar turns a pressed button into a command by its key. Every step
// runs on its own: a failing step is absorbed and the next one runs.

#include "app/frmMain.h"

#include "app/ToolbarRows.h"
#include "platform/Failure.h"
#include "platform/RichTextBox.h"
#include "platform/ToolbarKeys.h"

#include <optional>

std::span<const ToolbarRow> toolbarRows()
{
    using namespace ToolbarKey;
    using Style = KeyedToolBar::Style;
    using Command = ToolbarRow::Command;
    using StyleToggle = ToolbarRow::StyleToggle;
    using Alignment = ToolbarRow::Alignment;
    using F = frmMain;
    using R = RichTextBox;
    static constexpr ToolbarRow rows[] = {
        {New, QLatin1StringView("new"), Style::Plain, Command{&F::CreateDocumentWindow}},
        {Open, QLatin1StringView("open"), Style::Plain, Command{&F::mnuFileOpen_Click}},
        {Save, QLatin1StringView("save"), Style::Plain, Command{&F::mnuFileSave_Click}},
        {},
        {Print, QLatin1StringView("print"), Style::Plain, Command{&F::mnuFilePrint_Click}},
        {},
        {Cut, QLatin1StringView("cut"), Style::Plain, Command{&F::mnuEditCut_Click}},
        {Copy, QLatin1StringView("copy"), Style::Plain, Command{&F::mnuEditCopy_Click}},
        {Paste, QLatin1StringView("paste"), Style::Plain, Command{&F::mnuEditPaste_Click}},
        {},
        {Bold, QLatin1StringView("bold"), Style::Toggle, StyleToggle{&R::SelBold, &R::setSelBold}},
        {Italic, QLatin1StringView("italic"), Style::Toggle, StyleToggle{&R::SelItalic, &R::setSelItalic}},
        {Underline, QLatin1StringView("underline"), Style::Toggle, StyleToggle{&R::SelUnderline, &R::setSelUnderline}},
        {},
        {AlignLeft, QLatin1StringView("alignleft"), Style::Group, Alignment{R::AlignLeftCode}},
        {Center, QLatin1StringView("center"), Style::Group, Alignment{R::AlignCenterCode}},
        {AlignRight, QLatin1StringView("alignright"), Style::Group, Alignment{R::AlignRightCode}},
    };
    return rows;
}

namespace {

std::optional<bool> negate(std::optional<bool> value)
{
    return value ? std::optional<bool>(!*value) : std::nullopt;
}

} // namespace

void frmMain::tbToolBar_ButtonClick(KeyedToolBar::Button *button)
{
    const QString key = button->Key();
    for (const ToolbarRow &row : toolbarRows()) {
        if (row.isSeparator() || key != row.key)
            continue;
        if (const auto *command = std::get_if<ToolbarRow::Command>(&row.action)) {
            attempt([&] { (this->*command->run)(); });
        } else if (const auto *style = std::get_if<ToolbarRow::StyleToggle>(&row.action)) {
            attempt([&] {
                RichTextBox &surface = activeSurface();
                const std::optional<bool> negated = negate((surface.*style->read)());
                (activeSurface().*style->write)(negated);
            });
            // Runs even when the toggle failed, so the button shows what the
            // surface now reports.
            attempt([&] { button->setValue((activeSurface().*style->read)() == true ? 1 : 0); });
        } else if (const auto *alignment = std::get_if<ToolbarRow::Alignment>(&row.action)) {
            attempt([&] { activeSurface().setSelAlignment(alignment->code); });
        }
        return;
    }
}
