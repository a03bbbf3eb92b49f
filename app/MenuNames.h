#pragma once

#include <QString>

// The names of the main window's menus and menu items: a menu, or its menu
// and command joined (mnuFileSaveAs); separators are their menu, "Bar" and a
// number. The menu table, the code that looks an item up and the tests all
// use these.
namespace MenuName {

inline constexpr QLatin1StringView mnuFile{"mnuFile"};
inline constexpr QLatin1StringView mnuFileNew{"mnuFileNew"};
inline constexpr QLatin1StringView mnuFileOpen{"mnuFileOpen"};
inline constexpr QLatin1StringView mnuFileClose{"mnuFileClose"};
inline constexpr QLatin1StringView mnuFileBar0{"mnuFileBar0"};
inline constexpr QLatin1StringView mnuFileSave{"mnuFileSave"};
inline constexpr QLatin1StringView mnuFileSaveAs{"mnuFileSaveAs"};
inline constexpr QLatin1StringView mnuFileSaveAll{"mnuFileSaveAll"};
inline constexpr QLatin1StringView mnuFileBar1{"mnuFileBar1"};
inline constexpr QLatin1StringView mnuFileProperties{"mnuFileProperties"};
inline constexpr QLatin1StringView mnuFileBar2{"mnuFileBar2"};
inline constexpr QLatin1StringView mnuFilePageSetup{"mnuFilePageSetup"};
inline constexpr QLatin1StringView mnuFilePrintPreview{"mnuFilePrintPreview"};
inline constexpr QLatin1StringView mnuFilePrint{"mnuFilePrint"};
inline constexpr QLatin1StringView mnuFileBar3{"mnuFileBar3"};
inline constexpr QLatin1StringView mnuFileSend{"mnuFileSend"};
inline constexpr QLatin1StringView mnuFileBar4{"mnuFileBar4"};
inline constexpr QLatin1StringView mnuFileMRU1{"mnuFileMRU(1)"};
inline constexpr QLatin1StringView mnuFileMRU2{"mnuFileMRU(2)"};
inline constexpr QLatin1StringView mnuFileMRU3{"mnuFileMRU(3)"};
inline constexpr QLatin1StringView mnuFileBar5{"mnuFileBar5"};
inline constexpr QLatin1StringView mnuFileExit{"mnuFileExit"};

inline constexpr QLatin1StringView mnuEdit{"mnuEdit"};
inline constexpr QLatin1StringView mnuEditUndo{"mnuEditUndo"};
inline constexpr QLatin1StringView mnuEditBar0{"mnuEditBar0"};
inline constexpr QLatin1StringView mnuEditCut{"mnuEditCut"};
inline constexpr QLatin1StringView mnuEditCopy{"mnuEditCopy"};
inline constexpr QLatin1StringView mnuEditPaste{"mnuEditPaste"};
inline constexpr QLatin1StringView mnuEditPasteSpecial{"mnuEditPasteSpecial"};

inline constexpr QLatin1StringView mnuView{"mnuView"};
inline constexpr QLatin1StringView mnuViewToolbar{"mnuViewToolbar"};
inline constexpr QLatin1StringView mnuViewStatusBar{"mnuViewStatusBar"};
inline constexpr QLatin1StringView mnuViewBar0{"mnuViewBar0"};
inline constexpr QLatin1StringView mnuViewRefresh{"mnuViewRefresh"};
inline constexpr QLatin1StringView mnuViewOptions{"mnuViewOptions"};
inline constexpr QLatin1StringView mnuViewWebBrowser{"mnuViewWebBrowser"};

inline constexpr QLatin1StringView mnuWindow{"mnuWindow"};
inline constexpr QLatin1StringView mnuWindowNewWindow{"mnuWindowNewWindow"};
inline constexpr QLatin1StringView mnuWindowBar0{"mnuWindowBar0"};
inline constexpr QLatin1StringView mnuWindowCascade{"mnuWindowCascade"};
inline constexpr QLatin1StringView mnuWindowTileHorizontal{"mnuWindowTileHorizontal"};
inline constexpr QLatin1StringView mnuWindowTileVertical{"mnuWindowTileVertical"};
inline constexpr QLatin1StringView mnuWindowArrangeIcons{"mnuWindowArrangeIcons"};

inline constexpr QLatin1StringView mnuHelp{"mnuHelp"};
inline constexpr QLatin1StringView mnuHelpContents{"mnuHelpContents"};
inline constexpr QLatin1StringView mnuHelpSearchForHelpOn{"mnuHelpSearchForHelpOn"};
inline constexpr QLatin1StringView mnuHelpBar0{"mnuHelpBar0"};
inline constexpr QLatin1StringView mnuHelpAbout{"mnuHelpAbout"};

} // namespace MenuName
