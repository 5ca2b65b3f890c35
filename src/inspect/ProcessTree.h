// The process and module tree as lines of text: the line rules, the
// counters, the status text and the build over a process source. The lines
// share one text buffer, so a tree of a hundred thousand lines stays small.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

  // Where the files a process line and the lines under it name are read:
  // a prefix such as "/proc/42/root" for a process that sees another file
  // system than this program, empty (the default) for the others.
  void SetFileRoot(std::size_t line, std::string root);
  // The file `line` names (NodeFileName) as this program opens it: behind
  // its process's file root. Empty for a line that names no file.
  std::string FilePath(std::size_t line) const;

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
  std::unordered_map<std::size_t, std::string> fileRoots_;  // by top line; few have one
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

// The file a process or module line names: the text before the line's own
// " * has been " or " * size is ", found from the line's end so that a path
// may hold "*" (or even those words). Empty for every other line.
std::string NodeFileName(std::string_view text);

// One step of a line's place: what the line names (its file, or its text
// with the figures masked) and how many earlier siblings name the same.
struct PlaceStep {
  std::string key;
  std::uint32_t occurrence = 0;
  bool operator==(const PlaceStep&) const = default;
};
// A line's place from its top line down, found again in a tree rebuilt from
// a new snapshot where the same process or module is still there.
using TreePlace = std::vector<PlaceStep>;

// Places of the lines of one tree, and lines of places. Each level's keys are
// worked out once, so a place per line of a large tree costs linear time.
class TreePlaces {
 public:
  // Keeps a reference to `tree`, which must not change while this lives.
  explicit TreePlaces(const ProcessTree& tree) : tree_(tree) {}

  TreePlace PlaceOf(std::size_t line);
  // The line at `place`; nothing when it is gone.
  std::optional<std::size_t> Find(const TreePlace& place);

 private:
  struct Level {
    std::vector<PlaceStep> steps;                            // by row
    std::unordered_map<std::string, std::size_t> rowOfStep;  // key, '\0', occurrence
  };
  Level& LevelOf(std::int32_t parent);

  const ProcessTree& tree_;
  std::unordered_map<std::int32_t, Level> levels_;
};

// Clears `tree`, fills it from a new snapshot of `source` (released at the
// end) and gives the counters.
MemTreeCounters BuildMemTree(ProcessSource& source, ProcessTree& tree);

}  // namespace zub
