#include "inspect/ProcessTree.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace zub {

namespace {

void AppendNumber(std::string& out, std::uint64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return b > std::numeric_limits<std::uint64_t>::max() - a
             ? std::numeric_limits<std::uint64_t>::max()
             : a + b;
}

void AppendProcessLine(std::string& out, const ProcessRecord& process) {
  out += process.exePath;
  out += " * has been ";
  out += "used ";
  AppendNumber(out, process.usageCount);
  out += " times ";
  out += PriorityMarker(process.basePriority);
}

void AppendModuleListHeader(std::string& out, std::string_view exePath) {
  out += "*** Module list for process ";
  out += ExecutableFileName(exePath);
  out += " ***";
}

void AppendModuleLine(std::string& out, const ModuleRecord& module) {
  out += module.path;
  out += " * size is ";
  AppendNumber(out, module.size);
  out += " bytes ";
  out += "has been used ";
  AppendNumber(out, module.globalUsageCount);
  out += " times";
}

void AppendProcessSummary(std::string& out, std::uint64_t moduleCount, std::uint64_t ordinal,
                          std::uint64_t bytes) {
  AppendNumber(out, moduleCount);
  out += " Modules found for process ";
  AppendNumber(out, ordinal);
  out += " total size = ";
  AppendNumber(out, bytes / 1024);
  out += "Kb";
}

}  // namespace

void ProcessTree::Clear() {
  text_.clear();
  lines_.clear();
  top_.clear();
  children_.clear();
}

void ProcessTree::AddLevelNode(int level, std::string_view text) {
  std::int32_t at = lines_.empty() ? kNoLine : static_cast<std::int32_t>(lines_.size() - 1);
  while (at != kNoLine && static_cast<int>(lines_[at].depth) > level - 2) {
    at = lines_[at].parent;
  }
  std::vector<std::uint32_t>* siblings = &top_;
  std::uint32_t depth = 0;
  if (at != kNoLine) {
    Line& parent = lines_[at];
    if (parent.children == kNoLine) {
      parent.children = static_cast<std::int32_t>(children_.size());
      children_.emplace_back();
    }
    siblings = &children_[parent.children];
    depth = parent.depth + 1;
  }
  const auto index = static_cast<std::uint32_t>(lines_.size());
  // A line longer than 4 GiB cannot come from a path; keep what fits.
  const auto length = static_cast<std::uint32_t>(
      std::min<std::size_t>(text.size(), std::numeric_limits<std::uint32_t>::max()));
  lines_.push_back(
      {text_.size(), length, at, static_cast<std::uint32_t>(siblings->size()), kNoLine, depth});
  text_.append(text.substr(0, length));
  siblings->push_back(index);
}

std::string_view ProcessTree::Text(std::size_t line) const {
  const Line& l = lines_[line];
  return std::string_view(text_).substr(l.offset, l.length);
}

const std::vector<std::uint32_t>* ProcessTree::ChildrenOf(std::int32_t parent) const {
  if (parent == kNoLine) {
    return &top_;
  }
  const std::int32_t slot = lines_[parent].children;
  return slot == kNoLine ? nullptr : &children_[slot];
}

std::size_t ProcessTree::ChildCount(std::int32_t parent) const {
  const auto* children = ChildrenOf(parent);
  return children == nullptr ? 0 : children->size();
}

std::size_t ProcessTree::Child(std::int32_t parent, std::size_t row) const {
  return (*ChildrenOf(parent))[row];
}

std::string_view PriorityMarker(std::int32_t basePriority) {
  return basePriority == 13 ? kSpecialPriorityMarker : std::string_view();
}

std::string_view ExecutableFileName(std::string_view exePath) {
  const std::size_t slash = exePath.rfind('/');
  return slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
}

std::string ProcessLineText(const ProcessRecord& process) {
  std::string out;
  AppendProcessLine(out, process);
  return out;
}

std::string ModuleListHeaderText(std::string_view exePath) {
  std::string out;
  AppendModuleListHeader(out, exePath);
  return out;
}

std::string ModuleLineText(const ModuleRecord& module) {
  std::string out;
  AppendModuleLine(out, module);
  return out;
}

std::string ProcessSummaryText(std::uint64_t moduleCount, std::uint64_t ordinal,
                               std::uint64_t bytes) {
  std::string out;
  AppendProcessSummary(out, moduleCount, ordinal, bytes);
  return out;
}

std::string StatusText(const MemTreeCounters& counters) {
  std::string out = "Zub found ";
  AppendNumber(out, counters.processCount);
  out += " Processes ";
  AppendNumber(out, counters.moduleCount);
  out += " Modules using ";
  AppendNumber(out, counters.totalBytes / 1048576);
  out += "Mb";
  return out;
}

std::string NodeFileName(std::string_view text) {
  const std::size_t star = text.find('*');
  if (star == std::string_view::npos || star < 2) {
    return {};
  }
  return std::string(text.substr(0, star - 1));
}

MemTreeCounters BuildMemTree(ProcessSource& source, ProcessTree& tree) {
  tree.Clear();
  MemTreeCounters counters;
  std::string line;  // one buffer for every line's text
  tree.AddLevelNode(1, kTreeHeadingText);
  auto process = source.FirstProcess();
  if (!process) {
    tree.AddLevelNode(2, kProcessFailureText);
  }
  for (; process; process = source.NextProcess()) {
    ++counters.processCount;
    std::uint64_t moduleCount = 0;
    std::uint64_t bytes = 0;
    line.clear();
    AppendProcessLine(line, *process);
    tree.AddLevelNode(1, line);
    const auto modules = source.Modules(process->processId);
    if (!modules) {
      tree.AddLevelNode(2, kModuleFailureText);
    } else {
      for (const ModuleRecord& module : *modules) {
        ++moduleCount;
        ++counters.moduleCount;
        if (moduleCount == 1) {
          line.clear();
          AppendModuleListHeader(line, process->exePath);
          tree.AddLevelNode(2, line);
        }
        bytes = SaturatingAdd(bytes, module.size);
        counters.totalBytes = SaturatingAdd(counters.totalBytes, module.size);
        line.clear();
        AppendModuleLine(line, module);
        tree.AddLevelNode(2, line);
      }
    }
    tree.AddLevelNode(2, kModuleListEndText);
    line.clear();
    AppendProcessSummary(line, moduleCount, counters.processCount, bytes);
    tree.AddLevelNode(2, line);
  }
  source.Release();
  return counters;
}

}  // namespace zub
