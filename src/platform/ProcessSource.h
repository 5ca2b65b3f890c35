// The running processes and the files each has mapped, as one snapshot of
// plain records: what the process and module tree is built from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zub {

struct ProcessRecord {
  std::string exePath;
  std::uint32_t usageCount = 0;  // threads
  std::uint32_t processId = 0;
  std::int32_t basePriority = 0;
  // Where the paths of this process (its program's and its modules') are
  // opened: empty when it sees the file system as this program does, else a
  // prefix into its own view (a container's or a sandbox's).
  std::string fileRoot;

  bool operator==(const ProcessRecord&) const = default;
};

struct ModuleRecord {
  std::string path;
  std::uint64_t size = 0;              // bytes mapped from the file
  std::uint32_t globalUsageCount = 0;  // processes of the snapshot that map it

  bool operator==(const ModuleRecord&) const = default;
};

class ProcessSource {
 public:
  virtual ~ProcessSource() = default;

  // Takes a new snapshot and gives its first process; nothing when the
  // process list cannot be read.
  virtual std::optional<ProcessRecord> FirstProcess() = 0;
  // The snapshot's next process; nothing at its end.
  virtual std::optional<ProcessRecord> NextProcess() = 0;
  // The modules of a process of the snapshot, in order; nothing when its
  // list cannot be read.
  virtual std::optional<std::vector<ModuleRecord>> Modules(std::uint32_t processId) = 0;
  // Frees what the snapshot holds.
  virtual void Release() = 0;
};

}  // namespace zub
