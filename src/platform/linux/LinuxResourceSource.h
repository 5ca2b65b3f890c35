// Free share of three bounded kernel tables, standing for the classic
// resource heaps: 0 System = the machine's tasks against threads-max,
// 1 GDI = this process's descriptors against RLIMIT_NOFILE,
// 2 User = this user's tasks against RLIMIT_NPROC.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ResourceSource.h"

namespace zub {

// The total of the "running/total" field of /proc/loadavg: every task (thread) of the machine.
std::optional<std::uint64_t> ParseLoadavgTasks(std::string_view loadavg);

// A file holding one number, such as /proc/sys/kernel/threads-max.
std::optional<std::uint64_t> ParseSingleNumber(std::string_view text);

// Whose a process is and how many tasks it runs, from /proc/<pid>/status.
struct TaskOwner {
  uid_t realUid = 0;
  std::uint64_t threads = 0;
};
std::optional<TaskOwner> ParseTaskOwner(std::string_view statusText);

// The reading for `used` entries of a table of `limit`: rounded half to
// even, clamped to 0..100; the limit is checked first.
ResourceReading FreeShare(std::optional<std::uint64_t> used, std::optional<std::uint64_t> limit);

class LinuxResourceSource : public ResourceSource {
 public:
  enum class Limit { OpenFiles, Tasks };  // RLIMIT_NOFILE, RLIMIT_NPROC
  // The soft limit; nothing when unlimited.
  using LimitFn = std::function<std::optional<std::uint64_t>(Limit limit)>;

  explicit LinuxResourceSource(std::string procRoot = "/proc", uid_t uid = ::getuid(),
                               LimitFn softLimit = ProcessSoftLimit);

  ResourceReading Read(int index) override;

  static std::optional<std::uint64_t> ProcessSoftLimit(Limit limit);

 private:
  std::optional<std::uint64_t> ReadNumber(const std::string& relativePath) const;
  std::optional<std::uint64_t> CountOpenDescriptors() const;
  std::optional<std::uint64_t> CountUserTasks() const;

  std::string procRoot_;
  uid_t uid_;
  LimitFn softLimit_;
};

}  // namespace zub
