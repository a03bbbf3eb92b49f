#include "platform/PanelStatusBar.h"

#include "platform/Twips.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

PanelStatusBar::PanelStatusBar(QWidget *parent)
    : QStatusBar(parent),
      m_text(new QLabel(tr("Status"), this)),
      m_date(new QLabel(this)),
      m_time(new QLabel(this)),
      m_timer(new QTimer(this))
{
    setSizeGripEnabled(false);
    const int minimum = twips::toPixels(2540);
    for (QLabel *panel : {m_text, m_date, m_time}) {
        panel->setMinimumWidth(minimum);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
    }
    // The panels are named by what they show: a label's text is its name.
    addPermanentWidget(m_text, 1);
    addPermanentWidget(m_date);
    addPermanentWidget(m_time);
    refresh();
    // Wake at the start of every second so the time turns over on time.
    connect(m_timer, &QTimer::timeout, this, [this] {
        refresh();
        m_timer->start(1000 - QTime::currentTime().msec());
    });
    m_timer->setSingleShot(true);
    m_timer->start(1000 - QTime::currentTime().msec());
}

void PanelStatusBar::refresh()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    const QString date = locale.toString(now.date(), QLocale::ShortFormat);
    const QString time = locale.toString(now.time(), QLocale::ShortFormat);
    if (m_date->text() != date)
        m_date->setText(date);
    if (m_time->text() != time)
        m_time->setText(time);
}
