#include "files/DirectoryTree.h"

#include <algorithm>
#include <stdexcept>

#include "files/DirectoryScan.h"

namespace zub {

void DirectoryTree::Clear() {
  chunks_ = {};
  nodes_ = {};
  top_ = {};
  children_ = {};
}

std::int32_t DirectoryTree::AddLevelNode(int level, std::string_view text) {
  std::int32_t at = nodes_.empty() ? kNone : static_cast<std::int32_t>(nodes_.size() - 1);
  while (at != kNone && nodes_[at].level > level - 2) {
    at = nodes_[at].parent;
  }
  const auto node = static_cast<std::int32_t>(nodes_.size());
  std::vector<std::int32_t>& siblings = at == kNone ? top_ : children_[at];
  if (chunks_.empty() || chunks_.back().capacity() - chunks_.back().size() < text.size()) {
    chunks_.emplace_back().reserve(std::max(kChunkBytes, text.size()));
  }
  std::string& chunk = chunks_.back();
  nodes_.push_back(
      {static_cast<std::uint32_t>(chunks_.size() - 1), static_cast<std::uint32_t>(chunk.size()),
       static_cast<std::uint32_t>(text.size()), at, static_cast<std::uint32_t>(siblings.size()),
       at == kNone ? 0 : nodes_[at].level + 1});
  siblings.push_back(node);
  children_.emplace_back();
  chunk.append(text);
  return node;
}

std::string_view DirectoryTree::Text(std::int32_t node) const {
  const Node& n = nodes_[node];
  return std::string_view(chunks_[n.chunk]).substr(n.offset, n.length);
}

const std::vector<std::int32_t>& DirectoryTree::Children(std::int32_t parent) const {
  return parent == kNone ? top_ : children_[parent];
}

void DirectoryTree::Renumber(std::vector<std::int32_t>& siblings) {
  for (std::size_t row = 0; row < siblings.size(); ++row) {
    nodes_[siblings[row]].row = static_cast<std::uint32_t>(row);
  }
}

std::size_t DirectoryTree::Bytes() const {
  std::size_t bytes = nodes_.size() * sizeof(Node) + top_.capacity() * sizeof(std::int32_t) +
                      children_.size() * sizeof(children_[0]) +
                      chunks_.capacity() * sizeof(std::string);
  for (const std::string& chunk : chunks_) {
    bytes += chunk.capacity();
  }
  for (const auto& siblings : children_) {
    bytes += siblings.capacity() * sizeof(std::int32_t);
  }
  return bytes;
}

std::string NodePath(std::string_view text) {
  std::size_t start = 0;
  if (text.empty() || text.front() != '/') {
    const std::size_t mb = text.find(" Mb ");
    start = mb == std::string_view::npos ? mb : text.find('/', mb + 4);
  }
  if (start == std::string_view::npos) {
    return "";
  }
  std::string path(text.substr(start));
  if (path.size() > 1 && path.back() == '/') {
    path.pop_back();
  }
  return path;
}

std::string ChildNodeText(std::int64_t bytes, std::string_view directory) {
  std::string figure = std::to_string(MbFigure(bytes));
  if (figure.size() < 6) {
    figure.insert(0, 6 - figure.size(), ' ');
  }
  figure.append(" Mb ").append(directory);
  return figure;
}

namespace {

std::locale LocaleNamed(const std::string& name) {
  try {
    return std::locale(name.c_str());
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}

}  // namespace

TreeOrder::TreeOrder(const std::string& localeName)
    : locale_(LocaleNamed(localeName)), collate_(&std::use_facet<std::collate<char>>(locale_)) {}

int TreeOrder::Compare(std::string_view a, std::string_view b) const {
  // Byte-equal leading runs compare equal: start at the run where they differ.
  std::size_t same = 0;
  const std::size_t shorter = std::min(a.size(), b.size());
  while (same < shorter && a[same] == b[same]) {
    ++same;
  }
  std::size_t i = same;
  while (i > 0 && a[i - 1] != ' ') {
    --i;
  }
  std::size_t j = i;
  while (true) {
    const bool aEnd = i == a.size();
    const bool bEnd = j == b.size();
    if (aEnd || bEnd) {
      return aEnd && bEnd ? 0 : (aEnd ? -1 : 1);
    }
    const bool aSpace = a[i] == ' ';
    const bool bSpace = b[j] == ' ';
    if (aSpace != bSpace) {
      return aSpace ? -1 : 1;
    }
    if (aSpace) {
      ++i;
      ++j;
      continue;
    }
    const std::size_t aRun = std::min(a.find(' ', i), a.size());
    const std::size_t bRun = std::min(b.find(' ', j), b.size());
    const int runs =
        collate_->compare(a.data() + i, a.data() + aRun, b.data() + j, b.data() + bRun);
    if (runs != 0) {
      return runs;
    }
    // Runs a collation calls equal but that differ in bytes keep a fixed order.
    const int bytes = a.substr(i, aRun - i).compare(b.substr(j, bRun - j));
    if (bytes != 0) {
      return bytes < 0 ? -1 : 1;
    }
    i = aRun;
    j = bRun;
  }
}

void TreeScan::Reset() {
  state_ = TreeScanState{};
  tree_.Clear();
}

bool TreeScan::Visit(const std::string& directory, const FileEntry& entry) {
  if (directory != state_.current) {
    if (state_.nodes == 0) {
      tree_.AddLevelNode(1, directory);
    } else {
      tree_.AddLevelNode(2, ChildNodeText(state_.currentBytes, state_.current));
    }
    ++state_.nodes;
    state_.currentBytes = 0;
    state_.current = directory;
  }
  ++state_.count;
  state_.total += entry.size;
  state_.currentBytes += entry.size;
  return true;
}

void TreeScan::Finish() {
  AddLastChild(tree_, state_);
}

void AddLastChild(DirectoryTree& tree, const TreeScanState& state) {
  if (state.count > 0) {
    tree.AddLevelNode(2, ChildNodeText(state.currentBytes, state.current));
  }
}

void ExecuteTree(DirectorySource& source, const std::string& start, TreeScan& scan) {
  scan.Reset();
  if (start.empty()) {
    return;  // a drive gone: no directory, never the working directory
  }
  WalkDirectoryTree(source, start, "*.*",
                    [&scan](const std::string& directory, const FileEntry& entry) {
                      return scan.Visit(directory, entry);
                    });
  scan.Finish();
}

std::string TreeWindowCaption(bool treeShown, const std::string& listingCaption) {
  return treeShown || listingCaption.empty() ? kTreeCaption : listingCaption;
}

bool NodeDirectoryMissing(PathState state) {
  return state == PathState::Absent || state == PathState::File;
}

std::string NoSuchDirectoryText(const std::string& path) {
  return path + ": no such directory";
}

std::string TreePanelText(const TreeScanState& state) {
  return " Total space " + std::to_string(MbFigure(state.total)) +
         " Mb, Number of Files = " + std::to_string(state.count);
}

std::string TreeListingPanelText(std::int64_t total, std::int64_t count) {
  return std::to_string(MbFigure(total)) + " Mb " + std::to_string(count) + " Files";
}

std::optional<std::string> TreeListingPanel(const Listing& listing) {
  return TreeListingPanelText(listing.total, listing.count);
}

std::string NodeDirectory(std::string_view text, const std::string& chooserDirectory) {
  std::string path = NodePath(text);
  return path.empty() ? chooserDirectory : path;
}

}  // namespace zub
