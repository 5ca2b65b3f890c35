// The small colour swatch beside a legend label: a filled, outlined rectangle
// that reports clicks.
#pragma once

#include <QWidget>

#include "ui/Color.h"

class QMouseEvent;
class QPaintEvent;

namespace zub {

class TShape1 : public QWidget {
  Q_OBJECT

 public:
  explicit TShape1(QWidget* parent = nullptr);

  // Repaints when the colour changes.
  void SetBrushColor(ColorRef color);
  ColorRef BrushColor() const { return brushColor_; }

 signals:
  // Left button pressed and released over the swatch.
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ColorRef brushColor_ = kWhite;
  bool pressed_ = false;
};

}  // namespace zub
