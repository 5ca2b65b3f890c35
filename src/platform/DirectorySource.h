// The entries of one directory at a time: name bytes, kind, and the size and
// mode only of the entries a caller asks about. Directories are opened
// relative to an open parent, so neither path length nor depth limits a walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zub {

enum class EntryKind : std::uint8_t {
  Unknown,  // the enumeration did not say; a stat will
  Directory,
  Regular,
  Link,
  Other,  // FIFO, socket, device: listed, never opened
};

struct RawEntry {
  std::string name;  // bytes as the kernel gives them, never "." or ".."
  EntryKind kind = EntryKind::Unknown;
};

// What an lstat-like query tells about one entry (links are not followed).
struct EntryStat {
  EntryKind kind = EntryKind::Other;
  std::int64_t size = 0;
  std::uint32_t mode = 0;  // st_mode
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
};

// A directory's identity: a replaced directory gets another one.
struct DirectoryId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const DirectoryId&) const = default;
};

// Whether a directory is the root of a mount, as far as the system tells:
// the attribute itself, else the mount's id (a child on another mount than
// its parent is a mount's root), else nothing.
struct MountFacts {
  bool rootKnown = false;
  bool root = false;
  bool idKnown = false;
  std::uint64_t mountId = 0;
};

// Why a directory could not be opened. Too many open files is no answer
// about the directory: a walk closes some of its own and asks again.
enum class OpenFailure : std::uint8_t { None, Unavailable, TooManyOpen };

class OpenDirectory {
 public:
  virtual ~OpenDirectory() = default;

  virtual DirectoryId Id() const = 0;
  virtual MountFacts Mount() const { return {}; }
  // Every entry but "." and "..", in enumeration order, into `out` (cleared
  // first). False when the reading failed part way; what was read is kept.
  virtual bool ReadAll(std::vector<RawEntry>& out) = 0;
  // The entry `name` of this directory, links not followed; nothing when it
  // vanished or cannot be asked about.
  virtual std::optional<EntryStat> Stat(const std::string& name) = 0;
  // The subdirectory `name`; nothing when it is not a directory (a link to
  // one included), vanished or refuses access.
  virtual std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) = 0;
  // OpenChild, saying why when it gives nothing.
  virtual std::unique_ptr<OpenDirectory> TryOpenChild(const std::string& name, OpenFailure& why) {
    std::unique_ptr<OpenDirectory> child = OpenChild(name);
    why = child ? OpenFailure::None : OpenFailure::Unavailable;
    return child;
  }
};

// What a path names now, links not followed.
enum class PathState { Absent, File, Directory, Unknown };

class DirectorySource {
 public:
  virtual ~DirectorySource() = default;

  // The directory at `path` (followed if it is a link, as a user's choice
  // is); nothing when it cannot be opened.
  virtual std::unique_ptr<OpenDirectory> Open(const std::string& path) = 0;
  // Absent only when the path is positively gone (ENOENT, ENOTDIR).
  virtual PathState StatPath(const std::string& path) = 0;
  // How many directories one walk may hold open at once, given what the
  // process may open and already holds.
  virtual std::size_t OpenBudget() { return 64; }
  // True when its directories may be read and asked about from two threads
  // at once, so a walk can use two cores.
  virtual bool ConcurrentReads() const { return false; }
  // True once the source answers nothing more (its owner stopped it): a walk
  // then ends without entering the directories it had read ahead.
  virtual bool Stopped() const { return false; }
};

}  // namespace zub
