#include "ui/MenuKeys.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/ClickableWidget.h"

namespace zub {
namespace {

class PopupWindow : public QMainWindow {
 public:
  int keyboardPopups = 0;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override {
    if (event->reason() == QContextMenuEvent::Keyboard) {
      ++keyboardPopups;
    }
  }
};

class MenuKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    disk = window.menuBar()->addMenu("Disk");
    disk->addAction("All Disks");
    disk->addAction("Directory Search");
    disk->addSeparator();
    colors = disk->addMenu("Pie Graph Colors");
    colors->addAction("Free Space");
    colors->addAction("Set to Default");
    window.menuBar()->addMenu("Memory")->addAction("Total");
    window.menuBar()->addAction("Help");
    control = new ClickableWidget(&window);
    window.setCentralWidget(control);
    window.resize(300, 200);
  }

  void ShowActive() {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    control->setFocus();
  }

  PopupWindow window;
  QMenu* disk = nullptr;
  QMenu* colors = nullptr;
  ClickableWidget* control = nullptr;
};

TEST_F(MenuKeysTest, EveryEntryOfEveryLevelGetsAKey) {
  AssignMnemonics(window.menuBar());
  QStringList bar;
  for (QAction* action : window.menuBar()->actions()) {
    bar << action->text();
  }
  EXPECT_EQ(bar, (QStringList{"&Disk", "&Memory", "&Help"}));
  EXPECT_EQ(disk->actions()[0]->text(), "&All Disks");
  EXPECT_EQ(disk->actions()[1]->text(), "&Directory Search");
  EXPECT_TRUE(disk->actions()[2]->isSeparator());
  EXPECT_EQ(disk->actions()[3]->text(), "&Pie Graph Colors");
  EXPECT_EQ(colors->actions()[0]->text(), "&Free Space") << "a submenu is a level of its own";
  EXPECT_EQ(colors->actions()[1]->text(), "&Set to Default");
  EXPECT_EQ(colors->actions()[1]->iconText(), "Set to Default") << "the caption reads the same";
}

TEST_F(MenuKeysTest, MenuKeyAndShiftF10OpenThePopupForTheFocusedControl) {
  InstallMenuKeys(&window, window.menuBar());
  ShowActive();
  QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(window.keyboardPopups, 1);
  QTest::keyClick(control, Qt::Key_Menu);
  EXPECT_EQ(window.keyboardPopups, 2);
  QTest::keyClick(control, Qt::Key_F9, Qt::ShiftModifier);
  EXPECT_EQ(window.keyboardPopups, 2);
}

TEST_F(MenuKeysTest, F10OpensTheFirstMenuAndAltLetterReachesAnEntry) {
  AssignMnemonics(window.menuBar());
  InstallMenuKeys(&window, window.menuBar());
  ShowActive();
  QTest::keyClick(control, Qt::Key_F10);
  ASSERT_TRUE(QTest::qWaitFor([&] { return disk->isVisible(); }));
  disk->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !disk->isVisible(); }));

  bool chosen = false;
  QObject::connect(colors->actions()[0], &QAction::triggered, [&] { chosen = true; });
  QTest::keyClick(control, Qt::Key_D, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return disk->isVisible(); }));
  QTest::keyClick(disk, Qt::Key_P);
  ASSERT_TRUE(QTest::qWaitFor([&] { return colors->isVisible(); }));
  QTest::keyClick(colors, Qt::Key_F);
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == nullptr; }));
}

TEST(ClickableWidgetTest, SpaceAndEnterClickAFocusedControlOnce) {
  ClickableWidget control;
  EXPECT_TRUE(control.focusPolicy() & Qt::TabFocus) << "self-drawn, so no focus unless asked";
  int clicks = 0;
  QObject::connect(&control, &ClickableWidget::clicked, [&] { ++clicks; });
  QTest::keyClick(&control, Qt::Key_Space);
  QTest::keyClick(&control, Qt::Key_Return);
  QTest::keyClick(&control, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(clicks, 3) << "Enter on the keypad carries the keypad modifier";
  QTest::keyPress(&control, Qt::Key_Space, Qt::NoModifier);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
  QApplication::sendEvent(&control, &repeat);
  EXPECT_EQ(clicks, 4) << "a held key is one click";
  QTest::keyClick(&control, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_EQ(clicks, 4);

  control.setToolTip("Change Color");
  EXPECT_EQ(control.accessibleDescription(), "Change Color") << "the hint, for a screen reader";
}

}  // namespace
}  // namespace zub
