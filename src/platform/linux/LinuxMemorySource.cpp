#include "platform/linux/LinuxMemorySource.h"

#include <sys/resource.h>

#include "platform/linux/Meminfo.h"
#include "platform/linux/PosixFile.h"

namespace zub {

LinuxMemorySource::LinuxMemorySource(std::string procRoot, AddressLimitFn addressLimit)
    : procRoot_(std::move(procRoot)), addressLimit_(std::move(addressLimit)) {}

std::optional<std::uint64_t> LinuxMemorySource::ProcessAddressLimit() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(limit.rlim_cur);
}

std::optional<MemoryStatus> LinuxMemorySource::Read() {
  const auto meminfo = linux_platform::ReadWholeFile(procRoot_ + "/meminfo");
  const auto status = linux_platform::ReadWholeFile(procRoot_ + "/self/status");
  if (!meminfo || !status) {
    return std::nullopt;
  }
  const auto figures = ParseMeminfo(*meminfo);
  const auto vmSize = ParseVmSize(*status);
  if (!figures || !vmSize) {
    return std::nullopt;
  }
  return ComposeMemoryStatus(*figures, *vmSize, addressLimit_());
}

}  // namespace zub
