#include "platform/linux/StatvfsDiskSpace.h"

#include <condition_variable>
#include <cstdint>
#include <limits>
#include <system_error>
#include <thread>

namespace zub {

// The state a worker shares with the caller; the worker may outlive both the
// caller's wait and this DiskSpace, so it holds only this and its arguments.
struct StatvfsDiskSpace::Pending {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::optional<DiskGeometry> result;
};

std::optional<DiskGeometry> GeometryFrom(const struct statvfs& figures) {
  // Counts are in fragments; f_bsize is only the preferred I/O size.
  const std::uint64_t fragment = figures.f_frsize != 0 ? figures.f_frsize : figures.f_bsize;
  constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
  if (fragment == 0 || fragment > kMax) {
    return std::nullopt;
  }
  // Callers multiply the figures; keep every product within 64 bits.
  const std::uint64_t maxClusters = kMax / fragment;
  const auto clamp = [&](std::uint64_t count) {
    return static_cast<std::int64_t>(count < maxClusters ? count : maxClusters);
  };
  DiskGeometry geometry;
  geometry.sectorsPerCluster = 1;
  geometry.bytesPerSector = static_cast<std::int64_t>(fragment);
  geometry.freeClusters = clamp(figures.f_bavail);
  geometry.totalClusters = clamp(figures.f_blocks);
  return geometry;
}

StatvfsDiskSpace::StatvfsDiskSpace(std::chrono::milliseconds wait, QueryFn query)
    : wait_(wait), query_(std::move(query)) {}

bool StatvfsDiskSpace::MayHang(const DriveInfo& drive) {
  // A local disk answers from memory; network file systems and FUSE daemons
  // answer over a wire or a pipe, and a dying removable device can stall.
  if (drive.kind == DriveKind::RamDisk) {
    return false;
  }
  if (drive.kind == DriveKind::Fixed) {
    return drive.fsType.rfind("fuse", 0) == 0;
  }
  return true;
}

std::optional<DiskGeometry> StatvfsDiskSpace::Query(const DriveInfo& drive) {
  if (drive.mountPoint.empty()) {
    return std::nullopt;
  }
  if (MayHang(drive)) {
    return QueryWithDeadline(drive.mountPoint);
  }
  struct statvfs figures {};
  if (query_(drive.mountPoint.c_str(), &figures) != 0) {
    return std::nullopt;
  }
  return GeometryFrom(figures);
}

std::optional<DiskGeometry> StatvfsDiskSpace::QueryWithDeadline(const std::string& mountPoint) {
  std::shared_ptr<Pending> pending;
  {
    const std::lock_guard lock(mutex_);
    const auto it = running_.find(mountPoint);
    if (it != running_.end()) {
      const std::lock_guard pendingLock(it->second->mutex);
      if (!it->second->done) {
        // Still hanging: a second thread would only hang beside it.
        return std::nullopt;
      }
      running_.erase(it);
    }
    pending = std::make_shared<Pending>();
    // The worker cannot be joined if the mount never answers, so it is
    // detached and owns copies of everything it touches.
    try {
      std::thread([pending, query = query_, path = mountPoint] {
        struct statvfs figures {};
        std::optional<DiskGeometry> result;
        if (query(path.c_str(), &figures) == 0) {
          result = GeometryFrom(figures);
        }
        const std::lock_guard pendingLock(pending->mutex);
        pending->result = result;
        pending->done = true;
        pending->finished.notify_all();
      }).detach();
    } catch (const std::system_error&) {
      return std::nullopt;
    }
    running_[mountPoint] = pending;
  }

  std::optional<DiskGeometry> result;
  {
    std::unique_lock pendingLock(pending->mutex);
    if (!pending->finished.wait_for(pendingLock, wait_, [&] { return pending->done; })) {
      // Left in running_, so the next query of this mount returns at once.
      return std::nullopt;
    }
    result = pending->result;
  }
  const std::lock_guard lock(mutex_);
  const auto it = running_.find(mountPoint);
  if (it != running_.end() && it->second == pending) {
    running_.erase(it);
  }
  return result;
}

}  // namespace zub
