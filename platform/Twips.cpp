#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace twips {

double dpi()
{
    if (auto *screen = QGuiApplication::primaryScreen()) {
        const double value = screen->logicalDotsPerInch();
        if (value > 0)
            return value;
    }
    return 96.0;
}

int toPixels(double twips)
{
    return int(std::lround(twips * dpi() / 1440.0));
}

double fromPixels(int pixels)
{
    return pixels * 1440.0 / dpi();
}

} // namespace twips
