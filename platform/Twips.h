#pragma once

#include <QtGlobal>

// Positions and sizes are kept in twips (1/1440 inch) and converted to the
// screen's device-independent pixels by its logical DPI (15 twips a pixel at 96 DPI).
namespace twips {

double dpi();                 // logical DPI of the primary screen (96 without one)
int toPixels(double twips);   // rounded to the nearest pixel
double fromPixels(int pixels);

} // namespace twips
