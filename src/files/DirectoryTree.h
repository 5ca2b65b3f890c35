// The directory tree's nodes and the scan that makes them: one child line per
// directory holding files, with the Mb of its own files, under a top line
// naming the first such directory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/DirectoryScan.h"
#include "files/FileEntry.h"
#include "platform/DirectorySource.h"

namespace zub {

inline constexpr const char* kTreeCaption = "Zub Directory Tree ";

// Node texts in large chunks and fixed records, so a disk of 100,000
// directories costs a few megabytes. Node numbers never change; only the
// order of siblings does. Nothing held moves as the tree grows: a tree of a
// whole drive, shown while it grows, never stalls its window with a copy of
// megabytes into memory touched for the first time.
class DirectoryTree {
 public:
  static constexpr std::int32_t kNone = -1;

  void Clear();
  // Climbs from the last node added while its level is above `level` - 2,
  // then adds `text` as the last child of the node reached (a top node when
  // none was). Gives the new node's number.
  std::int32_t AddLevelNode(int level, std::string_view text);

  std::size_t NodeCount() const { return nodes_.size(); }
  std::string_view Text(std::int32_t node) const;
  int Level(std::int32_t node) const { return nodes_[node].level; }
  std::int32_t Parent(std::int32_t node) const { return nodes_[node].parent; }
  // Position among its siblings.
  std::size_t RowOf(std::int32_t node) const { return nodes_[node].row; }
  // The top nodes (parent kNone) or a node's children, in display order.
  const std::vector<std::int32_t>& Children(std::int32_t parent) const;

  // Orders the top nodes and the children of every node by `less` (stable).
  template <typename Less>
  void SortSiblings(const Less& less);

  // Bytes held by the tree (texts, records, sibling lists).
  std::size_t Bytes() const;

 private:
  struct Node {
    std::uint32_t chunk = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::int32_t parent = kNone;
    std::uint32_t row = 0;
    std::int32_t level = 0;
  };
  void Renumber(std::vector<std::int32_t>& siblings);

  static constexpr std::size_t kChunkBytes = std::size_t{256} * 1024;

  // Each chunk keeps the capacity it was made with; a text never spans two.
  std::vector<std::string> chunks_;
  std::deque<Node> nodes_;
  std::vector<std::int32_t> top_;
  // Children per node; most nodes have none and cost an empty vector.
  std::deque<std::vector<std::int32_t>> children_;
};

template <typename Less>
void DirectoryTree::SortSiblings(const Less& less) {
  auto sortOne = [&](std::vector<std::int32_t>& siblings) {
    std::stable_sort(siblings.begin(), siblings.end(),
                     [&](std::int32_t a, std::int32_t b) { return less(Text(a), Text(b)); });
    Renumber(siblings);
  };
  sortOne(top_);
  for (std::vector<std::int32_t>& siblings : children_) {
    if (siblings.size() > 1) {
      sortOne(siblings);
    }
  }
}

// The directory of a node's text: a top node is its path; a child's path
// starts at the first "/" after its " Mb ". The final "/" is dropped, except
// that "/" itself stays "/". Empty when the text holds no path.
std::string NodePath(std::string_view text);

// A child's text: the Mb figure padded to 6, " Mb ", the path with its "/".
std::string ChildNodeText(std::int64_t bytes, std::string_view directory);

// A locale-aware order in which a space comes before every other character,
// as the tree's "Sort" needs (its sizes are right-aligned with spaces).
// Collation of most locales ignores spaces at the first level, so runs
// without spaces are collated and spaces are compared on their own.
class TreeOrder {
 public:
  // The environment's collation when `localeName` is empty; "C" when the
  // name is unknown.
  explicit TreeOrder(const std::string& localeName = "");
  int Compare(std::string_view a, std::string_view b) const;
  bool operator()(std::string_view a, std::string_view b) const { return Compare(a, b) < 0; }

 private:
  std::locale locale_;
  const std::collate<char>* collate_;
};

// What one Execute has seen so far.
struct TreeScanState {
  std::int64_t count = 0;
  std::int64_t total = 0;
  std::int64_t nodes = 0;
  std::string current;  // directory of the file last visited; empty at first
  std::int64_t currentBytes = 0;
};

// The visitor of Execute over `tree`.
class TreeScan {
 public:
  explicit TreeScan(DirectoryTree& tree) : tree_(tree) {}

  // A fresh state and an empty tree.
  void Reset();
  bool Visit(const std::string& directory, const FileEntry& entry);
  // The last directory's child node, when any file was visited.
  void Finish();
  const TreeScanState& State() const { return state_; }

 private:
  DirectoryTree& tree_;
  TreeScanState state_;
};

// The child node of the directory a scan was in last, once any file was
// visited: what ends a scan, whether it ran to its end or was stopped.
void AddLastChild(DirectoryTree& tree, const TreeScanState& state);

// Reset, the walk from `start` with "*.*", and the last child node.
void ExecuteTree(DirectorySource& source, const std::string& start, TreeScan& scan);

// The window's caption: its own while the tree is shown, the listed
// directory's ("Directory " and the path) while its files are, once a line
// was listed.
std::string TreeWindowCaption(bool treeShown, const std::string& listingCaption);
// A chosen line whose directory is gone (or is a file now) is not listed: the
// grid and the panel keep what they show. One that exists but cannot be read
// is listed, as empty.
bool NodeDirectoryMissing(PathState state);
std::string NoSuchDirectoryText(const std::string& path);

// " Total space 120 Mb, Number of Files = 2345"
std::string TreePanelText(const TreeScanState& state);
// After listing a node's directory: "3 Mb 25 Files"
std::string TreeListingPanelText(std::int64_t total, std::int64_t count);
std::optional<std::string> TreeListingPanel(const Listing& listing);
// The directory a chosen line lists: its own, or the chooser's when the
// line names none.
std::string NodeDirectory(std::string_view text, const std::string& chooserDirectory);

}  // namespace zub
