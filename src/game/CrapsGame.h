// The craps game's money and turn, which last for the whole run, and the
// rules of one roll.
#pragma once

#include <cstdint>
#include <string>

#include "game/DieSource.h"
#include "ui/Prompts.h"

namespace zub {

inline constexpr const char* kBrokeMessage =
    "You went broke. Fortunately there is a pawn shop nearby and you sell your watch";

// What one roll shows: the two dice and the texts of the two panels.
struct RollResult {
  int die1 = 0;
  int die2 = 0;
  std::string message;  // the upper panel
  std::string total;    // the lower panel
};

// Held by the window hub, not by the game window, so the money carries over
// from one opening of the game to the next.
struct CrapsGame {
  static constexpr std::int32_t kStartTotal = 500;
  static constexpr std::int32_t kStake = 100;

  std::int32_t GameTotal = 0;
  std::int32_t GameBet = 0;
  // Rolls made in the current turn; 0 means the next roll is a come-out roll.
  std::int32_t RollCount = 0;
  std::int32_t GamePoint = 0;

  // The game window became active: any unfinished turn is dropped.
  void Activate(DieSource& dice);
  // Plays one roll and says what the window shows for it.
  RollResult Roll(DieSource& dice);
  // After the window shows a roll: a player below 0 is told and starts again
  // at 500. True when that happened.
  bool SettleBroke(Prompts& prompts);
};

}  // namespace zub
