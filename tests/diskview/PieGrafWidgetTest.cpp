#include "diskview/PieGrafWidget.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <numbers>

#include "ui/QtCanvas.h"

namespace zub {
namespace {

constexpr ColorRef kFree = 0x008000;
constexpr ColorRef kUsed = 0x0000FF;

// The pie drawn through the Qt canvas onto an image of its own.
QImage Render(int percent, int size) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::gray);
  TPieGraf graf;
  graf.SetSize(size, size);
  graf.SetShowText(false);
  graf.SetMainColor(kFree);
  graf.SetSliceColor(kUsed);
  graf.SetPercent(percent);
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    graf.DrawPie(canvas);
  }
  return image;
}

ColorRef At(const QImage& image, int x, int y) {
  return FromQColor(image.pixelColor(x, y));
}

// Walks round the disc clockwise from twelve o'clock: everything before
// Percent x 3.6 degrees is the free colour, everything after the used colour,
// so a mirrored or rotated wedge fails.
TEST(PieGrafRender, WedgeRunsClockwiseFromTwelve) {
  const int size = 120;
  const double centre = size / 2.0;
  const double radius = (size - 8) / 2.0 * 0.6;
  for (int percent : {12, 25, 50, 87}) {
    SCOPED_TRACE(std::to_string(percent) + "%");
    const QImage image = Render(percent, size);
    const double edge = percent * 3.6;
    for (double clockwise = 2.5; clockwise < 360; clockwise += 5) {
      if (std::abs(clockwise - edge) < 4 || clockwise < 4 || clockwise > 356) {
        continue;  // too near a radial to say
      }
      const double rad = clockwise * std::numbers::pi / 180.0;
      const int x = static_cast<int>(std::lround(centre + radius * std::sin(rad)));
      const int y = static_cast<int>(std::lround(centre - radius * std::cos(rad)));
      SCOPED_TRACE(std::to_string(clockwise) + " degrees");
      EXPECT_EQ(At(image, x, y), clockwise < edge ? kFree : kUsed);
    }
  }
}

TEST(PieGrafRender, EmptyAndFullDiscsAreOneColourInsideAnEdge) {
  const QImage empty = Render(0, 60);
  const QImage full = Render(100, 60);
  for (const QPoint p :
       {QPoint(30, 10), QPoint(30, 30), QPoint(12, 30), QPoint(48, 30), QPoint(30, 50)}) {
    EXPECT_EQ(At(empty, p.x(), p.y()), kUsed);
    EXPECT_EQ(At(full, p.x(), p.y()), kFree);
  }
  // The outline is on the box's top row; the corner stays untouched.
  EXPECT_EQ(At(full, 29, 4), kBlack);
  EXPECT_EQ(At(full, 5, 5), FromQColor(QColor(Qt::gray)));
  EXPECT_EQ(At(full, 56, 30), FromQColor(QColor(Qt::gray)));  // right edge exclusive
}

class PieGrafWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget.setGeometry(0, 0, 60, 60);
    widget.Graf().SetPercent(50);
  }

  ColorRef Face() const { return FromQColor(widget.palette().color(QPalette::Button)); }

  PieGrafWidget widget;
};

TEST_F(PieGrafWidgetTest, FullRepaintIsPanelFaceBevelThenPie) {
  widget.Graf().SetCaption("Drive C");
  const QImage& image = widget.Surface();
  ASSERT_EQ(image.size(), QSize(60, 60));
  EXPECT_EQ(widget.Graf().Width(), 60);
  EXPECT_EQ(At(image, 2, 2), Face());
  EXPECT_EQ(At(image, 0, 30), FromQColor(widget.palette().color(QPalette::Light)));
  EXPECT_EQ(At(image, 59, 30), FromQColor(widget.palette().color(QPalette::Dark)));
  EXPECT_EQ(At(image, 45, 20), kGreen);  // upper right quarter: free
  EXPECT_EQ(At(image, 15, 20), kRed);
  // What is on screen is the kept image.
  const QImage shown = widget.grab().toImage();
  EXPECT_EQ(At(shown, 45, 20), kGreen);
  EXPECT_EQ(At(shown, 2, 2), Face());
}

TEST_F(PieGrafWidgetTest, SetterDrawsOverTheKeptImage) {
  widget.Graf().SetCaption("Drive C");
  widget.Graf().SetMainColor(kBlue);
  EXPECT_EQ(At(widget.Surface(), 45, 20), kBlue);
  widget.Graf().SetPercent(100);
  EXPECT_EQ(At(widget.Surface(), 15, 20), kBlue);
}

// A caption wider than the disc leaves its opaque background beside the
// disc; turning the texts off draws over the old image and keeps it there
// until the next full repaint.
TEST_F(PieGrafWidgetTest, TextOffKeepsOldTextOutsideTheDiscUntilRepaint) {
  widget.Graf().SetCaption("WWWWWWWWWWWWWW");
  // Below the baseline: W has no descender, so only the text's background is there.
  const int descent = 27 + QFontMetrics(ToQFont(widget.Graf().GetFont())).ascent() + 1;
  const QPoint beside(57, descent);
  ASSERT_EQ(At(widget.Surface(), beside.x(), beside.y()), kGreen);
  widget.Graf().SetShowText(false);
  EXPECT_EQ(At(widget.Surface(), beside.x(), beside.y()), kGreen);
  widget.Graf().SetCaption("WWWWWWWWWWWWWW");
  EXPECT_EQ(At(widget.Surface(), beside.x(), beside.y()), Face());
}

}  // namespace
}  // namespace zub
