#include "platform/linux/LinuxDirectorySource.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

#include "platform/linux/PosixFile.h"

namespace zub {
namespace {

using linux_platform::UniqueFd;

constexpr std::size_t kMostOpen = 64;
constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

EntryKind KindOfMode(mode_t mode) {
  if (S_ISDIR(mode)) {
    return EntryKind::Directory;
  }
  if (S_ISREG(mode)) {
    return EntryKind::Regular;
  }
  if (S_ISLNK(mode)) {
    return EntryKind::Link;
  }
  return EntryKind::Other;
}

EntryKind KindOfType(unsigned char type) {
  switch (type) {
    case DT_DIR:
      return EntryKind::Directory;
    case DT_REG:
      return EntryKind::Regular;
    case DT_LNK:
      return EntryKind::Link;
    case DT_UNKNOWN:
      return EntryKind::Unknown;
    default:
      return EntryKind::Other;
  }
}

EntryStat FromStat(const struct stat& st) {
  return {KindOfMode(st.st_mode), static_cast<std::int64_t>(st.st_size),
          static_cast<std::uint32_t>(st.st_mode), static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino)};
}

class LinuxOpenDirectory : public OpenDirectory {
 public:
  LinuxOpenDirectory(UniqueFd fd, DirectoryId id, MountFacts mount)
      : fd_(std::move(fd)), id_(id), mount_(mount) {}

  DirectoryId Id() const override { return id_; }

  bool ReadAll(std::vector<RawEntry>& out) override {
    out.clear();
    // getdents64 straight from the descriptor: readdir would need a DIR*
    // that owns it, and one large buffer means few system calls.
    alignas(8) char buffer[64 * 1024];
    for (;;) {
      const ssize_t got = ::getdents64(fd_.Get(), buffer, sizeof buffer);
      if (got == 0) {
        return true;
      }
      if (got < 0) {
        if (errno == EINTR) {
          continue;
        }
        return false;
      }
      for (ssize_t at = 0; at < got;) {
        const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
        at += entry->d_reclen;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
          continue;
        }
        out.push_back({std::string(name), KindOfType(entry->d_type)});
      }
    }
  }

  std::optional<EntryStat> Stat(const std::string& name) override {
    struct stat st {};
    if (::fstatat(fd_.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      return std::nullopt;
    }
    return FromStat(st);
  }

  MountFacts Mount() const override { return mount_; }

  std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) override {
    OpenFailure why = OpenFailure::None;
    return TryOpenChild(name, why);
  }

  std::unique_ptr<OpenDirectory> TryOpenChild(const std::string& name, OpenFailure& why) override {
    UniqueFd child(::openat(fd_.Get(), name.c_str(), kDirectoryFlags));
    std::unique_ptr<OpenDirectory> dir = Wrap(std::move(child));
    why = dir ? OpenFailure::None
              : (errno == EMFILE || errno == ENFILE ? OpenFailure::TooManyOpen
                                                    : OpenFailure::Unavailable);
    return dir;
  }

  // The identity and mount facts come from one statx of the descriptor, so
  // telling a mount point (never crossed) from a subvolume (walked) costs
  // the walk no extra call.
  static std::unique_ptr<OpenDirectory> Wrap(UniqueFd fd) {
    if (!fd.Valid()) {
      return nullptr;
    }
    struct statx stx {};
    if (::statx(fd.Get(), "", AT_EMPTY_PATH | AT_NO_AUTOMOUNT,
                STATX_TYPE | STATX_INO | STATX_MNT_ID, &stx) == 0) {
      MountFacts mount;
      mount.rootKnown = (stx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0;
      mount.root = (stx.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
      mount.idKnown = (stx.stx_mask & STATX_MNT_ID) != 0;
      mount.mountId = stx.stx_mnt_id;
      const DirectoryId id{
          static_cast<std::uint64_t>(makedev(stx.stx_dev_major, stx.stx_dev_minor)),
          static_cast<std::uint64_t>(stx.stx_ino)};
      return std::make_unique<LinuxOpenDirectory>(std::move(fd), id, mount);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) {
      return nullptr;
    }
    return std::make_unique<LinuxOpenDirectory>(
        std::move(fd),
        DirectoryId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)},
        MountFacts{});
  }

