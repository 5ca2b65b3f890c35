// The machine facts the system information texts are made from: the
// kernel's name for the machine and its release, the processor family and
// the physical memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zub {

struct SystemFacts {
  std::string machine;                    // uname's machine: "x86_64", "i686", "aarch64"
  std::string release;                    // uname's release: "6.1.0-18-amd64"
  std::optional<int> cpuFamily;           // "cpu family" of the first processor (x86 only)
  std::optional<std::int64_t> totalPhys;  // bytes of physical memory (MemTotal)
};

class SystemFactsSource {
 public:
  virtual ~SystemFactsSource() = default;

  // What can be read; a fact that cannot be read is left empty.
  virtual SystemFacts Read() = 0;
};

}  // namespace zub
