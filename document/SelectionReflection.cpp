// The toolbar's style and alignment buttons follow the selection of the
// surface whose selection changed.

#include "document/frmDocument.h"

#include "app/Module1.h"
#include "app/frmMain.h"
#include "platform/RichTextBox.h"

void frmDocument::rtfText_SelChange()
{
    if (!MainWindow)
        return;
    KeyedToolBar *toolbar = MainWindow->tbToolBar();
    const auto set = [toolbar](const char *key, bool pressed) {
        if (KeyedToolBar::Button *button = toolbar->Buttons(QString::fromUtf8(key)))
            button->setValue(pressed ? 1 : 0);
    };
    // A mixed selection reads as std::nullopt and leaves its button released.
    set("Bold", rtfText->SelBold() == true);
    set("Italic", rtfText->SelItalic() == true);
    set("Underline", rtfText->SelUnderline() == true);
    set("Align Left", rtfText->SelAlignment() == RichTextBox::AlignLeftCode);
    set("Center", rtfText->SelAlignment() == RichTextBox::AlignCenterCode);
    set("Align Right", rtfText->SelAlignment() == RichTextBox::AlignRightCode);
}
