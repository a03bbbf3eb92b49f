#pragma once

#include "app/frmMain.h"
#include "platform/KeyedToolBar.h"
#include "platform/RichTextBox.h"

#include <optional>
#include <span>
#include <variant>

// One entry of the main window's toolbar: a separator, or a keyed button
// with its image, its style and what a press runs. The layout builds the
// toolbar from these rows and the dispatch looks a pressed key up in them.
struct ToolbarRow {
    // Runs a command of the main window.
    struct Command {
        void (frmMain::*run)();
    };
    // Negates a style of the selection and shows the result on the button.
    struct StyleToggle {
        std::optional<bool> (RichTextBox::*read)() const;
        void (RichTextBox::*write)(std::optional<bool>);
    };
    // Writes a paragraph alignment code to the selection.
    struct Alignment {
        int code;
    };

    QLatin1StringView key;     // empty for a separator
    QLatin1StringView image;   // the file name stem of its image
    KeyedToolBar::Style style = KeyedToolBar::Style::Plain;
    std::variant<Command, StyleToggle, Alignment> action = Command{nullptr};

    bool isSeparator() const { return key.isEmpty(); }
};

// The toolbar, left to right; a pressed key is looked up in this order.
std::span<const ToolbarRow> toolbarRows();
