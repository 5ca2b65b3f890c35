// A font as the windows choose and remember it: face, size in points, colour, style.
#pragma once

#include <string>

#include "ui/Color.h"

namespace zub {

// Character cell height at 96 pixels per inch (8 points is 11 pixels).
constexpr int PointsToPixels(int points) {
  return (points * 96 + 36) / 72;
}

struct Font {
  std::string name = "MS Sans Serif";
  int pointSize = 8;
  ColorRef color = kBlack;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  int PixelHeight() const { return PointsToPixels(pointSize); }

  bool operator==(const Font&) const = default;
};

}  // namespace zub
