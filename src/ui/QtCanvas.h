// The drawing interface over QPainter, with the classic GDI geometry.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <memory>

#include "ui/Canvas.h"

namespace zub {

QColor ToQColor(ColorRef color);
ColorRef FromQColor(const QColor& color);
// The face is asked for through the substitutes of FaceCandidates, so every
// window that makes its fonts here gets faces with the widths it was laid out for.
QFont ToQFont(const Font& font);

class QtCanvas : public Canvas {
 public:
  // Draws with `painter`, which must outlive the canvas.
  explicit QtCanvas(QPainter& painter);
  // Draws on an image of its own (an off-screen bitmap) of `width` x `height`
  // pixels at `pixelRatio` device pixels per pixel.
  QtCanvas(int width, int height, qreal pixelRatio = 1.0);
  ~QtCanvas() override;

  void SetPenColor(ColorRef color) override { pen_ = color; }
  ColorRef PenColor() const override { return pen_; }
  void SetBrushColor(ColorRef color) override { brush_ = color; }
  ColorRef BrushColor() const override { return brush_; }
  void SetFont(const Font& font) override { font_ = font; }
  Font CurrentFont() const override { return font_; }

  void Rectangle(int x1, int y1, int x2, int y2) override;
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;

  std::unique_ptr<Canvas> NewBitmap(int width, int height) override;
  void CopyRect(const Rect& destRect, Canvas& source, const Rect& sourceRect) override;

  // The image of a canvas made with a size; null for a painter canvas.
  const QImage* Image() const { return image_.get(); }

 private:
  void Prepare();
  // The box an outline is drawn along so that it covers the box's outer
  // pixels: right and bottom edges exclusive, as GDI draws them.
  QRectF OutlineBox(int x1, int y1, int x2, int y2) const;

  std::unique_ptr<QImage> image_;
  std::unique_ptr<QPainter> ownPainter_;
  QPainter* painter_;
  qreal pixelRatio_ = 1.0;
  ColorRef pen_ = kBlack;
  ColorRef brush_ = kWhite;
  Font font_;
};

}  // namespace zub
