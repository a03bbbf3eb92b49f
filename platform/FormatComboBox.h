#pragma once

#include <QComboBox>

// A drop-down box of the formatting bar: an editable text over a list that
// keeps its items in the order given.
//
// Only a choice from the list, with the mouse or the arrow keys, raises
// activated. Typed text is only text: it is neither completed nor matched
// against the list, whichever key or click ends the typing. The Edit menu's
// shortcut keys (Ctrl+X, Ctrl+C, Ctrl+V) are left to the main window.
//
// Assistive technology names the box by its accessible name, whatever text
// it shows (Qt's own combo box is named by its current text on Linux); the
// text is its value, and its list and the list's items are there to read
// and choose from as in Qt's own combo box.
class FormatComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit FormatComboBox(QWidget *parent = nullptr);

signals:
    // The input focus moved into the box: by Tab, a click on its text or on
    // its arrow, or otherwise. Its coming back from the box's own list, or
    // with the whole window, is no move.
    void GotFocus();

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
};