 private:
  UniqueFd fd_;
  DirectoryId id_;
  MountFacts mount_;
};

// Opens the directory holding the last component of `path` and gives that
// component, for paths too long for one system call: the leading components
// are taken in pieces shorter than PATH_MAX.
UniqueFd OpenLongParent(const std::string& path, std::string& last) {
  const std::size_t slash = path.find_last_of('/');
  last = path.substr(slash + 1);
  const std::string parent = path.substr(0, slash + 1);
  std::size_t at = 0;
  UniqueFd dir(::open(parent[0] == '/' ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  while (dir.Valid() && at < parent.size()) {
    while (at < parent.size() && parent[at] == '/') {
      ++at;
    }
    if (at == parent.size()) {
      break;
    }
    std::size_t end = at;
    for (std::size_t next = at; next < parent.size();) {
      const std::size_t cut = parent.find('/', next);
      if (cut - at >= PATH_MAX - 1) {
        break;
      }
      end = cut;
      next = cut + 1;
    }
    if (end == at) {
      errno = ENAMETOOLONG;  // one component longer than PATH_MAX
      return UniqueFd();
    }
    const std::string piece = parent.substr(at, end - at);
    dir = UniqueFd(::openat(dir.Get(), piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    at = end;
  }
  return dir;
}

}  // namespace

std::unique_ptr<OpenDirectory> LinuxDirectorySource::Open(const std::string& path) {
  if (path.empty()) {
    return nullptr;  // no directory (a gone drive's), never the working one
  }
  const std::string& target = path;
  if (target.size() < PATH_MAX) {
    return LinuxOpenDirectory::Wrap(
        UniqueFd(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
  }
  std::string last;
  const UniqueFd parent = OpenLongParent(target, last);
  if (!parent.Valid()) {
    return nullptr;
  }
  return LinuxOpenDirectory::Wrap(UniqueFd(::openat(parent.Get(), last.empty() ? "." : last.c_str(),
                                                    O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
}

std::size_t LinuxDirectorySource::OpenBudget() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return kMostOpen;
  }
  std::size_t held = 0;
  if (DIR* fds = ::opendir("/proc/self/fd")) {
    while (::readdir(fds) != nullptr) {
      ++held;
    }
    ::closedir(fds);
  }
  // Half of what is left: the rest of the program (and its other threads)
  // opens files too.
  const std::size_t left = limit.rlim_cur > held ? limit.rlim_cur - held : 0;
  return std::clamp<std::size_t>(left / 2, 2, kMostOpen);
}

PathState LinuxDirectorySource::StatPath(const std::string& path) {
  if (path.empty()) {
    return PathState::Absent;
  }
  struct stat st {};
  int result = 0;
  if (path.size() < PATH_MAX) {
    result = ::fstatat(AT_FDCWD, path.c_str(), &st, AT_SYMLINK_NOFOLLOW);
  } else {
    std::string last;
    const UniqueFd parent = OpenLongParent(path, last);
    if (!parent.Valid()) {
      return errno == ENOENT || errno == ENOTDIR ? PathState::Absent : PathState::Unknown;
    }
    result = ::fstatat(parent.Get(), last.empty() ? "." : last.c_str(), &st, AT_SYMLINK_NOFOLLOW);
  }
  if (result != 0) {
    return errno == ENOENT || errno == ENOTDIR ? PathState::Absent : PathState::Unknown;
  }
  return S_ISDIR(st.st_mode) ? PathState::Directory : PathState::File;
}

}  // namespace zub
