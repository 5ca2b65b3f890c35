// Listing one directory into a grid, and the depth-first walk that hands
// every file matching a mask to a visitor.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "files/FileEntry.h"
#include "files/FileGrid.h"
#include "files/SortGrid.h"
#include "platform/DirectorySource.h"

namespace zub {

struct Listing {
  std::string directory;  // the listed directory (the window's ListedDirectory)
  std::int64_t count = 0;
  std::int64_t total = 0;
  std::string caption;  // "Directory " and the path
  bool readable = false;
};

// Lists the files (everything that is not a directory) of `directory` into
// `grid`, in enumeration order, then sorts them by `key` when there are two
// or more. A directory that cannot be read lists as empty.
Listing ListDirectory(DirectorySource& source, const std::string& directory, FileGrid& grid,
                      SortKey key, SortDirection direction);

// Called once per matching file with its directory's path (ending in "/");
// false stops the whole walk.
using FileVisitor = std::function<bool(const std::string& directory, const FileEntry& entry)>;

// What long work asks between steps.
class WalkControl {
 public:
  virtual ~WalkControl() = default;
  // On entering each directory, before its files.
  virtual void EnteringDirectory(const std::string& directory) { (void)directory; }
  // At every cancel point (between file entries, before sort passes); true stops.
  virtual bool ShouldStop() = 0;
};

// A control that lets pending events through only when `interval` has
// passed since it last did, and stops when `stop` answers true.
class TimedWalkControl : public WalkControl {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  TimedWalkControl(
      std::function<void()> pump, std::function<bool()> stop,
      std::chrono::milliseconds interval = std::chrono::milliseconds(15),
      Clock clock = [] { return std::chrono::steady_clock::now(); });

  bool ShouldStop() override;
  int Pumps() const { return pumps_; }

 private:
  std::function<void()> pump_;
  std::function<bool()> stop_;
  std::chrono::milliseconds interval_;
  Clock clock_;
  std::chrono::steady_clock::time_point last_;
  int pumps_ = 0;
};

// The walk never holds more open directories than this, however deep the
// tree, and fewer when the source's budget is smaller.
inline constexpr std::size_t kWalkOpenDirectories = 64;

// From `start` (nothing when empty: a gone drive's directory is never read
// as the working directory; a link given as the start is followed): each
// directory's files matching `mask` in enumeration order, then its
// subdirectories in enumeration order, depth first. Every directory is
// entered, dot-directories too; links are not followed and no mount point is
// crossed (another device that is no mount, a btrfs subvolume, is walked).
// True when the walk ran to its end; false when the visitor or the control
// stopped it.
bool WalkDirectoryTree(DirectorySource& source, const std::string& start, const std::string& mask,
                       const FileVisitor& visitor, WalkControl* control = nullptr);

}  // namespace zub

namespace zub {

// The subdirectories a directory chooser offers: every one (dot-directories
// too), not links, in byte order of their names. Empty when the directory
// cannot be read.
std::vector<std::string> SubdirectoryNames(DirectorySource& source, const std::string& path);

}  // namespace zub
