#include "platform/FormatComboBox.h"

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
    // The line edit would take the Edit menu's keys for itself before the
    // main window's shortcuts see them.
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeyCombination combo = static_cast<QKeyEvent *>(event)->keyCombination();
        if (combo == QKeyCombination(Qt::ControlModifier, Qt::Key_C)
            || combo == QKeyCombination(Qt::ControlModifier, Qt::Key_X)
            || combo == QKeyCombination(Qt::ControlModifier, Qt::Key_V)) {
            event->ignore();
            return false;
        }
    }
    return QComboBox::event(event);
}

void FormatComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
        emit GotFocus();
}
