#include "platform/linux/Meminfo.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>

#include "platform/linux/Percent.h"
#include "platform/linux/ProcText.h"

namespace zub {

namespace {

// 2^44 kB is 16 PiB: a larger figure is a damaged file, not a machine, and
// the bound keeps every byte count times 100 within 64 bits.
constexpr std::uint64_t kMaxKb = std::uint64_t{1} << 44;

// "   1234 kB" as bytes; nothing for another unit, junk or an absurd figure.
std::optional<std::int64_t> ParseKbValue(std::string_view text) {
  const auto kb = linux_platform::ParseUnsigned(linux_platform::NextToken(text), kMaxKb);
  if (!kb || linux_platform::Trim(text) != "kB") {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(*kb * 1024);
}

// The "Name: value kB" lines of interest; a name's first readable line counts.
std::map<std::string_view, std::int64_t> ParseKbLines(
    std::string_view text, std::initializer_list<std::string_view> names) {
  std::map<std::string_view, std::int64_t> values;
  linux_platform::ForEachLine(text, [&](std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      return;
    }
    const std::string_view name = line.substr(0, colon);
    if (std::find(names.begin(), names.end(), name) == names.end() || values.count(name) != 0) {
      return;
    }
    if (const auto bytes = ParseKbValue(line.substr(colon + 1))) {
      values.emplace(name, *bytes);
    }
  });
  return values;
}

std::optional<std::int64_t> Find(const std::map<std::string_view, std::int64_t>& values,
                                 std::string_view name) {
  const auto it = values.find(name);
  if (it == values.end()) {
    return std::nullopt;
  }
  return it->second;
}

}  // namespace

std::optional<MeminfoFigures> ParseMeminfo(std::string_view text) {
  const auto values = ParseKbLines(
      text, {"MemTotal", "MemAvailable", "MemFree", "Buffers", "Cached", "SwapTotal", "SwapFree"});
  const auto total = Find(values, "MemTotal");
  if (!total) {
    return std::nullopt;
  }
  auto available = Find(values, "MemAvailable");
  if (!available) {
    // Kernels before 3.14 have no MemAvailable; free plus caches is what
    // free(1) showed then.
    const auto memFree = Find(values, "MemFree");
    if (!memFree) {
      return std::nullopt;
    }
    available = *memFree + Find(values, "Buffers").value_or(0) + Find(values, "Cached").value_or(0);
  }
  MeminfoFigures figures;
  figures.memTotal = *total;
  figures.memAvailable = std::min(*available, *total);
  figures.swapTotal = Find(values, "SwapTotal").value_or(0);
  figures.swapFree = std::min(Find(values, "SwapFree").value_or(0), figures.swapTotal);
  return figures;
}

std::optional<std::int64_t> ParseVmSize(std::string_view statusText) {
  return Find(ParseKbLines(statusText, {"VmSize"}), "VmSize");
}

std::int64_t ArchitectureAddressSpace() {
#if defined(__x86_64__)
  return std::int64_t{1} << 47;
#elif defined(__aarch64__)
  return std::int64_t{1} << 48;
#else
  return sizeof(void*) == 8 ? std::int64_t{1} << 47 : std::int64_t{3} << 30;
#endif
}

MemoryStatus ComposeMemoryStatus(const MeminfoFigures& figures, std::int64_t vmSize,
                                 std::optional<std::uint64_t> addressSpaceLimit) {
  MemoryStatus status;
  status.totalPhys = figures.memTotal;
  status.availPhys = figures.memAvailable;
  status.totalPageFile = figures.swapTotal;
  status.availPageFile = figures.swapFree;
  if (figures.memTotal > 0) {
    const auto used = static_cast<std::uint64_t>(figures.memTotal - figures.memAvailable);
    status.memoryLoad = static_cast<int>(
        linux_platform::PercentHalfEven(used, static_cast<std::uint64_t>(figures.memTotal)));
  }
  const std::int64_t space = ArchitectureAddressSpace();
  status.totalVirtual = addressSpaceLimit && *addressSpaceLimit < static_cast<std::uint64_t>(space)
                            ? static_cast<std::int64_t>(*addressSpaceLimit)
                            : space;
  status.availVirtual =
      std::max<std::int64_t>(0, status.totalVirtual - std::max<std::int64_t>(0, vmSize));
  return status;
}

}  // namespace zub
