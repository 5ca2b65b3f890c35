#include "diskview/Shape1.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/QtCanvas.h"

namespace zub {

TShape1::TShape1(QWidget* parent) : QWidget(parent) {
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
}

void TShape1::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
  }
  QWidget::mousePressEvent(event);
}

void TShape1::mouseReleaseEvent(QMouseEvent* event) {
  // A press dragged off the swatch before release is no click.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) {
    pressed_ = false;
  }
  QWidget::mouseReleaseEvent(event);
  if (click) {
    emit clicked();
  }
}

}  // namespace zub
