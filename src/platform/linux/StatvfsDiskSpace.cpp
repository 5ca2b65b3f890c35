#include "platform/linux/StatvfsDiskSpace.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <limits>

#include "platform/linux/PosixFile.h"

namespace zub {
namespace {

using linux_platform::MillisecondsLeft;
using linux_platform::UniqueFd;
using Clock = std::chrono::steady_clock;

// A bound on what a helper may print; its answer is one short line.
constexpr std::size_t kMaxAnswer = 256;

// A posix_spawn setting made and destroyed with its pair of functions.
template <typename T, int (*Init)(T*), int (*Destroy)(T*)>
class SpawnSetting {
 public:
  SpawnSetting() { Init(&value_); }
  ~SpawnSetting() { Destroy(&value_); }
  SpawnSetting(const SpawnSetting&) = delete;
  SpawnSetting& operator=(const SpawnSetting&) = delete;
  T* Get() { return &value_; }

 private:
  T value_{};
};
using SpawnActions = SpawnSetting<posix_spawn_file_actions_t, posix_spawn_file_actions_init,
                                  posix_spawn_file_actions_destroy>;
using SpawnAttributes =
    SpawnSetting<posix_spawnattr_t, posix_spawnattr_init, posix_spawnattr_destroy>;

// Reads the helper's output until it ends or `deadline`; false when it has
// not ended by then.
bool ReadToEnd(int fd, std::string& text, Clock::time_point deadline) {
  for (;;) {
    pollfd output{fd, POLLIN, 0};
    const int ready = ::poll(&output, 1, MillisecondsLeft(deadline));
    ssize_t n = -1;
    if (ready > 0) {
      char buffer[kMaxAnswer];
      n = ::read(fd, buffer, sizeof buffer);
      if (n > 0 && text.size() < kMaxAnswer) {
        text.append(buffer, static_cast<std::size_t>(n));
      }
    }
    if (n == 0) {
      return true;
    }
    if (ready == 0 || (n < 0 && errno != EINTR)) {
      return false;
    }
  }
}

}  // namespace

// A query stuck in the kernel (a FUSE or NFS request cannot be interrupted)
// holds its process for as long as the server stays silent, and a thread
// stuck there keeps the whole program, and its open output, from ending. So
// a drive that may hang is asked by a program of its own, started with
// posix_spawn (no copy of this process's memory) and given nothing of it:
// /dev/null, the answer pipe, default signals.
struct StatvfsDiskSpace::Helper {
  pid_t pid = -1;
  UniqueFd output;
  std::string text;
  // Its caller stopped waiting; guarded by the owner's mutex. Only then may
  // another query read what it says.
  bool abandoned = false;

  static std::shared_ptr<Helper> Start(const std::vector<std::string>& command,
                                       const std::string& path) {
    int ends[2];
    if (command.empty() || ::pipe2(ends, O_CLOEXEC) != 0) {
      return nullptr;
    }
    auto helper = std::make_shared<Helper>();
    helper->output = UniqueFd(ends[0]);
    const UniqueFd answer(ends[1]);  // closed once the helper has its copy

    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.Get(), answer.Get(), 1);
    posix_spawn_file_actions_addopen(actions.Get(), 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(actions.Get(), 3);
    SpawnAttributes attributes;
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(attributes.Get(), &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(attributes.Get(), &signals);
    posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    for (const std::string& word : command) {
      argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(const_cast<char*>(path.c_str()));
    argv.push_back(nullptr);
    char locale[] = "LC_ALL=C";
    char* environment[] = {locale, nullptr};
    if (posix_spawn(&helper->pid, argv[0], actions.Get(), attributes.Get(), argv.data(),
                    environment) != 0) {
      return nullptr;
    }
    return helper;
  }

  // Waits for the end of its output until `deadline`, then for its end:
  // false while it still runs.
  bool Finish(Clock::time_point deadline) {
    if (!ReadToEnd(output.Get(), text, deadline)) {
      return false;
    }
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return true;
  }
};

std::optional<DiskGeometry> GeometryFromText(std::string_view text) {
  std::uint64_t values[3] = {};
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (std::uint64_t& value : values) {
    while (at < end && *at == ' ') {
      ++at;
    }
    const auto [next, error] = std::from_chars(at, end, value);
    if (error != std::errc{}) {
      return std::nullopt;
    }
    at = next;
  }
  if (std::string_view(at, static_cast<std::size_t>(end - at)) != "\n") {
    return std::nullopt;
  }
  struct statvfs figures {};
  figures.f_frsize = values[0];
  figures.f_blocks = values[1];
  figures.f_bavail = values[2];
  return GeometryFrom(figures);
}

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

StatvfsDiskSpace::StatvfsDiskSpace(std::chrono::milliseconds wait, QueryFn query,
                                   std::vector<std::string> helper)
    : wait_(wait), query_(std::move(query)), helper_(std::move(helper)) {}

StatvfsDiskSpace::~StatvfsDiskSpace() {
  // One still stuck is left behind; it is reaped once this program has ended.
  for (const auto& [mountPoint, helper] : running_) {
    helper->Finish(Clock::now());
  }
}

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
  const auto deadline = Clock::now() + wait_;
  std::shared_ptr<Helper> helper;
  {
    const std::lock_guard lock(mutex_);
    const auto it = running_.find(mountPoint);
    if (it != running_.end()) {
      if (!it->second->abandoned || !it->second->Finish(Clock::now())) {
        // Asked already, or still hanging: a second helper would only hang beside it.
        return std::nullopt;
      }
      running_.erase(it);  // a late answer is stale by now
    }
    helper = Helper::Start(helper_, mountPoint);
    if (!helper) {
      return std::nullopt;
    }
    running_[mountPoint] = helper;
  }

  const bool finished = helper->Finish(deadline);
  const std::lock_guard lock(mutex_);
  if (!finished) {
    // Left in running_, so the next query of this mount returns at once.
    helper->abandoned = true;
    return std::nullopt;
  }
  running_.erase(mountPoint);
  return GeometryFromText(helper->text);
}

}  // namespace zub
