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
#include <string_view>
#include <vector>

#include "platform/DiskSpace.h"

namespace zub {

// The figures `df -B1` shows: avail and size, in fragment-sized clusters.
std::optional<DiskGeometry> GeometryFrom(const struct statvfs& figures);
// "FRAGMENT TOTAL AVAILABLE\n", as the helper prints them; nothing for anything else.
std::optional<DiskGeometry> GeometryFromText(std::string_view text);

class StatvfsDiskSpace : public DiskSpace {
 public:
  using QueryFn = std::function<int(const char* path, struct statvfs* out)>;

  // `query` asks a drive that answers from memory. A drive that may hang is
  // asked by a helper program instead: `helper` and the mount point as its
  // last argument, printing the three figures GeometryFromText reads.
  explicit StatvfsDiskSpace(std::chrono::milliseconds wait = std::chrono::seconds(1),
                            QueryFn query = ::statvfs,
                            std::vector<std::string> helper = {"/usr/bin/stat", "--file-system",
                                                               "--format=%S %b %a", "--"});
  ~StatvfsDiskSpace() override;
  StatvfsDiskSpace(const StatvfsDiskSpace&) = delete;
  StatvfsDiskSpace& operator=(const StatvfsDiskSpace&) = delete;

  std::optional<DiskGeometry> Query(const DriveInfo& drive) override;

 private:
  struct Helper;

  // Whether a query on this drive may hang, so it is left to a helper.
  static bool MayHang(const DriveInfo& drive);
  std::optional<DiskGeometry> QueryWithDeadline(const std::string& mountPoint);

  std::chrono::milliseconds wait_;
  QueryFn query_;
  std::vector<std::string> helper_;
  std::mutex mutex_;
  // Helpers not yet heard from, by mount point; one that outlived its
  // deadline stays here until it finishes.
  std::map<std::string, std::shared_ptr<Helper>> running_;
};

}  // namespace zub
