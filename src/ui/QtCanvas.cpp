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

namespace {

qreal PixelRatioOf(const QPainter& painter) {
  const QPaintDevice* device = painter.device();
  return device != nullptr ? device->devicePixelRatioF() : 1.0;
}

std::unique_ptr<QImage> NewImage(int width, int height, qreal pixelRatio) {
  auto image = std::make_unique<QImage>(QSize(std::max(width, 1), std::max(height, 1)) * pixelRatio,
                                        QImage::Format_RGB32);
  image->setDevicePixelRatio(pixelRatio);
  image->fill(Qt::white);
  return image;
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : painter_(&painter), pixelRatio_(PixelRatioOf(painter)) {}

QtCanvas::QtCanvas(int width, int height, qreal pixelRatio)
    : image_(NewImage(width, height, pixelRatio)),
      ownPainter_(std::make_unique<QPainter>(image_.get())),
      painter_(ownPainter_.get()),
      pixelRatio_(pixelRatio) {}

QtCanvas::~QtCanvas() {
  if (ownPainter_) {
    ownPainter_->end();
  }
}

// One pixel wide at any screen scale: at one device pixel per pixel the
// classic cosmetic pen; on a denser screen a pen one logical pixel wide, so
// outlines keep their weight instead of thinning to a hairline.
void QtCanvas::Prepare() {
  painter_->setRenderHint(QPainter::Antialiasing, false);
  QPen pen(ToQColor(pen_));
  if (pixelRatio_ > 1.0) {
    pen.setWidthF(1.0);
    pen.setJoinStyle(Qt::MiterJoin);
  } else {
    pen.setWidth(0);
  }
  painter_->setPen(pen);
  painter_->setBrush(ToQColor(brush_));
}

// GDI figures cover x1 .. x2 - 1. A one-pixel cosmetic outline along x covers
// pixel x; a pen one logical pixel wide covers half a pixel either side of its
// line, so its line runs through the middle of the edge pixels.
QRectF QtCanvas::OutlineBox(int x1, int y1, int x2, int y2) const {
  const qreal inset = pixelRatio_ > 1.0 ? 0.5 : 0.0;
  return {x1 + inset, y1 + inset, x2 - x1 - 1.0, y2 - y1 - 1.0};
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Prepare();
  painter_->drawRect(OutlineBox(x1, y1, x2, y2));
}

void QtCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  Prepare();
  painter_->drawRoundedRect(OutlineBox(x1, y1, x2, y2), cornerWidth / 2.0, cornerHeight / 2.0,
                            Qt::AbsoluteSize);
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Prepare();
  painter_->drawEllipse(OutlineBox(x1, y1, x2, y2));
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
  painter_->drawPie(OutlineBox(x1, y1, x2, y2), static_cast<int>(std::lround(start * 16)),
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

// The bitmap has this surface's device pixels, so copying it back is a plain
// copy and its figures and texts are as sharp as those drawn here directly.
std::unique_ptr<Canvas> QtCanvas::NewBitmap(int width, int height) {
  return std::make_unique<QtCanvas>(width, height, pixelRatio_);
}

void QtCanvas::CopyRect(const Rect& destRect, Canvas& source, const Rect& sourceRect) {
  auto* bitmap = dynamic_cast<QtCanvas*>(&source);
  if (bitmap == nullptr || bitmap->image_ == nullptr) {
    return;
  }
  // The source is given in the bitmap's own pixels, the destination in this surface's.
  const qreal ratio = bitmap->pixelRatio_;
  painter_->drawImage(QRectF(destRect.left, destRect.top, destRect.Width(), destRect.Height()),
                      *bitmap->image_,
                      QRectF(sourceRect.left * ratio, sourceRect.top * ratio,
                             sourceRect.Width() * ratio, sourceRect.Height() * ratio));
}

}  // namespace zub
