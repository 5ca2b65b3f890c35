#include "monitor/PieSlices.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zub {

void DrawPieSlices(Canvas& canvas, const Rect& box, const std::vector<PieSlice>& slices) {
  double sum = 0;
  for (const PieSlice& slice : slices) {
    sum += slice.value > 0 ? slice.value : 0;
  }
  if (sum <= 0) {
    return;
  }
  const double cx = (box.left + box.right) / 2.0;
  const double cy = (box.top + box.bottom) / 2.0;
  // Radials only give directions: long ones keep small slices apart after rounding.
  const double reach = 10.0 * std::max(box.Width(), box.Height());
  struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
  };
  auto radial = [&](double share) {
    const double angle = share * 2 * std::numbers::pi;  // clockwise from straight up
    return Point{static_cast<int>(std::lround(cx + reach * std::sin(angle))),
                 static_cast<int>(std::lround(cy - reach * std::cos(angle)))};
  };

  const ColorRef oldPen = canvas.PenColor();
  const ColorRef oldBrush = canvas.BrushColor();
  canvas.SetPenColor(kBlack);
  double before = 0;
  for (const PieSlice& slice : slices) {
    if (slice.value <= 0) {
      continue;
    }
    const double start = before / sum;
    before += slice.value;
    const double end = before / sum;
    canvas.SetBrushColor(slice.color);
    if (end - start >= 1.0) {
      canvas.Ellipse(box.left, box.top, box.right, box.bottom);
      continue;
    }
    const Point from = radial(start);
    const Point to = radial(end);
    if (from == to) {
      continue;  // too thin to show; equal radials would fill the whole disc
    }
    // Pie runs counter-clockwise: from the slice's end back to its start.
    canvas.Pie(box.left, box.top, box.right, box.bottom, to.x, to.y, from.x, from.y);
  }
  canvas.SetPenColor(oldPen);
  canvas.SetBrushColor(oldBrush);
}

void DrawEmptyPie(Canvas& canvas, const Rect& box, ColorRef background) {
  const ColorRef oldPen = canvas.PenColor();
  const ColorRef oldBrush = canvas.BrushColor();
  canvas.SetPenColor(kBlack);
  canvas.SetBrushColor(background);
  canvas.Ellipse(box.left, box.top, box.right, box.bottom);
  canvas.SetPenColor(oldPen);
  canvas.SetBrushColor(oldBrush);
}

}  // namespace zub
