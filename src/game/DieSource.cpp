#include "game/DieSource.h"

#include <chrono>

namespace zub {
namespace {

// The clock's full tick count goes through a seed sequence so that two
// reseeds a few ticks apart still start far apart in the engine's state.
void SeedFromClock(std::mt19937& engine) {
  const auto ticks = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
  engine.seed(seed);
}

}  // namespace

ClockDieSource::ClockDieSource() {
  SeedFromClock(engine_);
}

void ClockDieSource::Reseed() {
  SeedFromClock(engine_);
  face_.reset();
}

}  // namespace zub
