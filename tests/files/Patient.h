// Work limits that no test run reaches, however long a loaded machine keeps
// a worker from a processor: nothing is given up on unless a test means it.
#pragma once

#include <chrono>

#include "files/LongWork.h"

namespace zub {

inline constexpr WorkLimits kPatient{std::chrono::hours(1000000), std::chrono::hours(1000000)};

}  // namespace zub
