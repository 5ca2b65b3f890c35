#include "ui/QtCanvas.h"

#include <QFontMetrics>
#include <QString>
#include <QStringList>
#include <cmath>
#include <numbers>

#include "ui/FontFaces.h"

namespace zub {

QColor ToQColor(ColorRef color) {
  return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

ColorRef FromQColor(const QColor& color) {
  return MakeColorRef(color.red(), color.green(), color.blue());
}

QFont ToQFont(const Font& font) {
  QStringList families;
  for (const std::string& face : FaceCandidates(font.name)) {
    families << QString::fromStdString(face);
  }
  QFont f(families);
  f.setPixelSize(font.PixelHeight());
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeOut);
  return f;
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(&painter) {}

QtCanvas::QtCanvas(int width, int height)
    : image_(
          std::make_unique<QImage>(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32)),
      ownPainter_(std::make_unique<QPainter>(image_.get())),
      painter_(ownPainter_.get()) {
  image_->fill(Qt::white);
}

QtCanvas::~QtCanvas() {
  if (ownPainter_) {
    ownPainter_->end();
  }
}

void QtCanvas::Prepare() {
  painter_->setRenderHint(QPainter::Antialiasing, false);
  QPen pen(ToQColor(pen_));
  pen.setWidth(0);  // cosmetic: one pixel
  painter_->setPen(pen);
  painter_->setBrush(ToQColor(brush_));
}

// GDI figures cover x1 .. x2 - 1; a Qt outline of width w covers x .. x + w.
void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Prepare();
  painter_->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void QtCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  Prepare();
  painter_->drawRoundedRect(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1), cornerWidth / 2.0,
                            cornerHeight / 2.0, Qt::AbsoluteSize);
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Prepare();
  painter_->drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void QtCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Prepare();
  const double cx = (x1 + x2) / 2.0;
  const double cy = (y1 + y2) / 2.0;
  // Screen y grows downward, so the mathematical angle uses cy - y.
  auto angleOf = [&](int x, int y) {
    return std::atan2(cy - y, x - cx) * 180.0 / std::numbers::pi;
  };
  const double start = angleOf(x3, y3);
  double span = angleOf(x4, y4) - start;
  while (span <= 0.0) {
    span += 360.0;  // counter-clockwise; equal radials give the whole ellipse
  }
  painter_->drawPie(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1),
                    static_cast<int>(std::lround(start * 16)),
                    static_cast<int>(std::lround(span * 16)));
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  const QString s = QString::fromStdString(text);
  const QFont f = ToQFont(font_);
  const QFontMetrics metrics(f);
  painter_->fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()), ToQColor(brush_));
  painter_->setFont(f);
  painter_->setPen(ToQColor(font_.color));
  painter_->drawText(x, y + metrics.ascent(), s);
}

int QtCanvas::TextWidth(const std::string& text) {
  return QFontMetrics(ToQFont(font_)).horizontalAdvance(QString::fromStdString(text));
}

int QtCanvas::TextHeight(const std::string&) {
  return QFontMetrics(ToQFont(font_)).height();
}

std::unique_ptr<Canvas> QtCanvas::NewBitmap(int width, int height) {
  return std::make_unique<QtCanvas>(width, height);
}

void QtCanvas::CopyRect(const Rect& destRect, Canvas& source, const Rect& sourceRect) {
  auto* bitmap = dynamic_cast<QtCanvas*>(&source);
  if (bitmap == nullptr || bitmap->image_ == nullptr) {
    return;
  }
  painter_->drawImage(
      QRect(destRect.left, destRect.top, destRect.Width(), destRect.Height()), *bitmap->image_,
      QRect(sourceRect.left, sourceRect.top, sourceRect.Width(), sourceRect.Height()));
}

}  // namespace zub
