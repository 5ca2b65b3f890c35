// The memory status record from /proc/meminfo, /proc/self/status and RLIMIT_AS.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/MemorySource.h"

namespace zub {

class LinuxMemorySource : public MemorySource {
 public:
  // RLIMIT_AS's soft limit; nothing when unlimited.
  using AddressLimitFn = std::function<std::optional<std::uint64_t>()>;

  explicit LinuxMemorySource(std::string procRoot = "/proc",
                             AddressLimitFn addressLimit = ProcessAddressLimit);

  std::optional<MemoryStatus> Read() override;

  static std::optional<std::uint64_t> ProcessAddressLimit();

 private:
  std::string procRoot_;
  AddressLimitFn addressLimit_;
};

}  // namespace zub
