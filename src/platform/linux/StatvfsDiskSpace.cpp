#include "platform/linux/StatvfsDiskSpace.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

namespace zub {
namespace {

using linux_platform::MillisecondsLeft;
using linux_platform::UniqueFd;
using Clock = std::chrono::steady_clock;

// A helper's answer: one write well under PIPE_BUF, so it arrives whole or not at all.
struct Answer {
  int status = -1;
  struct statvfs figures {};
};
static_assert(sizeof(Answer) <= PIPE_BUF);

// A query stuck in the kernel (a FUSE or NFS request cannot be interrupted)
// holds its process for as long as the server stays silent. So it runs in a
// process of its own that keeps nothing of the program: every inherited
// descriptor but the answer pipe is closed, or a stuck helper would hold the
// program's output open (and its locks) after the program has ended.
[[noreturn]] void RunHelper(int answerFd, const StatvfsDiskSpace::QueryFn& query,
                            const std::string& path) {
  sigset_t all;
  sigfillset(&all);
  ::sigprocmask(SIG_SETMASK, &all, nullptr);  // the program's handlers are not its own
  if (answerFd > 0) {
    ::close_range(0, static_cast<unsigned>(answerFd) - 1, 0);
  }
  ::close_range(static_cast<unsigned>(answerFd) + 1, ~0U, 0);
  Answer answer;
  answer.status = query(path.c_str(), &answer.figures);
  [[maybe_unused]] const auto written = ::write(answerFd, &answer, sizeof answer);
  ::_exit(0);
}

// Starts a helper holding `answerFd`. It is a grandchild whose parent ends at
// once, so init reaps it whenever it finishes and the program waits for no
// one. A helper that cannot be made closes the pipe unanswered.
bool StartHelper(int answerFd, const StatvfsDiskSpace::QueryFn& query, const std::string& path) {
  const pid_t middle = ::fork();
  if (middle < 0) {
    return false;
  }
  if (middle == 0) {
    if (::fork() == 0) {
      RunHelper(answerFd, query, path);
    }
    ::_exit(0);
  }
  while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  return true;
}

// Whether the helper has answered or ended by `deadline`.
bool Finished(int answerFd, Clock::time_point deadline) {
  for (;;) {
    pollfd answer{answerFd, POLLIN, 0};
    const int ready = ::poll(&answer, 1, MillisecondsLeft(deadline));
    if (ready >= 0 || errno != EINTR) {
      return ready != 0;
    }
  }
}

std::optional<DiskGeometry> ReadAnswer(int answerFd) {
  Answer answer;
  ssize_t n = 0;
  do {
    n = ::read(answerFd, &answer, sizeof answer);
  } while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(sizeof answer) || answer.status != 0) {
    return std::nullopt;  // the query failed, or the helper died without a word
  }
  return GeometryFrom(answer.figures);
}

}  // namespace

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
  const auto deadline = Clock::now() + wait_;
  std::shared_ptr<UniqueFd> answer;
  {
    const std::lock_guard lock(mutex_);
    const auto it = running_.find(mountPoint);
    if (it != running_.end()) {
      if (!Finished(it->second->Get(), Clock::now())) {
        // Still hanging: a second helper would only hang beside it.
        return std::nullopt;
      }
      running_.erase(it);  // a late answer is stale by now
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
      return std::nullopt;
    }
    answer = std::make_shared<UniqueFd>(ends[0]);
    // Closed here once the helper has its copy: a helper that dies then ends the wait.
    const UniqueFd helperEnd(ends[1]);
    if (!StartHelper(helperEnd.Get(), query_, mountPoint)) {
      return std::nullopt;
    }
    running_[mountPoint] = answer;
  }

  if (!Finished(answer->Get(), deadline)) {
    // Left in running_, so the next query of this mount returns at once.
    return std::nullopt;
  }
  const auto result = ReadAnswer(answer->Get());
  const std::lock_guard lock(mutex_);
  const auto it = running_.find(mountPoint);
  if (it != running_.end() && it->second == answer) {
    running_.erase(it);
  }
  return result;
}

}  // namespace zub
