#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/ScriptedPrompts.h"
#include "game/CrapsGame.h"
#include "game/DiceWidget.h"
#include "game/ScriptedDice.h"
#include "game/TfmGame.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

using fakes::ScriptedDice;
using fakes::ScriptedPrompts;

ColorRef PixelAt(const QImage& image, int x, int y) {
  return FromQColor(image.pixelColor(x, y));
}

TEST(DiceWidgetTest, DrawsBlackPipOnWhiteFaceWithSilverCorners) {
  DiceWidget die;
  die.show();
  ASSERT_EQ(die.size(), QSize(30, 30));
  const QImage image = die.grab().toImage();
  ASSERT_EQ(image.size(), QSize(30, 30));

  EXPECT_EQ(PixelAt(image, 15, 15), kBlack) << "centre pip";
  EXPECT_EQ(PixelAt(image, 7, 15), kWhite) << "face";
  EXPECT_EQ(PixelAt(image, 22, 22), kWhite) << "face";
  EXPECT_EQ(PixelAt(image, 0, 0), kSilver) << "top left corner";
  EXPECT_EQ(PixelAt(image, 29, 29), kSilver) << "bottom right corner";
  EXPECT_EQ(PixelAt(image, 15, 0), kBlack) << "face outline";
  EXPECT_EQ(PixelAt(image, 29, 15), kBlack) << "face outline, last column";

  die.SetValue(6);
  const QImage six = die.grab().toImage();
  EXPECT_EQ(PixelAt(six, 15, 15), kWhite) << "six has no centre pip";
  EXPECT_EQ(PixelAt(six, 6, 15), kBlack) << "middle left pip";
  EXPECT_EQ(PixelAt(six, 23, 23), kBlack) << "bottom right pip";
}

TEST(DiceWidgetTest, TakesItsNewSizeAfterPainting) {
  DiceWidget die;
  die.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&die));
  die.SetDiceSize(3);
  EXPECT_EQ(die.size(), QSize(45, 45));
  const QImage image = die.grab().toImage();
  EXPECT_EQ(PixelAt(image, 22, 22), kBlack) << "centre pip at scale 3";
  EXPECT_EQ(PixelAt(image, 44, 44), kSilver);
}

TEST(DiceWidgetTest, ClickNeedsPressAndReleaseOverTheDie) {
  DiceWidget die;
  die.show();
  int clicks = 0;
  QObject::connect(&die, &DiceWidget::clicked, [&] { ++clicks; });
  QTest::mouseClick(&die, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  QTest::mouseClick(&die, Qt::RightButton);
  EXPECT_EQ(clicks, 1);
  QTest::mousePress(&die, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(&die, Qt::LeftButton, {}, QPoint(60, 60));
  EXPECT_EQ(clicks, 1) << "released off the die";
}

class GameWindowTest : public ::testing::Test {
 protected:
  CrapsGame game;
  ScriptedDice dice;
  ScriptedPrompts prompts;
};

TEST_F(GameWindowTest, LayoutMatchesTheDesign) {
  TfmGame window(game, prompts, nullptr, &dice);
  EXPECT_EQ(window.windowTitle(), "Mini Craps Click on Dice to Play");
  EXPECT_EQ(window.pos(), QPoint(279, 116));
  EXPECT_EQ(window.font().pixelSize(), 11);
  EXPECT_EQ(window.Panel1()->geometry(), QRect(40, 8, 241, 41));
  EXPECT_EQ(window.Panel2()->geometry(), QRect(42, 59, 239, 41));
  EXPECT_EQ(window.Dice1()->geometry(), QRect(112, 120, 30, 30));
  EXPECT_EQ(window.Dice2()->geometry(), QRect(160, 120, 30, 30));
  EXPECT_TRUE(window.Panel1()->text().isEmpty());
  EXPECT_TRUE(window.Panel2()->text().isEmpty());
  EXPECT_EQ(window.Panel1()->frameShadow(), QFrame::Raised);
  EXPECT_EQ(window.Dice1()->Value(), 1);
  EXPECT_EQ(window.Dice2()->Value(), 1);
}

TEST_F(GameWindowTest, ShowingActivatesAndEitherDieRolls) {
  TfmGame window(game, prompts, nullptr, &dice);
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return dice.reseeds == 1; })) << "never activated";
  EXPECT_EQ(game.GameTotal, 500);
  EXPECT_EQ(game.GameBet, 100);
  EXPECT_EQ(dice.reseeds, 1);

  dice.Queue({2, 4});
  QTest::mouseClick(window.Dice1(), Qt::LeftButton);
  EXPECT_EQ(window.Dice1()->Value(), 2);
  EXPECT_EQ(window.Dice2()->Value(), 4);
  EXPECT_EQ(window.Panel1()->text(), "Roll Again Point is 6");
  EXPECT_EQ(window.Panel2()->text(), "Total 500");

  dice.Queue({5, 1});
  QTest::mouseClick(window.Dice2(), Qt::LeftButton);
  EXPECT_EQ(window.Dice1()->Value(), 5);
  EXPECT_EQ(window.Dice2()->Value(), 1);
  EXPECT_EQ(window.Panel1()->text(), "You Win");
  EXPECT_EQ(window.Panel2()->text(), "Total 600");
}

