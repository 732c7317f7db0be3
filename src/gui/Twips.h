#pragma once

#include <QWidget>

namespace vastrel {

// Twips (1/1440 inch) and the widget's pixels, at its screen's dots per inch (96 when unknown).
inline int TwipsToPixels(const QWidget* widget, int twips) {
    const int dpi = widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96;
    return (twips * dpi + 720) / 1440;
}

inline int PixelsToTwips(const QWidget* widget, int pixels) {
    const int dpi = widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96;
    return pixels * 1440 / dpi;
}

} // namespace vastrel
