// Directories read with getdents64 and d_type, entries stat-ed with fstatat
// relative to their directory's descriptor, children opened with openat.
#pragma once

#include "platform/DirectorySource.h"

namespace zub {

class LinuxDirectorySource : public DirectorySource {
 public:
  std::unique_ptr<OpenDirectory> Open(const std::string& path) override;
  PathState StatPath(const std::string& path) override;
  // From RLIMIT_NOFILE less the descriptors the process holds now.
  std::size_t OpenBudget() override;
  bool ConcurrentReads() const override { return true; }
};

}  // namespace zub
