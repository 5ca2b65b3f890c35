// Parsers for /proc/meminfo and the memory lines of /proc/<pid>/status, and
// the memory status record built from them. Everything here is pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/MemorySource.h"

namespace zub {

// Byte counts.
struct MeminfoFigures {
  std::int64_t memTotal = 0;
  std::int64_t memAvailable = 0;
  std::int64_t swapTotal = 0;
  std::int64_t swapFree = 0;

  bool operator==(const MeminfoFigures&) const = default;
};

// Nothing when MemTotal, or both MemAvailable and MemFree, are missing or unreadable.
std::optional<MeminfoFigures> ParseMeminfo(std::string_view text);

// The VmSize line of a status file, in bytes; nothing when absent (kernel threads).
std::optional<std::int64_t> ParseVmSize(std::string_view statusText);

// The user address space of this architecture: what a process can map when
// RLIMIT_AS sets no bound.
std::int64_t ArchitectureAddressSpace();

// `addressSpaceLimit` is RLIMIT_AS, nothing when unlimited.
MemoryStatus ComposeMemoryStatus(const MeminfoFigures& figures, std::int64_t vmSize,
                                 std::optional<std::uint64_t> addressSpaceLimit);

}  // namespace zub
