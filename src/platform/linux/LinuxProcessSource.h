// The process snapshot over /proc: every process in ascending pid order,
// each with the distinct files its maps show, and the pure parsers of the
// stat, cmdline and maps texts it reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProcessSource.h"

namespace zub {

// What the tree needs from /proc/<pid>/stat.
struct ProcStat {
  std::string comm;
  std::uint32_t threads = 0;
  std::int32_t nice = 0;
  std::uint32_t policy = 0;  // SCHED_OTHER 0, FIFO 1, RR 2, BATCH 3, IDLE 5, DEADLINE 6

  bool operator==(const ProcStat&) const = default;
};

// Nothing when the text is not a whole stat line.
std::optional<ProcStat> ParseProcStat(std::string_view text);

// 24 for the real-time policies; else 13, 10, 8, 6 or 4 from the nice value.
std::int32_t BasePriorityOf(std::uint32_t policy, std::int32_t nice);

// The process line's path: the exe link's target when it could be read, else
// the first argument of cmdline when it is an absolute path, else "[comm]".
std::string ExecutablePathOf(const std::optional<std::string>& exeTarget, std::string_view cmdline,
                             std::string_view comm);

// One file-backed mapping of a maps line.
struct MappedFile {
  std::uint64_t device = 0;  // major << 32 | minor
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::string_view path;  // into the parsed text
};

// The file a maps line maps; nothing for anonymous and pseudo mappings
// ("[heap]", "[vdso]", inode 0) and for a malformed line.
std::optional<MappedFile> ParseMapsLine(std::string_view line);

// A maps path as the file is named: the kernel writes a newline in a path as
// "\012" and every other byte, a backslash too, as it is.
std::string DecodeMapsPath(std::string_view path);

// The distinct files of a maps text in order of their first mapping, with
// the extents of each file's mappings summed.
std::vector<MappedFile> DistinctMappedFiles(std::string_view mapsText);

class LinuxProcessSource : public ProcessSource {
 public:
  explicit LinuxProcessSource(std::string procRoot = "/proc");

  std::optional<ProcessRecord> FirstProcess() override;
  std::optional<ProcessRecord> NextProcess() override;
  std::optional<std::vector<ModuleRecord>> Modules(std::uint32_t processId) override;
  void Release() override;

 private:
  struct Entry {
    ProcessRecord record;
    std::optional<std::vector<ModuleRecord>> modules;
  };

  std::string procRoot_;
  std::vector<Entry> entries_;
  std::size_t next_ = 0;
};

}  // namespace zub
