// A process source that plays back a scripted snapshot.
#pragma once

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/ProcessSource.h"

namespace zub::fakes {

class FakeProcessSource : public ProcessSource {
 public:
  struct Process {
    ProcessRecord record;
    std::optional<std::vector<ModuleRecord>> modules;  // nothing: cannot be read
  };

  bool listReadable = true;
  std::vector<Process> processes;
  int snapshots = 0;
  int releases = 0;

  Process& Add(const std::string& exePath, std::optional<std::vector<ModuleRecord>> modules,
               std::int32_t basePriority = 8, std::uint32_t usage = 1) {
    const auto pid = static_cast<std::uint32_t>(100 + processes.size());
    processes.push_back({{exePath, usage, pid, basePriority, ""}, std::move(modules)});
    return processes.back();
  }

  std::optional<ProcessRecord> FirstProcess() override {
    ++snapshots;
    next_ = 0;
    if (!listReadable) {
      return std::nullopt;
    }
    return NextProcess();
  }
  std::optional<ProcessRecord> NextProcess() override {
    if (next_ >= processes.size()) {
      return std::nullopt;
    }
    return processes[next_++].record;
  }
  std::optional<std::vector<ModuleRecord>> Modules(std::uint32_t processId) override {
    const auto it = std::find_if(processes.begin(), processes.end(),
                                 [&](const Process& p) { return p.record.processId == processId; });
    if (it == processes.end()) {
      return std::nullopt;
    }
    return it->modules;
  }
  void Release() override { ++releases; }

 private:
  std::size_t next_ = 0;
};

}  // namespace zub::fakes
