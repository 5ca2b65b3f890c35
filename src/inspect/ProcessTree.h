// The process and module tree as lines of text: the line rules, the
// counters, the status text and the build over a process source. The lines
// share one text buffer, so a tree of a hundred thousand lines stays small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProcessSource.h"

namespace zub {

inline constexpr std::string_view kTreeHeadingText =
    "My Windows 95 Tree. Whats Running and where it was loaded from.";
inline constexpr std::string_view kModuleFailureText =
    "Unable to retrieve Windows 95 Modules for this process";
inline constexpr std::string_view kModuleListEndText = "***** End of Module List ****";
inline constexpr std::string_view kProcessFailureText = "Unable to retrieve Windows 95 Processes";
inline constexpr std::string_view kSpecialPriorityMarker = "* Special High Priority *";

// Lines are only ever appended; a line's children follow it in the order
// they were added.
class ProcessTree {
 public:
  static constexpr std::int32_t kNoLine = -1;

  void Clear();
  // Appends a line under the most recent line whose depth is below
  // level - 1: level 1 is a top line, level 2 goes under the latest top line.
  void AddLevelNode(int level, std::string_view text);

  std::size_t Size() const { return lines_.size(); }
  std::string_view Text(std::size_t line) const;
  // 0 for a top line.
  int Depth(std::size_t line) const { return lines_[line].depth; }
  // kNoLine for a top line.
  std::int32_t Parent(std::size_t line) const { return lines_[line].parent; }
  // The line's place among its parent's children.
  std::size_t Row(std::size_t line) const { return lines_[line].row; }
  // The children of `parent`, or the top lines for kNoLine.
  std::size_t ChildCount(std::int32_t parent) const;
  std::size_t Child(std::int32_t parent, std::size_t row) const;

 private:
  struct Line {
    std::size_t offset;
    std::uint32_t length;
    std::int32_t parent;
    std::uint32_t row;
    std::int32_t children;  // index into children_, kNoLine while it has none
    std::uint32_t depth;
  };
  const std::vector<std::uint32_t>* ChildrenOf(std::int32_t parent) const;

  std::string text_;
  std::vector<Line> lines_;
  std::vector<std::uint32_t> top_;
  std::vector<std::vector<std::uint32_t>> children_;
};

// Counts of one build; the byte sums stop at the largest 64-bit value.
struct MemTreeCounters {
  std::uint64_t processCount = 0;
  std::uint64_t moduleCount = 0;
  std::uint64_t totalBytes = 0;
};

// "* Special High Priority *" for base priority 13, else empty.
std::string_view PriorityMarker(std::int32_t basePriority);
// What follows the path's last '/'.
std::string_view ExecutableFileName(std::string_view exePath);

std::string ProcessLineText(const ProcessRecord& process);
std::string ModuleListHeaderText(std::string_view exePath);
std::string ModuleLineText(const ModuleRecord& module);
std::string ProcessSummaryText(std::uint64_t moduleCount, std::uint64_t ordinal,
                               std::uint64_t bytes);
std::string StatusText(const MemTreeCounters& counters);

// The file a line names: the text before its first "*", less the blank
// before it; empty when the text has no "*" or it comes first or second.
std::string NodeFileName(std::string_view text);

// Clears `tree`, fills it from a new snapshot of `source` (released at the
// end) and gives the counters.
MemTreeCounters BuildMemTree(ProcessSource& source, ProcessTree& tree);

}  // namespace zub
