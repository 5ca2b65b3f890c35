#include "ui/Activation.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>

#include "support/Activate.h"

namespace zub {
namespace {

bool Activate(QWidget& w) {
  test_support::RequestActivation(w);
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

  // Hidden and shown again, it is activated anew.
  main.hide();
  main.show();
  ASSERT_TRUE(Activate(main));
  EXPECT_EQ(mainActivations, 3);
}

}  // namespace
}  // namespace zub
