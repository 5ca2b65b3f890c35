#include "game/CrapsGame.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "fakes/ScriptedPrompts.h"
#include "game/ScriptedDice.h"

namespace zub {
namespace {

using fakes::ScriptedDice;
using fakes::ScriptedPrompts;

struct ComeOutRow {
  int d1;
  int d2;
  const char* message;
  int totalAfter;  // from 500
  int rollCount;   // after the roll
};

// Every kind of come-out roll, with the upper panel it leaves.
const ComeOutRow kComeOutRows[] = {
    {1, 1, "Hard 2", 400, 0},
    {1, 2, "You Lose Point is 3", 400, 0},
    {6, 6, "Hard 12", 400, 0},
    {2, 2, "Little Joe Hard 4", 500, 1},
    {1, 3, "Roll Again Point is 4", 500, 1},
    {1, 4, "Roll Again Point is 5", 500, 1},
    {3, 3, "Hard 6", 500, 1},
    {1, 5, "Roll Again Point is 6", 500, 1},
    {1, 6, "You Win Point is 7", 600, 0},
    {4, 3, "You Win Point is 7", 600, 0},
    {4, 4, "Hard 8", 500, 1},
    {2, 6, "Roll Again Point is 8", 500, 1},
    {4, 5, "Roll Again Point is 9", 500, 1},
    {5, 5, "Hard 10", 500, 1},
    {4, 6, "Roll Again Point is 10", 500, 1},
    {5, 6, "Yo 11!", 600, 0},
    {6, 5, "Yo 11!", 600, 0},
};

class CrapsGameTest : public ::testing::Test {
 protected:
  // Rolls one pair and returns what the window would show.
  RollResult Roll(int d1, int d2) {
    dice.Queue({d1, d2});
    return game.Roll(dice);
  }

