#include "monitor/PieChartView.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "fakes/RecordingCanvas.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

ColorRef PixelAt(const QImage& image, int x, int y) {
  return FromQColor(image.pixelColor(x, y));
}

// A point on the disc of a 100 x 100 chart, `degrees` clockwise from twelve o'clock.
QPoint OnDisc(double degrees, double radius = 30) {
  const double a = degrees * 3.14159265358979 / 180;
  return {static_cast<int>(50 + radius * std::sin(a)), static_cast<int>(50 - radius * std::cos(a))};
}

TEST(PieChartViewTest, FreeSliceIsDrawnClockwiseFromTwelveOClock) {
  PieChartView chart;
  chart.resize(100, 100);
  chart.AddSlice(25, "Free", kRed);
  chart.AddSlice(75, "Used", kBlue);

  QtCanvas canvas(100, 100);
  chart.Draw(canvas);
  const QImage& image = *canvas.Image();
  // The first quarter, twelve to three o'clock, is Free.
  for (double degrees : {10.0, 45.0, 80.0}) {
    const QPoint p = OnDisc(degrees);
    EXPECT_EQ(PixelAt(image, p.x(), p.y()), kRed) << degrees;
  }
  // Counter-clockwise from twelve, or from three o'clock, would be Free here.
  for (double degrees : {100.0, 180.0, 270.0, 315.0, 350.0}) {
    const QPoint p = OnDisc(degrees);
    EXPECT_EQ(PixelAt(image, p.x(), p.y()), kBlue) << degrees;
  }
  // The corners lie outside the disc.
  EXPECT_EQ(PixelAt(image, 1, 1), kWhite);
}

TEST(PieChartViewTest, ClearingLeavesAnEmptyChart) {
  PieChartView chart;
  chart.resize(100, 100);
  chart.AddSlice(50, "Free", kRed);
  chart.ClearSlices();
  EXPECT_TRUE(chart.Slices().empty());
  fakes::RecordingCanvas canvas;
  chart.Draw(canvas);
  EXPECT_TRUE(canvas.ops.empty());
}

TEST(PieChartViewTest, TheDiscFollowsTheControlsSize) {
  PieChartView chart;
  chart.resize(200, 150);
  chart.AddSlice(100, "Free", kGreen);
  fakes::RecordingCanvas canvas;
  chart.Draw(canvas);
  ASSERT_EQ(canvas.ops.size(), 1u);
  EXPECT_EQ(canvas.ops[0].args, (std::vector<int>{4, 4, 196, 146}));
}

TEST(PieChartViewTest, AnEmptyFigureIsAnOutlineNotAFullUsedDisc) {
  PieChartView chart;
  chart.resize(100, 100);
  chart.AddSlice(0, "Free", kRed);
  chart.AddSlice(100, "Used", kBlue);
  chart.ShowEmpty();
  EXPECT_TRUE(chart.ShowsEmpty());
  EXPECT_TRUE(chart.Slices().empty());

  QtCanvas canvas(100, 100);
  chart.Draw(canvas);
  const QImage& image = *canvas.Image();
  const ColorRef background = FromQColor(chart.palette().color(QPalette::Window));
  for (double degrees : {0.0, 90.0, 200.0, 300.0}) {
    const QPoint p = OnDisc(degrees);
    EXPECT_EQ(PixelAt(image, p.x(), p.y()), background) << degrees;
  }
  EXPECT_EQ(PixelAt(image, 50, 4), kBlack) << "the disc keeps its outline";
  EXPECT_EQ(PixelAt(image, 4, 50), kBlack);

  // The next measurement with something in it brings the slices back.
  chart.ClearSlices();
  EXPECT_FALSE(chart.ShowsEmpty());
  chart.AddSlice(100, "Free", kRed);
  QtCanvas again(100, 100);
  chart.Draw(again);
  EXPECT_EQ(PixelAt(*again.Image(), 50, 50), kRed);
}

TEST(PieChartViewTest, KeyboardUsersCanClickAndHearTheHint) {
  PieChartView chart;
  chart.resize(100, 100);
  EXPECT_NE(chart.focusPolicy() & Qt::TabFocus, 0);
  QSignalSpy clicks(&chart, &PieChartView::clicked);
  QTest::keyClick(&chart, Qt::Key_Space);
  QTest::keyClick(&chart, Qt::Key_Return);
  EXPECT_EQ(clicks.count(), 2);
  QTest::keyClick(&chart, Qt::Key_A);
  EXPECT_EQ(clicks.count(), 2) << "another key is no click";

  chart.setToolTip("1520 Free Mb / 2047 Mb Total Type is Hard drive");
  EXPECT_EQ(chart.accessibleDescription(), "1520 Free Mb / 2047 Mb Total Type is Hard drive");
}

TEST(PieChartViewTest, ClickIsAPressAndReleaseOverTheChart) {
  PieChartView chart;
  chart.resize(100, 100);
  QSignalSpy clicks(&chart, &PieChartView::clicked);
  QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_EQ(clicks.count(), 1);
  QTest::mouseClick(&chart, Qt::RightButton, {}, QPoint(50, 50));
  QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(50, 50));
  QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(150, 50));
  EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace zub
