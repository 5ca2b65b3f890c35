// Drive size and free space from statvfs(3), with a bounded wait for mounts
// that may not answer (a dead NFS server, a failing USB stick).
#pragma once

#include <sys/statvfs.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/DiskSpace.h"

namespace zub {

// The figures `df -B1` shows: avail and size, in fragment-sized clusters.
std::optional<DiskGeometry> GeometryFrom(const struct statvfs& figures);

class StatvfsDiskSpace : public DiskSpace {
 public:
  using QueryFn = std::function<int(const char* path, struct statvfs* out)>;

  explicit StatvfsDiskSpace(std::chrono::milliseconds wait = std::chrono::seconds(1),
                            QueryFn query = ::statvfs);

  std::optional<DiskGeometry> Query(const DriveInfo& drive) override;

 private:
  struct Pending;

  // Whether a query on this drive may hang, so it is run on a worker thread.
  static bool MayHang(const DriveInfo& drive);
  std::optional<DiskGeometry> QueryWithDeadline(const std::string& mountPoint);

  std::chrono::milliseconds wait_;
  QueryFn query_;
  std::mutex mutex_;
  // Worker queries not yet collected, by mount point; one that outlived its
  // deadline stays here until it finishes.
  std::map<std::string, std::shared_ptr<Pending>> running_;
};

}  // namespace zub
