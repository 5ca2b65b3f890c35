#include "monitor/PieChartView.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/QtCanvas.h"

namespace zub {

PieChartView::PieChartView(QWidget* parent) : ClickableWidget(parent) {
  resize(100, 100);
}

void PieChartView::ClearSlices() {
  slices_.clear();
  empty_ = false;
  update();
}

void PieChartView::AddSlice(double value, const std::string& label, ColorRef color) {
  slices_.push_back({value, label, color});
  empty_ = false;
  update();
}

void PieChartView::ShowEmpty() {
  slices_.clear();
  empty_ = true;
  update();
}

Rect PieChartView::DiscBox() const {
  return {4, 4, width() - 4, height() - 4};
}

void PieChartView::Draw(Canvas& canvas) const {
  if (empty_) {
    DrawEmptyPie(canvas, DiscBox(), FromQColor(palette().color(QPalette::Window)));
    return;
  }
  DrawPieSlices(canvas, DiscBox(), slices_);
}

void PieChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  {
    QtCanvas canvas(painter);
    Draw(canvas);
  }
  PaintFocus(painter);
}

}  // namespace zub
