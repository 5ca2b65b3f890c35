#include "ui/ClickLabel.h"

#include <QMouseEvent>

namespace zub {

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    onClick_();
  }
}

}  // namespace zub
