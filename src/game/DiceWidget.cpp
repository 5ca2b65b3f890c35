#include "game/DiceWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "ui/QtCanvas.h"

namespace zub {

DiceWidget::DiceWidget(QWidget* parent) : ClickableWidget(parent) {
  resize(dice_.Width(), dice_.Height());
  // A hidden die has nothing to paint; it is drawn when it is shown.
  dice_.SetPaintNow([this] {
    if (isVisible()) {
      repaint();
    }
  });
}

void DiceWidget::paintEvent(QPaintEvent*) {
  {
    QPainter painter(this);
    QtCanvas canvas(painter);
    dice_.Paint(canvas);
    PaintFocus(painter);
  }
  // A new scale first paints within the old bounds; the resize then brings
  // one more paint at the full size.
  if (dice_.FitToScale()) {
    resize(dice_.Width(), dice_.Height());
  }
}

void DiceWidget::resizeEvent(QResizeEvent* event) {
  dice_.SetBounds(event->size().width(), event->size().height());
  QWidget::resizeEvent(event);
}

// The second press of a double click is a double click, not another click.
void DiceWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  CancelClick();
  QWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) {
    emit doubleClicked();
  }
}

}  // namespace zub
