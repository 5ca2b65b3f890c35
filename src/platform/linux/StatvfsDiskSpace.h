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
#include "platform/linux/PosixFile.h"

namespace zub {

// The figures `df -B1` shows: avail and size, in fragment-sized clusters.
std::optional<DiskGeometry> GeometryFrom(const struct statvfs& figures);

class StatvfsDiskSpace : public DiskSpace {
 public:
  using QueryFn = std::function<int(const char* path, struct statvfs* out)>;

  // `query` runs in a helper process for a drive that may hang: it must not
  // rely on memory or descriptors it shares with the caller.
  explicit StatvfsDiskSpace(std::chrono::milliseconds wait = std::chrono::seconds(1),
                            QueryFn query = ::statvfs);

  std::optional<DiskGeometry> Query(const DriveInfo& drive) override;

 private:
  // Whether a query on this drive may hang, so it is run in a helper process.
  static bool MayHang(const DriveInfo& drive);
  std::optional<DiskGeometry> QueryWithDeadline(const std::string& mountPoint);

  std::chrono::milliseconds wait_;
  QueryFn query_;
  std::mutex mutex_;
  // The answer pipes of helpers not yet heard from, by mount point; one that
  // outlived its deadline stays here until it finishes.
  std::map<std::string, std::shared_ptr<linux_platform::UniqueFd>> running_;
};

}  // namespace zub
