// The machine's memory figures in the shape of the classic memory status record.
#pragma once

#include <cstdint>
#include <optional>

namespace zub {

struct MemoryStatus {
  int memoryLoad = 0;  // per cent of physical memory in use
  std::int64_t totalPhys = 0;
  std::int64_t availPhys = 0;
  std::int64_t totalPageFile = 0;
  std::int64_t availPageFile = 0;
  std::int64_t totalVirtual = 0;
  std::int64_t availVirtual = 0;
};

class MemorySource {
 public:
  virtual ~MemorySource() = default;

  // Nothing when the figures cannot be read.
  virtual std::optional<MemoryStatus> Read() = 0;
};

}  // namespace zub
