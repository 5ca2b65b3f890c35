// Machine facts given by the test.
#pragma once

#include "platform/SystemFacts.h"

namespace zub::fakes {

class FakeSystemFacts : public SystemFactsSource {
 public:
  SystemFacts facts{"x86_64", "6.1.0-18-amd64", 6, std::int64_t{8} << 30};
  int reads = 0;

  SystemFacts Read() override {
    ++reads;
    return facts;
  }
};

}  // namespace zub::fakes
