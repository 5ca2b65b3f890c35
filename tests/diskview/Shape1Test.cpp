#include "diskview/Shape1.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "ui/QtCanvas.h"

namespace zub {
namespace {

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button) {
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
  QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held,
                    Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

class Shape1 : public ::testing::Test {
 protected:
  void SetUp() override {
    shape.resize(17, 17);
    QObject::connect(&shape, &TShape1::clicked, [this] { ++clicks; });
  }

  TShape1 shape;
  int clicks = 0;
};

TEST_F(Shape1, PressAndReleaseOverItIsAClick) {
  SendMouse(shape, QEvent::MouseButtonPress, {8, 8}, Qt::LeftButton);
  EXPECT_EQ(clicks, 0);
  SendMouse(shape, QEvent::MouseButtonRelease, {9, 9}, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Shape1, ReleaseOffTheSwatchOrWithoutPressIsNoClick) {
  SendMouse(shape, QEvent::MouseButtonPress, {8, 8}, Qt::LeftButton);
  SendMouse(shape, QEvent::MouseButtonRelease, {40, 8}, Qt::LeftButton);
  SendMouse(shape, QEvent::MouseButtonRelease, {8, 8}, Qt::LeftButton);
  SendMouse(shape, QEvent::MouseButtonPress, {8, 8}, Qt::RightButton);
  SendMouse(shape, QEvent::MouseButtonRelease, {8, 8}, Qt::RightButton);
  EXPECT_EQ(clicks, 0);
}

TEST_F(Shape1, DrawsItsFillInsideABlackOutline) {
  EXPECT_EQ(shape.BrushColor(), kWhite);
  shape.SetBrushColor(kPurple);
  EXPECT_EQ(shape.BrushColor(), kPurple);
  const QImage image = shape.grab().toImage();
  EXPECT_EQ(FromQColor(image.pixelColor(8, 8)), kPurple);
  EXPECT_EQ(FromQColor(image.pixelColor(1, 1)), kPurple);
  EXPECT_EQ(FromQColor(image.pixelColor(0, 0)), kBlack);
  EXPECT_EQ(FromQColor(image.pixelColor(16, 16)), kBlack);
  EXPECT_EQ(FromQColor(image.pixelColor(16, 8)), kBlack);
  EXPECT_EQ(FromQColor(image.pixelColor(15, 15)), kPurple);
}

}  // namespace
}  // namespace zub
