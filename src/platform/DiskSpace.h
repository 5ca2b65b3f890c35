// Size and free space of one mounted file system.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/DriveTable.h"

namespace zub {

// The four figures of the classic disk query; bytes = the product of the
// first two and a cluster count. Counts are 64-bit.
struct DiskGeometry {
  std::int64_t sectorsPerCluster = 0;
  std::int64_t bytesPerSector = 0;
  std::int64_t freeClusters = 0;
  std::int64_t totalClusters = 0;
};

class DiskSpace {
 public:
  virtual ~DiskSpace() = default;

  // Nothing when the drive cannot be queried (gone, no medium, not answering in time).
  virtual std::optional<DiskGeometry> Query(const DriveInfo& drive) = 0;
};

}  // namespace zub
