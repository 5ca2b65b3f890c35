#include "diskview/PieGrafWidget.h"

#include <QPainter>
#include <QPalette>

#include "ui/QtCanvas.h"

namespace zub {

PieGrafWidget::PieGrafWidget(QWidget* parent) : ClickableWidget(parent) {
  resize(100, 100);
  graf_.AttachSurface(this);
  NameForAccessibility();
}

void PieGrafWidget::NameForAccessibility() {
  QString name = QString::fromStdString(graf_.Caption());
  if (graf_.ShowText()) {
    name += (name.isEmpty() ? "" : " ") + QString::number(graf_.Percent()) + "%";
  }
  if (name != accessibleName()) {
    setAccessibleName(name);
  }
}

bool PieGrafWidget::FitImage() {
  graf_.SetSize(width(), height());
  if (image_.size() == size()) {
    return false;
  }
  image_ = QImage(size(), QImage::Format_RGB32);
  return true;
}

void PieGrafWidget::PaintAll() {
  if (image_.isNull()) {
    return;
  }
  QPainter painter(&image_);
  // The panel's own painting: its face in the button colour inside a raised
  // one-pixel bevel, highlight on the top and left, shadow on the bottom and right.
  const int w = image_.width();
  const int h = image_.height();
  const QPalette& pal = palette();
  painter.fillRect(0, 0, w, h, pal.color(QPalette::Button));
  painter.setPen(pal.color(QPalette::Light));
  painter.drawLine(0, h - 1, 0, 0);
  painter.drawLine(0, 0, w - 2, 0);
  painter.setPen(pal.color(QPalette::Dark));
  painter.drawLine(w - 1, 0, w - 1, h - 1);
  painter.drawLine(w - 1, h - 1, 0, h - 1);

  QtCanvas canvas(painter);
  graf_.DrawPie(canvas);
}

void PieGrafWidget::DrawOver(const std::function<void(Canvas&)>& draw) {
  NameForAccessibility();
  if (FitImage()) {
    PaintAll();
  }
  if (image_.isNull()) {
    return;
  }
  {
    QPainter painter(&image_);
    QtCanvas canvas(painter);
    draw(canvas);
  }
  update();
}

void PieGrafWidget::Repaint() {
  FitImage();
  PaintAll();
  NameForAccessibility();
  update();
}

void PieGrafWidget::paintEvent(QPaintEvent*) {
  if (FitImage()) {
    PaintAll();
  }
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
  PaintFocus(painter);
}

void PieGrafWidget::resizeEvent(QResizeEvent* event) {
  FitImage();
  PaintAll();
  ClickableWidget::resizeEvent(event);
}

// Being shown is a full repaint, as an uncovered window is on the classic desktop.
void PieGrafWidget::showEvent(QShowEvent* event) {
  FitImage();
  PaintAll();
  ClickableWidget::showEvent(event);
}

}  // namespace zub
