#include "platform/FormatComboBox.h"

#include "platform/EditShortcuts.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

class AccessibleFormatComboBox : public QAccessibleWidget
{
public:
    explicit AccessibleFormatComboBox(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::ComboBox) {}

    QComboBox *box() const { return static_cast<QComboBox *>(widget()); }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return box()->accessibleName();
        case QAccessible::Value:
            return box()->currentText();
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    // As Qt's own combo box: first the drop-down list (whose items are the
    // list's children), then the text.
    int childCount() const override { return 2; }

    QAccessibleInterface *child(int index) const override
    {
        switch (index) {
        case 0: return QAccessible::queryAccessibleInterface(box()->view());
        case 1: return QAccessible::queryAccessibleInterface(box()->lineEdit());
        default: return nullptr;
        }
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && child->object() == box()->view())
            return 0;
        if (child && child->object() == box()->lineEdit())
            return 1;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = box()->mapFromGlobal(QPoint(x, y));
        return box()->lineEdit()->geometry().contains(at) ? child(1) : nullptr;
    }

    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString &name) override
    {
        if (name == showMenuAction())
            box()->showPopup();
    }
};

QAccessibleInterface *formatComboFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("FormatComboBox") && object && object->isWidgetType())
        return new AccessibleFormatComboBox(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

FormatComboBox::FormatComboBox(QWidget *parent)
    : QComboBox(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(formatComboFactory);
        return true;
    }();
    Q_UNUSED(installed);

    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Qt's box completes typed text from the list, ignoring case, and picks
    // the item that matches when editing ends: neither is a choice here.
    setCompleter(nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
}

bool FormatComboBox::event(QEvent *event)
{
    if (leaveEditShortcutToWindow(event))
        return false;
    return QComboBox::event(event);
}

void FormatComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        emit GotFocus();
}
