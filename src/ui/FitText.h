// Whole figures in a narrow panel: the font size at which a text fits.
#pragma once

#include <functional>

namespace zub {

// The design size when the text fits `innerWidth`, else the largest smaller
// size at which it fits, else the smallest size there is (1 point): a
// smaller font is always better than a lost digit. `widthAt(points)` gives
// the text's width in pixels at a size.
int FitPointSize(const std::function<int(int points)>& widthAt, int designPoints, int innerWidth);

}  // namespace zub
