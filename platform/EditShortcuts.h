#pragma once

#include <QKeyEvent>

// The Edit menu's shortcut keys (Ctrl+X, Ctrl+C, Ctrl+V) work from anywhere
// in the main window: a text control that would take them for itself leaves
// them to the window's shortcuts. True when event is such a key, now ignored.
inline bool leaveEditShortcutToWindow(QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const QKeyCombination combo = static_cast<QKeyEvent *>(event)->keyCombination();
    if (combo != QKeyCombination(Qt::ControlModifier, Qt::Key_C) && combo != QKeyCombination(Qt::ControlModifier, Qt::Key_X)
        && combo != QKeyCombination(Qt::ControlModifier, Qt::Key_V))
        return false;
    event->ignore();
    return true;
}
