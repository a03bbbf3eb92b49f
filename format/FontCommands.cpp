// The face and colour boxes of the formatting bar. Each translates the box's
// text through its own table; only an exact match applies anything.

#include "app/frmMain.h"

#include "platform/Failure.h"
#include "platform/RichTextBox.h"

#include <QComboBox>

namespace {

const char *const FaceTable[] = {
    "Agency FB", "Times New Roman", "Rockwell", "Courier New", "Gill Sans MT",
    "Edwardian Script ITC", "System", "Arial", "MS Sans Serif",
};

struct ColourEntry {
    const char *name;
    qint64 value;   // 0x00BBGGRR
};

const ColourEntry ColourTable[] = {
    {"Blue", 0x00FF0000},         {"Yellow", 0x0000FFFF},       {"Red", 0x000000FF},
    {"Red(Thick)", 0x000000C0},   {"Red(Light)", 0x008080FF},   {"Black", 0x00000000},
    {"Yellow(Thick)", 0x00008080}, {"Yellow(Light)", 0x0080FFFF}, {"Blue(Thick)", 0x00C00000},
    {"Blue(Light)", 0x00FF8080},  {"Green", 0x0000FF00},        {"Green(Thick)", 0x00008000},
    {"Green(Light)", 0x0080FF80}, {"Meganta", 0x00FF00FF},
};

} // namespace

void frmMain::f1_Click()
{
    for (const char *face : FaceTable) {
        if (m_f1->currentText() == QLatin1String(face))
            attempt([&] { activeSurface().setFontName(QString::fromLatin1(face)); });
    }
}

void frmMain::fc1_Click()
{
    for (const ColourEntry &entry : ColourTable) {
        if (m_fc1->currentText() == QLatin1String(entry.name))
            attempt([&] { activeSurface().setSelColor(entry.value); });
    }
}

void frmMain::fc1_GotFocus()
{
    fc1_Click();
}
