#include "platform/linux/LinuxSystemFacts.h"

#include <sys/utsname.h>

#include <charconv>

#include "platform/linux/Meminfo.h"
#include "platform/linux/PosixFile.h"

namespace zub {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<int> ParseCpuFamily(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "cpu family") {
      continue;
    }
    // Only the first processor counts: the others are the same chip.
    const std::string_view value = Trim(line.substr(colon + 1));
    int family = 0;
    const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), family);
    if (ec != std::errc() || ptr != value.data() + value.size() || family < 0) {
      return std::nullopt;
    }
    return family;
  }
  return std::nullopt;
}

LinuxSystemFacts::LinuxSystemFacts(std::string procRoot, UnameFn uname)
    : procRoot_(std::move(procRoot)), uname_(std::move(uname)) {}

std::optional<KernelName> LinuxSystemFacts::SystemUname() {
  struct utsname name {};
  if (::uname(&name) != 0) {
    return std::nullopt;
  }
  return KernelName{name.machine, name.release};
}

SystemFacts LinuxSystemFacts::Read() {
  SystemFacts facts;
  if (const auto name = uname_()) {
    facts.machine = name->machine;
    facts.release = name->release;
  }
  // Some containers hide cpuinfo; the machine name still tells the architecture.
  if (const auto cpuinfo = linux_platform::ReadWholeFile(procRoot_ + "/cpuinfo")) {
    facts.cpuFamily = ParseCpuFamily(*cpuinfo);
  }
  if (const auto meminfo = linux_platform::ReadWholeFile(procRoot_ + "/meminfo")) {
    if (const auto figures = ParseMeminfo(*meminfo)) {
      facts.totalPhys = figures->memTotal;
    }
  }
  return facts;
}

}  // namespace zub
