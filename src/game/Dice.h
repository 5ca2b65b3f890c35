// The die control's state and drawing: one face of a die, 15 × s pixels square.
#pragma once

#include <functional>
#include <utility>

#include "ui/Canvas.h"
#include "ui/Color.h"

namespace zub {

class TDice {
 public:
  // The die is this many pixels square per unit of DiceSize.
  static constexpr int kUnit = 15;

  int Value() const { return value_; }
  // 0 is a blank face; values outside 0 to 6 are pulled in.
  void SetValue(int value);
  int DiceSize() const { return diceSize_; }
  // The scale factor, 1 to 6.
  void SetDiceSize(int size);
  ColorRef BackColor() const { return backColor_; }
  void SetBackColor(ColorRef color);
  ColorRef DiceColor() const { return diceColor_; }
  void SetDiceColor(ColorRef color);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The bounds the holding window gave the control. The window repaints a
  // resized control itself, so this does not paint.
  void SetBounds(int width, int height);

  // Every setter paints at once through this, also when the value is
  // unchanged; without it the setters only store.
  void SetPaintNow(std::function<void()> paintNow) { paintNow_ = std::move(paintNow); }

  // Draws the face on `surface` through an off-screen bitmap of 15 × s,
  // within the control's current bounds.
  void Paint(Canvas& surface) const;
  // Run after each paint pass: the control takes the size 15 × s. True when
  // that changed its size, so one more paint at the new size is due.
  bool FitToScale();

 private:
  void PaintNow() const;

  int value_ = 1;
  int diceSize_ = 2;
  ColorRef backColor_ = kSilver;
  ColorRef diceColor_ = kWhite;
  int width_ = 2 * kUnit;
  int height_ = 2 * kUnit;
  std::function<void()> paintNow_;
};

}  // namespace zub
