#include "ui/Activation.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>

namespace zub {
namespace {

bool Activate(QWidget& w) {
  w.activateWindow();
  QDeadlineTimer deadline(5000);
  while (QApplication::activeWindow() != &w && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return QApplication::activeWindow() == &w;
}

TEST(ActivationTest, RunsWhenTheProgramSwitchesBetweenItsOwnWindowsOnly) {
  QWidget main;
  QWidget other;
  int mainActivations = 0;
  int otherActivations = 0;
  WatchActivation(&main, [&] { ++mainActivations; });
  WatchActivation(&other, [&] { ++otherActivations; });

  main.show();
  ASSERT_TRUE(Activate(main));
  EXPECT_EQ(mainActivations, 1);

  other.show();
  ASSERT_TRUE(Activate(other));
  EXPECT_EQ(otherActivations, 1);
  ASSERT_TRUE(Activate(main));
  EXPECT_EQ(mainActivations, 2);

  // A window that is not watched (a message box, say) coming and going does
  // not count as leaving the main window.
  QWidget box;
  box.show();
  ASSERT_TRUE(Activate(box));
  box.hide();
  ASSERT_TRUE(Activate(main));
  EXPECT_EQ(mainActivations, 2);

  // Hidden and shown again, it is activated anew. (While it is hidden a
  // desktop gives the focus to another window; the offscreen platform would
  // keep it on the hidden one, and never activate it again.)
  main.hide();
  box.show();
  ASSERT_TRUE(Activate(box));
  main.show();
  ASSERT_TRUE(Activate(main));
  EXPECT_EQ(mainActivations, 3);
}

}  // namespace
}  // namespace zub
