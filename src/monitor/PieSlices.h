// The drawing of the main window's pies: slices in the order added, each its
// share of the disc, running clockwise from twelve o'clock.
#pragma once

#include <string>
#include <vector>

#include "ui/Canvas.h"

namespace zub {

struct PieSlice {
  double value = 0;
  std::string label;  // kept, never drawn
  ColorRef color = kBlack;
};

// The disc inscribed in `box`, outlined in black. Slices of no value, and an
// empty list or one whose values add up to nothing, draw nothing.
void DrawPieSlices(Canvas& canvas, const Rect& box, const std::vector<PieSlice>& slices);

// A figure with nothing in it (no swap at all): the disc's black outline
// around the `background` colour and no slice, so that it cannot be read as
// all used or all free.
void DrawEmptyPie(Canvas& canvas, const Rect& box, ColorRef background);

}  // namespace zub
