// Dice that fall as the test says, counting reseeds.
#pragma once

#include <deque>
#include <initializer_list>
#include <stdexcept>

#include "game/DieSource.h"

namespace zub::fakes {

class ScriptedDice : public DieSource {
 public:
  std::deque<int> faces;
  int reseeds = 0;

  // Queues the rolls as pairs: {d1, d2, d1, d2, ...}.
  void Queue(std::initializer_list<int> dice) { faces.insert(faces.end(), dice); }

  void Reseed() override { ++reseeds; }
  int Next() override {
    if (faces.empty()) {
      throw std::logic_error("the test queued too few dice");
    }
    const int face = faces.front();
    faces.pop_front();
    return face;
  }
};

}  // namespace zub::fakes
