#pragma once

#include <optional>

namespace vastrel {

// The table follows the window's outer size, in twips, but never below 5000 twips:
// a smaller window keeps the table at its last size.
std::optional<int> GridHeightForWindow(int outerHeightTwips);
std::optional<int> GridWidthForWindow(int outerWidthTwips);

// Pixels left for the placeholder so that "Info", "Web" and "Ende" sit at the right end:
// the inner width less 40 pixels and the three buttons, from the placeholder's left edge;
// 0 when there is no room, never negative.
int PlaceholderWidth(double innerWidthPixels, int infoWidth, int webWidth, int endWidth, int placeholderLeft);

inline constexpr int kGridLeftTwips = 120;
inline constexpr int kGridTopTwips = 600;
inline constexpr int kStatusBarHeightTwips = 360;

} // namespace vastrel
