#include "monitor/PieChartView.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/QtCanvas.h"

namespace zub {

PieChartView::PieChartView(QWidget* parent) : QWidget(parent) {
  resize(100, 100);
}

void PieChartView::ClearSlices() {
  slices_.clear();
  update();
}

void PieChartView::AddSlice(double value, const std::string& label, ColorRef color) {
  slices_.push_back({value, label, color});
  update();
}

Rect PieChartView::DiscBox() const {
  return {4, 4, width() - 4, height() - 4};
}

void PieChartView::Draw(Canvas& canvas) const {
  DrawPieSlices(canvas, DiscBox(), slices_);
}

void PieChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter);
  Draw(canvas);
}

void PieChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
  }
  QWidget::mousePressEvent(event);
}

void PieChartView::mouseReleaseEvent(QMouseEvent* event) {
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