TEST_F(GameWindowTest, AKeyboardUserPlaysWithoutAMouse) {
  TfmGame window(game, prompts, nullptr, &dice);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ASSERT_TRUE(QTest::qWaitFor([&] { return dice.reseeds == 1; })) << "never activated";
  ASSERT_EQ(QApplication::focusWidget(), window.Dice1()) << "the dice are what there is to do";

  dice.Queue({2, 4});
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(window.Dice1()->Value(), 2);
  EXPECT_EQ(window.Panel1()->text(), "Roll Again Point is 6");

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), window.Dice2());
  dice.Queue({5, 1});
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(window.Panel1()->text(), "You Win");
  EXPECT_EQ(window.Panel2()->text(), "Total 600");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), window.Dice1()) << "Tab goes round the two dice";
}

TEST_F(GameWindowTest, EveryControlHasAnAccessibleName) {
  TfmGame window(game, prompts, nullptr, &dice);
  for (QWidget* control : window.findChildren<QWidget*>()) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(accessible, nullptr);
    EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
        << control->objectName().toStdString();
  }
  dice.Queue({6, 3});
  window.Dice1Click();
  EXPECT_EQ(window.Dice1()->accessibleName(), "Die 1 shows 6") << "the face is read out";
  EXPECT_EQ(window.Dice2()->accessibleName(), "Die 2 shows 3");
  EXPECT_EQ(window.Panel1()->accessibleDescription(), "Roll Again Point is 9");
}

// Records what the lower panel showed while the message was up.
class PanelWitness : public ScriptedPrompts {
 public:
  QLabel* panel = nullptr;
  std::vector<QString> panelDuringMessage;
  void ShowMessage(const std::string& text) override {
    panelDuringMessage.push_back(panel->text());
    ScriptedPrompts::ShowMessage(text);
  }
};

TEST_F(GameWindowTest, BrokeMessageShowsOverTheDebtThenTotalIsFiveHundred) {
  PanelWitness witness;
  TfmGame window(game, witness, nullptr, &dice);
  witness.panel = window.Panel2();
  window.FormActivate();
  game.GameTotal = 50;

  dice.Queue({1, 2});
  window.Dice1Click();
  ASSERT_EQ(witness.messages.size(), 1u);
  EXPECT_EQ(witness.messages[0],
            "You went broke. Fortunately there is a pawn shop nearby and you sell your watch");
  EXPECT_EQ(witness.panelDuringMessage[0], "Total -50");
  EXPECT_EQ(window.Panel2()->text(), "Total -50") << "kept until the next roll";
  EXPECT_EQ(game.GameTotal, 500);

  dice.Queue({3, 4});
  window.Dice1Click();
  EXPECT_EQ(window.Panel2()->text(), "Total 600");
}

// The main window stays visible and opens a new game window each time,
// running it modally.
TEST_F(GameWindowTest, TotalOutlivesTheWindowAndReopeningDropsTheTurn) {
  QWidget mainWindow;
  mainWindow.setGeometry(500, 400, 300, 200);
  mainWindow.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
  {
    TfmGame window(game, prompts, &mainWindow, &dice);
    QTimer::singleShot(0, &window, [&] {
      ASSERT_TRUE(QTest::qWaitFor([&] { return dice.reseeds == 1; })) << "never activated";
      EXPECT_EQ(window.pos(), QPoint(279, 116)) << "not centred over the main window";
      EXPECT_TRUE(mainWindow.isVisible());
      dice.Queue({3, 4, 2, 2});
      QTest::mouseClick(window.Dice1(), Qt::LeftButton);
      QTest::mouseClick(window.Dice1(), Qt::LeftButton);
      window.accept();
    });
    window.exec();
  }
  ASSERT_EQ(game.GameTotal, 600);
  ASSERT_EQ(game.RollCount, 1) << "closed with a point of 4 open";

  TfmGame window(game, prompts, &mainWindow, &dice);
  QTimer::singleShot(0, &window, [&] {
    ASSERT_TRUE(QTest::qWaitFor([&] { return dice.reseeds == 2; })) << "never activated";
    dice.Queue({2, 5});
    QTest::mouseClick(window.Dice2(), Qt::LeftButton);
    window.accept();
  });
  window.exec();
  EXPECT_EQ(window.Panel1()->text(), "You Win Point is 7");
  EXPECT_EQ(game.GameTotal, 700);
  EXPECT_EQ(dice.reseeds, 2);
}

}  // namespace
}  // namespace zub
