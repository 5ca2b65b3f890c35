// The drawing surface of the self-drawn controls, with the geometry of the
// classic GDI calls: boxes exclude their right and bottom edges, Pie runs
// counter-clockwise on screen from the first radial to the second.
#pragma once

#include <memory>
#include <string>

#include "ui/Color.h"
#include "ui/Font.h"

namespace zub {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPenColor(ColorRef color) = 0;
  virtual ColorRef PenColor() const = 0;
  virtual void SetBrushColor(ColorRef color) = 0;
  virtual ColorRef BrushColor() const = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual Font CurrentFont() const = 0;

  // Filled with the brush, outlined with a one-pixel solid pen.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Wedge of the ellipse in the box from the radial through (x3, y3)
  // counter-clockwise to the radial through (x4, y4).
  virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // Text with its cell's top-left at (x, y) in the font colour, on an opaque
  // background of the brush colour.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;

  // An off-screen surface, drawn like this one and copied back with CopyRect.
  virtual std::unique_ptr<Canvas> NewBitmap(int width, int height) = 0;
  // Copies `sourceRect` of `source` (made by NewBitmap) onto `destRect` here.
  virtual void CopyRect(const Rect& destRect, Canvas& source, const Rect& sourceRect) = 0;
};

}  // namespace zub
