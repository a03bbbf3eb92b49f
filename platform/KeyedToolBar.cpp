#include "platform/KeyedToolBar.h"

#include <QAction>

KeyedToolBar::KeyedToolBar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(16, 16));
}

KeyedToolBar::~KeyedToolBar() = default;

int KeyedToolBar::Button::Value() const
{
    return m_action->isChecked() ? 1 : 0;
}

void KeyedToolBar::Button::setValue(int value)
{
    m_bar->m_updating = true;
    if (value != 0 && !m_action->isCheckable())
        m_action->setCheckable(true);   // a plain button told to show pressed
    m_action->setChecked(value != 0);
    if (value != 0 && m_style == Style::Group)
        m_bar->releaseGroupExcept(this);
    m_bar->m_updating = false;
}

void KeyedToolBar::releaseGroupExcept(const Button *keep)
{
    for (const auto &button : m_buttons)
        if (button.get() != keep && button->style() == Style::Group)
            button->action()->setChecked(false);
}

KeyedToolBar::Button *KeyedToolBar::addButton(const QString &key, const QIcon &icon, Style style)
{
    // The key is the action's text as well as its tooltip, so assistive
    // technology names the button even though it shows only its image.
    QAction *action = addAction(icon, key);
    action->setObjectName(key);
    action->setToolTip(key);
    // Only buttons that show a state are announced as toggles.
    action->setCheckable(style != Style::Plain);
    m_buttons.push_back(std::make_unique<Button>(key, action, style, this));
    Button *button = m_buttons.back().get();
    connect(action, &QAction::triggered, this, [this, button](bool checked) {
        if (m_updating)
            return;
        if (button->style() != Style::Group) {
            // A plain button springs back; only its Value shows it pressed.
            if (button->action()->isCheckable()) {
                m_updating = true;
                button->action()->setChecked(!checked);
                m_updating = false;
            }
        } else {
            button->setValue(1);
        }
        emit ButtonClick(button);
    });
    return button;
}

KeyedToolBar::Button *KeyedToolBar::Buttons(const QString &key) const
{
    for (const auto &button : m_buttons)
        if (button->Key() == key)
            return button.get();
    return nullptr;
}

void KeyedToolBar::press(Button *button)
{
    button->action()->trigger();
}
