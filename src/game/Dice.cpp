#include "game/Dice.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

namespace zub {
namespace {

// A pip's box in units of the scale factor.
struct PipBox {
  int x1, y1, x2, y2;
};

constexpr PipBox kCentre{6, 6, 9, 9};
constexpr PipBox kTopLeft{2, 2, 5, 5};
constexpr PipBox kBottomRight{10, 10, 13, 13};
constexpr PipBox kBottomLeft{2, 10, 5, 13};
constexpr PipBox kTopRight{10, 2, 13, 5};
constexpr PipBox kMiddleLeft{2, 6, 5, 9};
constexpr PipBox kMiddleRight{10, 6, 13, 9};

struct Face {
  std::size_t count;
  std::array<PipBox, 6> pips;
};

// Pips of each value in drawing order.
constexpr std::array<Face, 7> kFaces{{
    {0, {}},
    {1, {kCentre}},
    {2, {kTopLeft, kBottomRight}},
    {3, {kCentre, kTopLeft, kBottomRight}},
    {4, {kTopLeft, kBottomRight, kBottomLeft, kTopRight}},
    {5, {kTopLeft, kBottomRight, kBottomLeft, kTopRight, kCentre}},
    {6, {kTopLeft, kBottomRight, kBottomLeft, kTopRight, kMiddleLeft, kMiddleRight}},
}};

}  // namespace

void TDice::SetValue(int value) {
  value_ = std::clamp(value, 0, 6);
  PaintNow();
}

void TDice::SetDiceSize(int size) {
  diceSize_ = std::clamp(size, 1, 6);
  PaintNow();
}

void TDice::SetBackColor(ColorRef color) {
  backColor_ = color;
  PaintNow();
}

void TDice::SetDiceColor(ColorRef color) {
  diceColor_ = color;
  PaintNow();
}

void TDice::SetBounds(int width, int height) {
  width_ = width;
  height_ = height;
}

void TDice::PaintNow() const {
  if (paintNow_) {
    paintNow_();
  }
}

void TDice::Paint(Canvas& surface) const {
  const int s = diceSize_;
  const int side = kUnit * s;
  // Drawn off screen and copied in one go, so the face never flickers
  // through its background.
  const std::unique_ptr<Canvas> bitmap = surface.NewBitmap(side, side);

  bitmap->SetBrushColor(backColor_);
  bitmap->SetPenColor(backColor_);
  bitmap->Rectangle(0, 0, width_, height_);

  bitmap->SetPenColor(kBlack);
  bitmap->SetBrushColor(diceColor_);
  bitmap->RoundRect(0, 0, width_, height_, 3 * s, 3 * s);

  bitmap->SetBrushColor(kBlack);
  const Face& face = kFaces[static_cast<std::size_t>(value_)];
  for (std::size_t i = 0; i < face.count; ++i) {
    const PipBox& pip = face.pips[i];
    bitmap->Ellipse(pip.x1 * s, pip.y1 * s, pip.x2 * s, pip.y2 * s);
  }

  const Rect whole{0, 0, side, side};
  surface.CopyRect(whole, *bitmap, whole);
}

bool TDice::FitToScale() {
  const int side = kUnit * diceSize_;
  const bool changed = width_ != side || height_ != side;
  width_ = side;
  height_ = side;
  return changed;
}

}  // namespace zub
