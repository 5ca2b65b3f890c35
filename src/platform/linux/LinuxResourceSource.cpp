#include "platform/linux/LinuxResourceSource.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <limits>

#include "platform/linux/Percent.h"
#include "platform/linux/PosixFile.h"
#include "platform/linux/ProcText.h"

namespace zub {

namespace {

using linux_platform::ReadWholeFile;
using linux_platform::UniqueDir;

// Larger tables do not exist; the bound keeps `used * 100` within 64 bits.
constexpr std::uint64_t kMaxTable = std::uint64_t{1} << 40;

std::optional<std::uint64_t> ParseWholeNumber(std::string_view token) {
  return linux_platform::ParseUnsigned(token, kMaxTable);
}

// The first whitespace-separated token after `name` on the line starting with it.
std::optional<std::string_view> FieldOf(std::string_view text, std::string_view name) {
  auto value = linux_platform::FieldValue(text, name);
  if (!value) {
    return std::nullopt;
  }
  return linux_platform::NextToken(*value);
}

bool IsAllDigits(const char* name) {
  if (*name == '\0') {
    return false;
  }
  for (; *name != '\0'; ++name) {
    if (*name < '0' || *name > '9') {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::uint64_t> ParseLoadavgTasks(std::string_view loadavg) {
  // "0.28 0.11 0.05 1/116 5459": the fourth field is running/total.
  std::string_view rest = linux_platform::Trim(loadavg);
  for (int field = 0; field < 3; ++field) {
    const std::size_t space = rest.find(' ');
    if (space == std::string_view::npos) {
      return std::nullopt;
    }
    rest = rest.substr(space + 1);
  }
  const std::size_t end = rest.find(' ');
  const std::string_view tasks = rest.substr(0, end);
  const std::size_t slash = tasks.find('/');
  if (slash == std::string_view::npos || !ParseWholeNumber(tasks.substr(0, slash))) {
    return std::nullopt;
  }
  return ParseWholeNumber(tasks.substr(slash + 1));
}

std::optional<std::uint64_t> ParseSingleNumber(std::string_view text) {
  return ParseWholeNumber(linux_platform::Trim(text));
}

std::optional<TaskOwner> ParseTaskOwner(std::string_view statusText) {
  const auto uid = FieldOf(statusText, "Uid:");
  const auto threads = FieldOf(statusText, "Threads:");
  if (!uid || !threads) {
    return std::nullopt;
  }
  const auto realUid = linux_platform::ParseUnsigned(*uid, std::numeric_limits<uid_t>::max());
  const auto threadCount = ParseWholeNumber(*threads);
  if (!realUid || !threadCount) {
    return std::nullopt;
  }
  return TaskOwner{static_cast<uid_t>(*realUid), *threadCount};
}

ResourceReading FreeShare(std::optional<std::uint64_t> used, std::optional<std::uint64_t> limit) {
  if (!limit || *limit == 0) {
    return {ResourceReading::Status::TableUnavailable, 0};
  }
  if (!used) {
    return {ResourceReading::Status::CountUnavailable, 0};
  }
  // Huge limits (RLIMIT_NOFILE of a million and more) are scaled down
  // together with the count, which keeps the share.
  std::uint64_t whole = *limit;
  std::uint64_t part = *used;
  while (whole > kMaxTable) {
    whole /= 2;
    part /= 2;
  }
  const std::uint64_t freePart = part < whole ? whole - part : 0;
  return {ResourceReading::Status::Ok,
          static_cast<int>(linux_platform::PercentHalfEven(freePart, whole))};
}

LinuxResourceSource::LinuxResourceSource(std::string procRoot, uid_t uid, LimitFn softLimit)
    : procRoot_(std::move(procRoot)), uid_(uid), softLimit_(std::move(softLimit)) {}

std::optional<std::uint64_t> LinuxResourceSource::ProcessSoftLimit(Limit limit) {
  struct rlimit value {};
  const int failed = limit == Limit::OpenFiles ? ::getrlimit(RLIMIT_NOFILE, &value)
                                               : ::getrlimit(RLIMIT_NPROC, &value);
  if (failed != 0 || value.rlim_cur == RLIM_INFINITY) {
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(value.rlim_cur);
}

std::optional<std::uint64_t> LinuxResourceSource::ReadNumber(
    const std::string& relativePath) const {
  const auto text = ReadWholeFile(procRoot_ + "/" + relativePath);
  if (!text) {
    return std::nullopt;
  }
  return ParseSingleNumber(*text);
}

std::optional<std::uint64_t> LinuxResourceSource::CountOpenDescriptors() const {
  const UniqueDir dir(::opendir((procRoot_ + "/self/fd").c_str()));
  if (!dir.Valid()) {
    return std::nullopt;
  }
  // The listing's own descriptor shows up in it and is not the program's.
  const std::string own = std::to_string(::dirfd(dir.Get()));
  std::uint64_t count = 0;
  while (const dirent* entry = ::readdir(dir.Get())) {
    if (IsAllDigits(entry->d_name) && own != entry->d_name) {
      ++count;
    }
  }
  return count;
}

std::optional<std::uint64_t> LinuxResourceSource::CountUserTasks() const {
  const UniqueDir dir(::opendir(procRoot_.c_str()));
  if (!dir.Valid()) {
    return std::nullopt;
  }
  // RLIMIT_NPROC counts the threads of the real user id.
  std::uint64_t count = 0;
  while (const dirent* entry = ::readdir(dir.Get())) {
    if (!IsAllDigits(entry->d_name)) {
      continue;
    }
    // A process that ended since the listing simply no longer counts.
    const auto text = ReadWholeFile(procRoot_ + "/" + entry->d_name + "/status");
    if (!text) {
      continue;
    }
    const auto owner = ParseTaskOwner(*text);
    if (owner && owner->realUid == uid_) {
      count += owner->threads;
    }
  }
  return count;
}

ResourceReading LinuxResourceSource::Read(int index) {
  switch (index) {
    case 0: {
      const auto limit = ReadNumber("sys/kernel/threads-max");
      if (!limit) {
        return FreeShare(std::nullopt, std::nullopt);
      }
      const auto loadavg = ReadWholeFile(procRoot_ + "/loadavg");
      return FreeShare(loadavg ? ParseLoadavgTasks(*loadavg) : std::nullopt, limit);
    }
    case 1: {
      auto limit = softLimit_(Limit::OpenFiles);
      if (!limit) {
        // The kernel caps descriptors at fs.nr_open even without a soft limit.
        limit = ReadNumber("sys/fs/nr_open");
      }
      if (!limit) {
        return FreeShare(std::nullopt, std::nullopt);
      }
      return FreeShare(CountOpenDescriptors(), limit);
    }
    case 2: {
      auto limit = softLimit_(Limit::Tasks);
      if (!limit) {
        limit = ReadNumber("sys/kernel/threads-max");
      }
      if (!limit) {
        return FreeShare(std::nullopt, std::nullopt);
      }
      return FreeShare(CountUserTasks(), limit);
    }
    default:
      return FreeShare(std::nullopt, std::nullopt);
  }
}

}  // namespace zub
