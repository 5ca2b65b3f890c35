#include "platform/linux/XdgSettingsFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <thread>
#include <vector>

#include "platform/linux/PosixFile.h"

namespace zub {

namespace {

using linux_platform::UniqueFd;

constexpr std::string_view kRelativePath = "zub97/registry.ini";

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string HomeFromPasswd() {
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr) {
    return {};
  }
  return found->pw_dir;
}

StoredText LoadFrom(const std::string& path) {
  // O_NONBLOCK: a FIFO put in the file's place must not hang the program.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd.Valid()) {
    // Only a file that is not there is missing; anything else (no
    // permission, a path through a file) must not be mistaken for "empty".
    return {errno == ENOENT ? StoredText::State::Missing : StoredText::State::Unreadable, {}};
  }
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    return {StoredText::State::Unreadable, {}};
  }
  auto read = linux_platform::ReadAll(fd.Get());
  if (!read) {
    return {StoredText::State::Unreadable, {}};
  }
  return {StoredText::State::Present, std::move(*read)};
}

// mkdir -p, new directories private to the user.
bool MakeDirectories(const std::string& directory) {
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = directory.find('/', pos + 1);
    const std::string part = directory.substr(0, pos);
    if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      return false;
    }
  }
  struct stat st {};
  return ::stat(directory.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Where a chain of links ends (the file itself when `path` is no link);
// nothing for a loop. The end need not exist: a dangling link names the
// file to make.
std::optional<std::string> FollowLinks(std::string path) {
  constexpr int kMaxLinks = 40;  // the kernel's own limit
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      return path;
    }
    std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) {
      return std::nullopt;  // changed while read; the next rewrite tries again
    }
    const std::string next(target.data(), static_cast<std::size_t>(n));
    path = next.front() == '/' ? next : DirectoryOf(path) + "/" + next;
  }
  return std::nullopt;
}

bool LockWithin(int fd, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      return true;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      return false;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    // Writers hold the lock for a few milliseconds; polling keeps a writer
    // stuck on a dead home directory from freezing this one for good.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

XdgSettingsFile::XdgSettingsFile(std::string path, bool writable,
                                 std::chrono::milliseconds lockWait)
    : path_(std::move(path)),
      directory_(DirectoryOf(path_)),
      writable_(writable),
      lockWait_(lockWait) {}

std::string XdgSettingsFile::UserFilePath(std::string_view xdgConfigHome, std::string_view home) {
  // XDG base directory rules: a relative $XDG_CONFIG_HOME is invalid and ignored.
  if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
    return std::string(xdgConfigHome) + "/" + std::string(kRelativePath);
  }
  std::string base(home);
  while (base.size() > 1 && base.back() == '/') {
    base.pop_back();
  }
  if (base == "/") {
    base.clear();
  }
  return base + "/.config/" + std::string(kRelativePath);
}

XdgSettingsFile XdgSettingsFile::ForUser(const char* xdgConfigHome, const char* home) {
  std::string homeDir = home != nullptr ? home : "";
  if (homeDir.empty()) {
    homeDir = HomeFromPasswd();
  }
  return XdgSettingsFile(UserFilePath(xdgConfigHome != nullptr ? xdgConfigHome : "", homeDir),
                         true);
}

XdgSettingsFile XdgSettingsFile::ForMachine(const std::string& systemConfigDir) {
  return XdgSettingsFile(systemConfigDir + "/" + std::string(kRelativePath), false);
}

StoredText XdgSettingsFile::Load() {
  return LoadFrom(path_);
}

bool XdgSettingsFile::Rewrite(const std::function<std::string(const std::string&)>& edit) {
  if (!writable_ || !MakeDirectories(directory_)) {
    return false;
  }
  // The lock lives on a file of its own: a lock on the settings file would
  // stay on the old inode that rename() replaces, and a second writer
  // opening the new file would not see it.
  const UniqueFd lock(::open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!lock.Valid() || !LockWithin(lock.Get(), lockWait_)) {
    return false;
  }

  // A settings file that is a link (into a dotfiles folder, say) is updated
  // where it points: the file there is replaced in its own directory, and
  // the link stays a link.
  const auto target = FollowLinks(path_);
  if (!target) {
    return false;
  }
  const StoredText current = LoadFrom(*target);
  if (current.state == StoredText::State::Unreadable) {
    return false;
  }
  // The user may have opened the file up (0644) or closed it further; a
  // new file is private.
  struct stat old {};
  const mode_t mode = ::stat(target->c_str(), &old) == 0 ? (old.st_mode & 0777) : 0600;
  const std::string next = edit(current.text);

  // Under the lock no other writer has a temporary file open, so one found
  // here was left by a writer that died.
  const std::string temporary = *target + ".new";
  if (::unlink(temporary.c_str()) != 0 && errno != ENOENT) {
    return false;
  }
  UniqueFd out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!out.Valid()) {
    return false;
  }
  // fchmod: the umask must not loosen or tighten the file's mode.
  const bool written = ::fchmod(out.Get(), mode) == 0 &&
                       linux_platform::WriteAll(out.Get(), next) && ::fsync(out.Get()) == 0;
  if (!out.Close() || !written || ::rename(temporary.c_str(), target->c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // One fsync, of the new content before the rename, so the name never
  // points at unwritten blocks. The directory is not synced: after a power
  // cut the rename may be lost, which leaves the whole old file.
  return true;
}

}  // namespace zub
