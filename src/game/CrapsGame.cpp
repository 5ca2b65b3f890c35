#include "game/CrapsGame.h"

namespace zub {
namespace {

std::string TotalText(std::int32_t total) {
  return "Total " + std::to_string(total);
}

}  // namespace

void CrapsGame::Activate(DieSource& dice) {
  RollCount = 0;
  if (GameTotal <= 0) {
    GameTotal = kStartTotal;
  }
  dice.Reseed();
  GameBet = kStake;
}

RollResult CrapsGame::Roll(DieSource& dice) {
  RollResult result;
  result.die1 = dice.Next();
  result.die2 = dice.Next();
  const int d1 = result.die1;
  const int d2 = result.die2;
  const int sum = d1 + d2;
  const std::string sumText = std::to_string(sum);

  ++RollCount;
  if (RollCount == 1) {
    GamePoint = sum;
    std::string outcome;
    switch (sum) {
      case 2:
      case 3:
      case 12:
        outcome = "You Lose";
        RollCount = 0;
        GameTotal -= GameBet;
        break;
      case 7:
      case 11:
        outcome = "You Win";
        RollCount = 0;
        GameTotal += GameBet;
        break;
      default:
        outcome = "Roll Again";
        break;
    }
    result.message = outcome + " Point is " + sumText;
    result.total = TotalText(GameTotal);
    // Later names win over earlier ones: double 2s are "Little Joe", not "Hard".
    if (d1 == d2) {
      result.message = "Hard " + sumText;
    }
    if (sum == 11) {
      result.message = "Yo 11!";
    }
    if (d1 == d2 && sum == 4) {
      result.message = "Little Joe Hard " + sumText;
    }
    return result;
  }

  // A point roll. The point is never 7, so at most one of these applies.
  if (sum == 7) {
    result.message = "You Lose";
    RollCount = 0;
    GameTotal -= GameBet;
  } else if (sum == GamePoint) {
    result.message = "You Win";
    RollCount = 0;
    GameTotal += GameBet;
  } else {
    result.message =
        "Roll Number " + std::to_string(RollCount) + " Point is " + std::to_string(GamePoint);
  }
  result.total = TotalText(GameTotal);
  return result;
}

bool CrapsGame::SettleBroke(Prompts& prompts) {
  if (GameTotal >= 0) {
    return false;
  }
  prompts.ShowMessage(kBrokeMessage);
  GameTotal = kStartTotal;
  return true;
}

}  // namespace zub
