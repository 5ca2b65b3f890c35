// The die control on screen: draws its face through QtCanvas, keeps itself
// 15 × s pixels square and reports clicks.
#pragma once

#include "ui/ClickableWidget.h"

#include "game/Dice.h"

namespace zub {

class DiceWidget : public ClickableWidget {
  Q_OBJECT

 public:
  explicit DiceWidget(QWidget* parent = nullptr);

  const TDice& Dice() const { return dice_; }
  int Value() const { return dice_.Value(); }
  void SetValue(int value) { dice_.SetValue(value); }
  int DiceSize() const { return dice_.DiceSize(); }
  void SetDiceSize(int size) { dice_.SetDiceSize(size); }
  ColorRef BackColor() const { return dice_.BackColor(); }
  void SetBackColor(ColorRef color) { dice_.SetBackColor(color); }
  ColorRef DiceColor() const { return dice_.DiceColor(); }
  void SetDiceColor(ColorRef color) { dice_.SetDiceColor(color); }

 signals:
  void doubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TDice dice_;
};

}  // namespace zub
