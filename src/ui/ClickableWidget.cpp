#include "ui/ClickableWidget.h"

#include <QMouseEvent>

namespace zub {

void ClickableWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
  }
  QWidget::mousePressEvent(event);
}

void ClickableWidget::mouseReleaseEvent(QMouseEvent* event) {
  // A press dragged off the widget before release is no click.
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
