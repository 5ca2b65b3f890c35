// The small colour swatch beside a legend label: a filled, outlined rectangle
// that reports clicks.
#pragma once

#include "ui/ClickableWidget.h"

#include "ui/Color.h"

class QPaintEvent;

namespace zub {

class TShape1 : public ClickableWidget {
  Q_OBJECT

 public:
  explicit TShape1(QWidget* parent = nullptr);

  // Repaints when the colour changes.
  void SetBrushColor(ColorRef color);
  ColorRef BrushColor() const { return brushColor_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ColorRef brushColor_ = kWhite;
};

}  // namespace zub
