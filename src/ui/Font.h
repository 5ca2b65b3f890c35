// A font as the windows choose and remember it: face, size in points, colour, style.
#pragma once

#include <string>

#include "ui/Color.h"

namespace zub {

struct Font {
  std::string name = "MS Sans Serif";
  int pointSize = 8;
  ColorRef color = kBlack;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  // Character cell height at 96 pixels per inch (8 points is 11 pixels).
  int PixelHeight() const { return (pointSize * 96 + 36) / 72; }

  bool operator==(const Font&) const = default;
};

}  // namespace zub
