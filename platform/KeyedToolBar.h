#pragma once

#include <QIcon>
#include <QToolBar>

#include <memory>
#include <vector>

class QAction;

// A toolbar of buttons addressed by key. Plain buttons spring back after a
// press; toggle buttons spring back too but show pressed while their Value
// is 1; the buttons of the group behave like radio buttons. Every press
// raises ButtonClick with the button.
class KeyedToolBar : public QToolBar
{
    Q_OBJECT

public:
    enum class Style { Plain, Toggle, Group };

    class Button
    {
    public:
        Button(QString key, QAction *action, Style style, KeyedToolBar *bar)
            : m_key(std::move(key)), m_action(action), m_style(style), m_bar(bar) {}
        const QString &Key() const { return m_key; }
        int Value() const;
        void setValue(int value);
        QAction *action() const { return m_action; }
        Style style() const { return m_style; }

    private:
        QString m_key;
        QAction *m_action;
        Style m_style;
        KeyedToolBar *m_bar;
    };

    explicit KeyedToolBar(const QString &title, QWidget *parent = nullptr);
    ~KeyedToolBar() override;

    Button *addButton(const QString &key, const QIcon &icon, Style style);
    // The button with the key, or nullptr.
    Button *Buttons(const QString &key) const;
    const std::vector<std::unique_ptr<Button>> &buttons() const { return m_buttons; }

    // Presses a button as a click would.
    void press(Button *button);

signals:
    void ButtonClick(KeyedToolBar::Button *button);

private:
    void releaseGroupExcept(const Button *keep);

    std::vector<std::unique_ptr<Button>> m_buttons;
    bool m_updating = false;
};
