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

// The image has the device pixels of the screen the control is on, so the
// pie is drawn as sharp as the text around it, not stretched from a smaller one.
bool PieGrafWidget::FitImage() {
  graf_.SetSize(width(), height());
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = size() * ratio;
  if (image_.size() == pixels && image_.devicePixelRatio() == ratio) {
    return false;
  }
  image_ = QImage(pixels, QImage::Format_RGB32);
  image_.setDevicePixelRatio(ratio);
  return true;
}

void PieGrafWidget::PaintAll() {
  if (image_.isNull()) {
    return;
  }
  QPainter painter(&image_);
  // The panel's own painting: its face in the button colour inside a raised
  // one-pixel bevel, highlight on the top and left, shadow on the bottom and right.
  const int w = width();
  const int h = height();
  const QPalette& pal = palette();
  painter.fillRect(0, 0, w, h, pal.color(QPalette::Button));
  painter.fillRect(0, 0, 1, h, pal.color(QPalette::Light));
  painter.fillRect(0, 0, w - 1, 1, pal.color(QPalette::Light));
  painter.fillRect(w - 1, 0, 1, h, pal.color(QPalette::Dark));
  painter.fillRect(0, h - 1, w, 1, pal.color(QPalette::Dark));

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
