// The face and colour boxes of the formatting bar. Each translates the box's
// text through the table of its entries; only an exact match applies anything.

#include "app/frmMain.h"

#include "format/FormatTables.h"

#include "platform/Failure.h"
#include "platform/RichTextBox.h"

#include <QComboBox>


void frmMain::f1_Click()
{
    for (const char *face : formattables::Faces) {
        if (m_f1->currentText() == QLatin1String(face))
            attempt([&] { activeSurface().setFontName(QString::fromLatin1(face)); });
    }
}

void frmMain::fc1_Click()
{
    for (const formattables::Colour &entry : formattables::Colours) {
        if (m_fc1->currentText() == QLatin1String(entry.name))
            attempt([&] { activeSurface().setSelColor(entry.value); });
    }
}

void frmMain::fc1_GotFocus()
{
    fc1_Click();
}
