#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

// A status bar of three panels: a fixed text that takes the spare width, the
// date and the time, which the bar keeps up to date by itself.
class PanelStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit PanelStatusBar(QWidget *parent = nullptr);

    QLabel *textPanel() const { return m_text; }
    QLabel *datePanel() const { return m_date; }
    QLabel *timePanel() const { return m_time; }
    void refresh();

private:
    QLabel *m_text;
    QLabel *m_date;
    QLabel *m_time;
    QTimer *m_timer;
};
