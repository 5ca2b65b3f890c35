// Whole percentages with ties to the even neighbour, in integer arithmetic.
#pragma once

#include <cstdint>

namespace zub::linux_platform {

// round(part / whole * 100), an exact half going to the even neighbour.
// `part * 100` must fit 64 bits; `whole` must not be 0.
constexpr std::uint64_t PercentHalfEven(std::uint64_t part, std::uint64_t whole) {
  const std::uint64_t scaled = part * 100;
  const std::uint64_t quotient = scaled / whole;
  const std::uint64_t twiceRest = (scaled % whole) * 2;
  if (twiceRest > whole || (twiceRest == whole && quotient % 2 == 1)) {
    return quotient + 1;
  }
  return quotient;
}

}  // namespace zub::linux_platform
