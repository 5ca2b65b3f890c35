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
  fileRoots_.clear();
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

namespace {

bool CutSuffix(std::string_view& text, std::string_view suffix) {
  if (!text.ends_with(suffix)) {
    return false;
  }
  text.remove_suffix(suffix.size());
  return true;
}

bool CutNumber(std::string_view& text) {
  std::size_t digits = 0;
  while (digits < text.size() && text[text.size() - 1 - digits] >= '0' &&
         text[text.size() - 1 - digits] <= '9') {
    ++digits;
  }
  text.remove_suffix(digits);
  return digits > 0;
}

// "path * size is N bytes has been used N times"
bool CutModuleTail(std::string_view& text) {
  return CutSuffix(text, " times") && CutNumber(text) && CutSuffix(text, " bytes has been used ") &&
         CutNumber(text) && CutSuffix(text, " * size is ");
}

// "path * has been used N times " and the priority marker, if any
bool CutProcessTail(std::string_view& text) {
  CutSuffix(text, kSpecialPriorityMarker);
  return CutSuffix(text, " times ") && CutNumber(text) && CutSuffix(text, " * has been used ");
}

// Figures change from one snapshot to the next; the words around them do not.
std::string MaskedFigures(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (!digit) {
      out += text[i];
    } else if (i == 0 || text[i - 1] < '0' || text[i - 1] > '9') {
      out += '#';
    }
  }
  return out;
}

std::string PlaceKey(std::string_view text) {
  std::string name = NodeFileName(text);
  return name.empty() ? "t" + MaskedFigures(text) : "f" + name;
}

}  // namespace

std::string NodeFileName(std::string_view text) {
  std::string_view name = text;
  if (CutModuleTail(name)) {
    return std::string(name);
  }
  name = text;
  return CutProcessTail(name) ? std::string(name) : std::string();
}

void ProcessTree::SetFileRoot(std::size_t line, std::string root) {
  if (root.empty()) {
    fileRoots_.erase(line);
  } else {
    fileRoots_[line] = std::move(root);
  }
}

std::string ProcessTree::FilePath(std::size_t line) const {
  std::string name = NodeFileName(Text(line));
  if (name.empty()) {
    return name;
  }
  std::size_t top = line;
  while (lines_[top].parent != kNoLine) {
    top = static_cast<std::size_t>(lines_[top].parent);
  }
  const auto root = fileRoots_.find(top);
  return root == fileRoots_.end() ? name : root->second + name;
}

TreePlaces::Level& TreePlaces::LevelOf(std::int32_t parent) {
  const auto [it, added] = levels_.try_emplace(parent);
  Level& level = it->second;
  if (added) {
    const std::size_t count = tree_.ChildCount(parent);
    level.steps.reserve(count);
    std::unordered_map<std::string, std::uint32_t> seen;
    for (std::size_t row = 0; row < count; ++row) {
      std::string key = PlaceKey(tree_.Text(tree_.Child(parent, row)));
      const std::uint32_t occurrence = seen[key]++;
      level.rowOfStep.emplace(key + '\0' + std::to_string(occurrence), row);
      level.steps.push_back({std::move(key), occurrence});
    }
  }
  return level;
}

TreePlace TreePlaces::PlaceOf(std::size_t line) {
  TreePlace place;
  for (auto at = static_cast<std::int32_t>(line); at != ProcessTree::kNoLine;
       at = tree_.Parent(static_cast<std::size_t>(at))) {
    const auto index = static_cast<std::size_t>(at);
    place.insert(place.begin(), LevelOf(tree_.Parent(index)).steps[tree_.Row(index)]);
  }
  return place;
}

std::optional<std::size_t> TreePlaces::Find(const TreePlace& place) {
  std::int32_t parent = ProcessTree::kNoLine;
  std::optional<std::size_t> line;
  for (const PlaceStep& step : place) {
    const Level& level = LevelOf(parent);
    const auto row = level.rowOfStep.find(step.key + '\0' + std::to_string(step.occurrence));
    if (row == level.rowOfStep.end()) {
      return std::nullopt;
    }
    line = tree_.Child(parent, row->second);
    parent = static_cast<std::int32_t>(*line);
  }
  return line;
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
    tree.SetFileRoot(tree.Size() - 1, process->fileRoot);
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
