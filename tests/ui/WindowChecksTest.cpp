// The window checks find what they are for, and only that.
#include "support/WindowChecks.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zub::test_support {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(WindowChecksTest, FindsControlsPastTheInsideAndCutTexts) {
  QWidget window;
  window.resize(200, 100);
  auto* fits = new QLabel("12 Mb", &window);
  fits->setObjectName("fits");
  fits->setGeometry(0, 0, 100, 30);
  auto* past = new QLabel(&window);
  past->setObjectName("past");
  past->setGeometry(150, 60, 60, 20);
  auto* narrow = new QLabel("1234567890 1234567890", &window);
  narrow->setObjectName("narrow");
  narrow->setGeometry(0, 40, 30, 20);
  auto* button = new QPushButton("&Begin a very long search", &window);
  button->setObjectName("button");
  button->setGeometry(100, 0, 40, 25);
  auto* hidden = new QLabel("never shown, never judged", &window);
  hidden->setGeometry(190, 90, 5, 5);
  hidden->hide();

  EXPECT_THAT(ControlsOutside(window), ElementsAre("past 150,60 60x20"));
  EXPECT_THAT(CutTexts(window), ElementsAre("narrow 0,40 30x20", "button 100,0 40x25"));

  past->move(130, 60);
  narrow->setWordWrap(true);
  narrow->resize(100, 60);
  button->resize(190, 25);
  button->move(0, 70);
  EXPECT_THAT(ControlsOutside(window), IsEmpty());
  EXPECT_THAT(CutTexts(window), IsEmpty());
}

TEST(WindowChecksTest, ScrolledContentIsTheScrollAreasOwn) {
  QWidget window;
  window.resize(200, 100);
  auto* table = new QTableView(&window);
  table->setGeometry(0, 0, 200, 100);
  auto* inner = new QLabel("scrolled", table->viewport());
  inner->setGeometry(0, 500, 400, 20);
  EXPECT_THAT(ControlsOutside(window), IsEmpty());
  table->resize(206, 100);
  EXPECT_EQ(ControlsOutside(window).size(), 1U);
}

}  // namespace
}  // namespace zub::test_support
