// The size box and the slider of the formatting bar: each hands its value to
// the selection as a size in points. The surface refuses sizes it cannot
// show (a slider at 0), and nothing changes then.

#include "app/frmMain.h"

#include "platform/Failure.h"
#include "platform/RichTextBox.h"

#include <QComboBox>
#include <QSlider>

void frmMain::fs1_Click()
{
    const QString text = m_fs1->currentText();
    attempt([&] { activeSurface().setSelFontSize(text); });
}

void frmMain::Slider1_Click()
{
    const int value = m_slider1->value();
    attempt([&] { activeSurface().setSelFontSize(value); });
}

void frmMain::Slider1_MouseMove()
{
    Slider1_Click();
}
