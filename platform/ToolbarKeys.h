#pragma once

#include <QString>

// The keys of the main window's toolbar buttons. A key names its button,
// its tooltip and its image, and selects what a press runs; keys compare
// exactly, letter case included.
namespace ToolbarKey {

inline constexpr QLatin1StringView New{"New"};
inline constexpr QLatin1StringView Open{"Open"};
inline constexpr QLatin1StringView Save{"Save"};
inline constexpr QLatin1StringView Print{"Print"};
inline constexpr QLatin1StringView Cut{"Cut"};
inline constexpr QLatin1StringView Copy{"Copy"};
inline constexpr QLatin1StringView Paste{"Paste"};
inline constexpr QLatin1StringView Bold{"Bold"};
inline constexpr QLatin1StringView Italic{"Italic"};
inline constexpr QLatin1StringView Underline{"Underline"};
inline constexpr QLatin1StringView AlignLeft{"Align Left"};
inline constexpr QLatin1StringView Center{"Center"};
inline constexpr QLatin1StringView AlignRight{"Align Right"};

} // namespace ToolbarKey
