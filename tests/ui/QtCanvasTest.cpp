// The canvas on a denser screen: figures cover the same logical pixels as at
// one device pixel per pixel, and off-screen bitmaps are as dense as the
// surface they are copied to.
#include "ui/QtCanvas.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

namespace zub {
namespace {

QImage Blank(int logical, qreal ratio) {
  QImage image(QSize(logical, logical) * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::gray);
  return image;
}

ColorRef At(const QImage& image, int x, int y) {
  return FromQColor(image.pixelColor(x, y));
}

// A die's face, pip and corner, drawn as the die draws them.
void DrawFace(Canvas& canvas) {
  canvas.SetPenColor(kSilver);
  canvas.SetBrushColor(kSilver);
  canvas.Rectangle(0, 0, 30, 30);
  canvas.SetPenColor(kBlack);
  canvas.SetBrushColor(kWhite);
  canvas.RoundRect(0, 0, 30, 30, 6, 6);
  canvas.SetBrushColor(kBlack);
  canvas.Ellipse(12, 12, 18, 18);
}

TEST(QtCanvasTest, AnOutlineCoversTheBoxEdgePixelsAtEveryRatio) {
  for (const qreal ratio : {1.0, 2.0}) {
    SCOPED_TRACE(ratio);
    QImage image = Blank(12, ratio);
    {
      QPainter painter(&image);
      QtCanvas canvas(painter);
      canvas.SetPenColor(kBlack);
      canvas.SetBrushColor(kRed);
      canvas.Rectangle(2, 2, 10, 10);
    }
    const int r = static_cast<int>(ratio);
    // Every device pixel of the logical pixels 2 and 9 is outline, 1 and 10
    // are untouched, 3 to 8 are the fill: no hairline, no half-pixel shift.
    for (int d = 0; d < r; ++d) {
      EXPECT_EQ(At(image, 2 * r + d, 5 * r), kBlack);
      EXPECT_EQ(At(image, 9 * r + d, 5 * r), kBlack);
      EXPECT_EQ(At(image, 5 * r, 2 * r + d), kBlack);
      EXPECT_EQ(At(image, 5 * r, 9 * r + d), kBlack);
      EXPECT_EQ(At(image, 3 * r + d, 5 * r), kRed);
      EXPECT_EQ(At(image, 8 * r + d, 5 * r), kRed);
      EXPECT_EQ(At(image, 1 * r + d, 5 * r), FromQColor(Qt::gray));
      EXPECT_EQ(At(image, 10 * r + d, 5 * r), FromQColor(Qt::gray));
    }
    EXPECT_EQ(At(image, 2 * r, 2 * r), kBlack) << "corner";
  }
}

// A bitmap drawn off screen and copied back looks exactly as the same figure
// drawn on the surface itself: it is not a smaller image stretched up.
TEST(QtCanvasTest, ABitmapHasTheDevicePixelsOfItsSurface) {
  for (const qreal ratio : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(ratio);
    QImage direct = Blank(30, ratio);
    {
      QPainter painter(&direct);
      QtCanvas canvas(painter);
      DrawFace(canvas);
    }
    QImage copied = Blank(30, ratio);
    {
      QPainter painter(&copied);
      QtCanvas canvas(painter);
      const std::unique_ptr<Canvas> bitmap = canvas.NewBitmap(30, 30);
      DrawFace(*bitmap);
      const auto* image = dynamic_cast<QtCanvas&>(*bitmap).Image();
      ASSERT_NE(image, nullptr);
      EXPECT_EQ(image->devicePixelRatio(), ratio);
      canvas.CopyRect({0, 0, 30, 30}, *bitmap, {0, 0, 30, 30});
    }
    EXPECT_EQ(copied, direct);
  }
}

}  // namespace
}  // namespace zub
