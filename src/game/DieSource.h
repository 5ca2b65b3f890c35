// Where the craps game's dice come from: an interface tests can script, and
// the program's own generator.
#pragma once

#include <cstdint>
#include <random>

namespace zub {

class DieSource {
 public:
  virtual ~DieSource() = default;
  // Called at each activation of the game window.
  virtual void Reseed() = 0;
  // One die: uniform from 1 to 6, independent of every earlier draw.
  virtual int Next() = 0;
};

class ClockDieSource : public DieSource {
 public:
  // Seeded from the clock.
  ClockDieSource();
  // A fixed seed, for repeatable draws.
  explicit ClockDieSource(std::uint32_t seed) : engine_(seed) {}

  void Reseed() override;
  int Next() override { return face_(engine_); }

 private:
  std::mt19937 engine_;
  std::uniform_int_distribution<int> face_{1, 6};
};

}  // namespace zub
