#include "app/WindowLayout.h"

#include <cmath>

namespace vastrel {

std::optional<int> GridHeightForWindow(int outerHeightTwips) {
    const int height = outerHeightTwips - 1635;
    return height > 5000 ? std::optional<int>(height) : std::nullopt;
}

std::optional<int> GridWidthForWindow(int outerWidthTwips) {
    const int width = outerWidthTwips - 301;
    return width > 5000 ? std::optional<int>(width) : std::nullopt;
}

int PlaceholderWidth(double innerWidthPixels, int infoWidth, int webWidth, int endWidth,
                     int placeholderLeft) {
    const long long available =
        std::llrint(innerWidthPixels - 40) - static_cast<long long>(infoWidth) - webWidth - endWidth;
    return placeholderLeft < available ? static_cast<int>(available - placeholderLeft) : 0;
}

} // namespace vastrel
