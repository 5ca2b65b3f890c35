#include "diskview/PieGraf.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "monitor/NumberText.h"

namespace zub {
namespace {

double Radians(double degrees) {
  return degrees * std::numbers::pi / 180.0;
}

int Nearest(double value) {
  return static_cast<int>(RoundHalfEven(value));
}

// Characters, not bytes: a caption in UTF-8 is as long as it reads.
int CharacterCount(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

void TPieGraf::SetMainColor(ColorRef color) {
  if (color != mainColor_) {
    mainColor_ = color;
    DrawOver();
  }
}

void TPieGraf::SetSliceColor(ColorRef color) {
  if (color != sliceColor_) {
    sliceColor_ = color;
    DrawOver();
  }
}

void TPieGraf::SetEdgeColor(ColorRef color) {
  if (color != edgeColor_) {
    edgeColor_ = color;
    DrawOver();
  }
}

void TPieGraf::SetShowText(bool show) {
  // Turning the texts off draws the pie over the old image: whatever part of
  // the texts lay outside the disc stays until the next full repaint.
  if (show != showText_) {
    showText_ = show;
    DrawOver();
  }
}

void TPieGraf::SetPercent(int percent) {
  const auto value = static_cast<std::uint8_t>(std::clamp(percent, 0, 100));
  if (value != percent_) {
    percent_ = value;
    DrawOver();
  }
}

void TPieGraf::SetCaption(const std::string& caption) {
  caption_ = caption;
  Repaint();
}

void TPieGraf::SetFont(const Font& font) {
  font_ = font;
  Repaint();
}

void TPieGraf::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void TPieGraf::DrawOver() {
  if (surface_ != nullptr) {
    surface_->DrawOver([this](Canvas& canvas) { DrawPie(canvas); });
  }
}

void TPieGraf::Repaint() {
  if (surface_ != nullptr) {
    surface_->Repaint();
  }
}

void TPieGraf::DrawPie(Canvas& canvas) const {
  const ColorRef savedBrush = canvas.BrushColor();
  const int right = width_;
  const int bottom = height_;
  const int x1 = 4;
  const int y1 = 4;
  const int x2 = right - 4;
  const int y2 = bottom - 4;

  const int cx = right / 2;
  const double reach = right - 4;  // far enough that the points only give directions
  const double angle = percent_ * 0.01 * 360 + 270;

  // Both points take their height from the width too: every pie is square.
  const int topX = cx - 1;
  const int topY = cx + Nearest(std::sin(Radians(270)) * reach);
  const int sliceX = cx - 1 + Nearest(std::cos(Radians(angle)) * reach);
  const int sliceY = cx - 1 + Nearest(std::sin(Radians(angle)) * reach);

  // GDI's Pie runs counter-clockwise on screen, so from the slice point back
  // to twelve o'clock is the wedge clockwise from twelve over Percent.
  const ColorRef savedPen = canvas.PenColor();
  canvas.SetBrushColor(mainColor_);
  canvas.SetPenColor(edgeColor_);
  if (percent_ == 100) {
    canvas.Ellipse(x1, y1, x2, y2);
  } else {
    canvas.Pie(x1, y1, x2, y2, sliceX, sliceY, topX, topY);
  }

  canvas.SetBrushColor(sliceColor_);
  if (percent_ == 0) {
    // Also covers the hairline wedge drawn between two equal directions.
    canvas.Ellipse(x1, y1, x2, y2);
  } else if (percent_ != 100) {
    canvas.Pie(x1, y1, x2, y2, topX, topY, sliceX, sliceY);
  }

  if (percent_ != 0) {
    canvas.SetBrushColor(mainColor_);
  }

  if (showText_) {
    const int mx = (right - 4) / 2;
    const int my = (bottom - 4) / 2;
    canvas.SetFont(font_);
    const int w = canvas.TextWidth("AA");
    canvas.TextOut(mx - w / 2, my + my / 2, std::to_string(percent_) + "%");
    const int n = CharacterCount(caption_);
    canvas.TextOut(mx - (n + n / 2 + 3), my - 1, caption_);
  }

  canvas.SetBrushColor(savedBrush);
  canvas.SetPenColor(savedPen);
}

}  // namespace zub
