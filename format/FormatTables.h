#pragma once

#include <QtGlobal>

// The faces and colours of the formatting bar, in the order its boxes list
// them. The boxes show the names; their handlers apply the entry whose name
// the box holds exactly.
namespace formattables {

inline constexpr const char *Faces[] = {
    "Times New Roman", "Agency FB", "Rockwell", "Courier New", "Arial", "MS Sans Serif",
    "System", "Edwardian Script ITC", "Gill Sans MT",
};

struct Colour {
    const char *name;
    qint64 value;   // 0x00BBGGRR
};

inline constexpr Colour Colours[] = {
    {"Black", 0x00000000},         {"Red", 0x000000FF},          {"Red(Thick)", 0x000000C0},
    {"Red(Light)", 0x008080FF},    {"Yellow", 0x0000FFFF},       {"Yellow(Thick)", 0x00008080},
    {"Yellow(Light)", 0x0080FFFF}, {"Blue", 0x00FF0000},         {"Blue(Thick)", 0x00C00000},
    {"Blue(Light)", 0x00FF8080},   {"Green", 0x0000FF00},        {"Green(Thick)", 0x00008000},
    {"Green(Light)", 0x0080FF80},  {"Meganta", 0x00FF00FF},
};

} // namespace formattables