  CrapsGame game;
  ScriptedDice dice;
  ScriptedPrompts prompts;
};

TEST_F(CrapsGameTest, FirstActivationStartsAtFiveHundredWithAHundredBet) {
  game.Activate(dice);
  EXPECT_EQ(game.GameTotal, 500);
  EXPECT_EQ(game.GameBet, 100);
  EXPECT_EQ(game.RollCount, 0);
  EXPECT_EQ(dice.reseeds, 1);
}

TEST_F(CrapsGameTest, ComeOutRollsFollowTheTable) {
  for (const ComeOutRow& row : kComeOutRows) {
    SCOPED_TRACE(std::to_string(row.d1) + " and " + std::to_string(row.d2));
    game = CrapsGame{};
    game.Activate(dice);
    const RollResult result = Roll(row.d1, row.d2);
    EXPECT_EQ(result.die1, row.d1);
    EXPECT_EQ(result.die2, row.d2);
    EXPECT_EQ(result.message, row.message);
    EXPECT_EQ(result.total, "Total " + std::to_string(row.totalAfter));
    EXPECT_EQ(game.GameTotal, row.totalAfter);
    EXPECT_EQ(game.RollCount, row.rollCount);
    EXPECT_EQ(game.GamePoint, row.d1 + row.d2);
  }
}

TEST_F(CrapsGameTest, PointRollsWinOnThePointLoseOnSevenAndNameNoDoubles) {
  game.Activate(dice);
  Roll(2, 4);  // point 6

  RollResult result = Roll(2, 2);
  EXPECT_EQ(result.message, "Roll Number 2 Point is 6") << "doubles on a point roll are not Hard";
  EXPECT_EQ(result.total, "Total 500");
  result = Roll(5, 6);
  EXPECT_EQ(result.message, "Roll Number 3 Point is 6") << "11 on a point roll is no Yo";
  result = Roll(4, 4);
  EXPECT_EQ(result.message, "Roll Number 4 Point is 6");
  EXPECT_EQ(game.RollCount, 4);
  EXPECT_EQ(game.GamePoint, 6);

  result = Roll(3, 3);
  EXPECT_EQ(result.message, "You Win") << "a hard point is an ordinary win";
  EXPECT_EQ(result.total, "Total 600");
  EXPECT_EQ(game.RollCount, 0);

  Roll(1, 4);  // point 5
  result = Roll(3, 4);
  EXPECT_EQ(result.message, "You Lose") << "seven on a point roll shows no point";
  EXPECT_EQ(result.total, "Total 500");
  EXPECT_EQ(game.RollCount, 0);

  result = Roll(3, 4);
  EXPECT_EQ(result.message, "You Win Point is 7") << "the turn after a loss opens anew";
  EXPECT_EQ(game.GameTotal, 600);
}

TEST_F(CrapsGameTest, TurnMovesBetweenComeOutAndPoint) {
  game.Activate(dice);
  struct Step {
    int d1, d2;
    int rollCount, point, total;
  };
  const Step steps[] = {
      {1, 1, 0, 2, 400},   // come-out craps
      {5, 6, 0, 11, 500},  // come-out natural
      {4, 5, 1, 9, 500},   // come-out point
      {1, 1, 2, 9, 500},   // point: other
      {6, 6, 3, 9, 500},   // point: other
      {3, 6, 0, 9, 600},   // point: made
      {5, 5, 1, 10, 600},  // come-out point
      {6, 1, 0, 10, 500},  // point: seven out
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::to_string(step.d1) + " and " + std::to_string(step.d2));
    Roll(step.d1, step.d2);
    EXPECT_EQ(game.RollCount, step.rollCount);
    EXPECT_EQ(game.GamePoint, step.point);
    EXPECT_EQ(game.GameTotal, step.total);
  }
}

TEST_F(CrapsGameTest, TotalOfZeroPlaysOnAndTheNextLossIsBroke) {
  game.Activate(dice);
  game.GameTotal = 100;
  EXPECT_EQ(Roll(1, 2).total, "Total 0");
  EXPECT_FALSE(game.SettleBroke(prompts));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(game.GameTotal, 0);

  CrapsGame reopened = game;
  reopened.Activate(dice);
  EXPECT_EQ(reopened.GameTotal, 500) << "an opening at 0 starts again";

  const RollResult result = Roll(6, 6);
  EXPECT_EQ(result.total, "Total -100") << "the panel shows the debt";
  EXPECT_EQ(game.GameTotal, -100);
  EXPECT_TRUE(game.SettleBroke(prompts));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0],
            "You went broke. Fortunately there is a pawn shop nearby and you sell your watch");
  EXPECT_EQ(game.GameTotal, 500);
  EXPECT_FALSE(game.SettleBroke(prompts));
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(CrapsGameTest, ReopeningKeepsTheTotalAndDropsTheTurn) {
  game.Activate(dice);
  Roll(3, 4);
  Roll(2, 4);  // point 6, turn open
  ASSERT_EQ(game.GameTotal, 600);
  ASSERT_EQ(game.RollCount, 1);

  game.Activate(dice);
  EXPECT_EQ(game.GameTotal, 600);
  EXPECT_EQ(game.GameBet, 100);
  EXPECT_EQ(game.RollCount, 0);
  EXPECT_EQ(dice.reseeds, 2);

  const RollResult result = Roll(3, 4);
  EXPECT_EQ(result.message, "You Win Point is 7") << "a dropped turn cannot be lost";
  EXPECT_EQ(game.GameTotal, 700);
}

// Chi-square bounds that a fair die exceeds with a chance near 1e-9.
constexpr double kUniformBound = 50.0;      // 5 degrees of freedom
constexpr double kIndependentBound = 90.0;  // 25 degrees of freedom

TEST(ClockDieSourceTest, EachDieIsUniformAndTheTwoAreIndependent) {
  ClockDieSource source(20240607u);
  constexpr int kRolls = 60000;
  std::array<std::array<int, 6>, 6> pairs{};
  std::array<int, 6> first{};
  std::array<int, 6> second{};
  for (int i = 0; i < kRolls; ++i) {
    const int d1 = source.Next();
    const int d2 = source.Next();
    ASSERT_GE(d1, 1);
    ASSERT_LE(d1, 6);
    ASSERT_GE(d2, 1);
    ASSERT_LE(d2, 6);
    ++first[d1 - 1];
    ++second[d2 - 1];
    ++pairs[d1 - 1][d2 - 1];
  }

  auto uniformChiSquare = [](const std::array<int, 6>& counts) {
    const double expected = kRolls / 6.0;
    double chi = 0;
    for (const int count : counts) {
      chi += (count - expected) * (count - expected) / expected;
    }
    return chi;
  };
  EXPECT_LT(uniformChiSquare(first), kUniformBound);
  EXPECT_LT(uniformChiSquare(second), kUniformBound);

  double chi = 0;
  for (int a = 0; a < 6; ++a) {
    for (int b = 0; b < 6; ++b) {
      const double expected = static_cast<double>(first[a]) * second[b] / kRolls;
      chi += (pairs[a][b] - expected) * (pairs[a][b] - expected) / expected;
    }
  }
  EXPECT_LT(chi, kIndependentBound);
}

}  // namespace
}  // namespace zub
