// The toolbar's style and alignment buttons follow the selection of the
// surface whose selection changed.

#include "document/frmDocument.h"

#include "platform/RichTextBox.h"
#include "platform/ToolbarKeys.h"

void frmDocument::rtfText_SelChange()
{
    const auto set = [this](QLatin1StringView key, bool pressed) { emit ButtonValue(key, pressed ? 1 : 0); };
    // A mixed selection reads as std::nullopt and leaves its button released.
    set(ToolbarKey::Bold, rtfText->SelBold() == true);
    set(ToolbarKey::Italic, rtfText->SelItalic() == true);
    set(ToolbarKey::Underline, rtfText->SelUnderline() == true);
    set(ToolbarKey::AlignLeft, rtfText->SelAlignment() == RichTextBox::AlignLeftCode);
    set(ToolbarKey::Center, rtfText->SelAlignment() == RichTextBox::AlignCenterCode);
    set(ToolbarKey::AlignRight, rtfText->SelAlignment() == RichTextBox::AlignRightCode);
}
