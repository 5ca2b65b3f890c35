#include "diskview/Shape1.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/QtCanvas.h"

namespace zub {

TShape1::TShape1(QWidget* parent) : ClickableWidget(parent) {
  resize(65, 65);
}

void TShape1::SetBrushColor(ColorRef color) {
  if (color == brushColor_) {
    return;
  }
  brushColor_ = color;
  update();
}

void TShape1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter);
  canvas.SetPenColor(kBlack);
  canvas.SetBrushColor(brushColor_);
  canvas.Rectangle(0, 0, width(), height());
  PaintFocus(painter);
}

}  // namespace zub
