#include "files/SortGrid.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "files/FileEntry.h"

namespace zub {
namespace {

// A key as bytes; `fold` lowers A to Z on the fly, which is how NameText
// would have written them, so names are never copied to be compared.
struct KeyView {
  std::string_view bytes;
  bool fold = false;
};

unsigned char At(const KeyView& key, std::size_t i) {
  const auto c = static_cast<unsigned char>(key.bytes[i]);
  return key.fold && c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int Compare(const KeyView& a, const KeyView& b) {
  if (!a.fold && !b.fold) {
    return a.bytes.compare(b.bytes) < 0 ? -1 : (a.bytes == b.bytes ? 0 : 1);
  }
  const std::size_t common = std::min(a.bytes.size(), b.bytes.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char x = At(a, i);
    const unsigned char y = At(b, i);
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  return a.bytes.size() < b.bytes.size() ? -1 : (a.bytes.size() > b.bytes.size() ? 1 : 0);
}

// Eight key bytes from `from` on, big-endian, zeros past the end: no key
// holds a NUL, so comparing these orders keys that differ there.
std::uint64_t Prefix(const KeyView& key, std::size_t from) {
  std::uint64_t prefix = 0;
  for (std::size_t i = from; i < from + 8; ++i) {
    prefix = (prefix << 8) | (i < key.bytes.size() ? At(key, i) : 0U);
  }
  return prefix;
}

bool HasCapital(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

std::size_t LastSeparator(std::string_view text) {
  return text.find_last_of('/');
}

// Column 0's text of a record as a view, and the part of it that `key` takes.
KeyView NameKey(const FileGrid& grid, SortKey key, std::uint32_t index) {
  const FileGrid::Record& record = grid.RecordOf(index);
  KeyView text;
  if (record.state == CellState::Filled) {
    text = {TrimmedPart(grid.TextOf(record)), true};
  } else {
    text = {record.state == CellState::Deleted ? kDeletedCell : kClearedCell, false};
  }
  if (key == SortKey::skNameText) {
    return text;
  }
  if (grid.Kind() == GridKind::DirectorySpace) {
    text.bytes = TrimmedPart(text.bytes);
  }
  const std::size_t separator = LastSeparator(text.bytes);
  const std::size_t after = separator == std::string_view::npos ? 0 : separator + 1;
  switch (key) {
    case SortKey::skFileName:
      text.bytes = text.bytes.substr(after);
      break;
    case SortKey::skFilePath:
      text.bytes = text.bytes.substr(0, after);
      break;
    case SortKey::skFileExt: {
      const std::size_t dot = text.bytes.find_last_of('.');
      text.bytes = dot != std::string_view::npos && dot >= after ? text.bytes.substr(dot)
                                                                 : std::string_view();
      break;
    }
    default:
      break;
  }
  return text;
}

// Dense ranks 1..m from (key, position) pairs sorted by key: equal keys, equal ranks.
template <typename Key, typename Same>
std::vector<std::uint32_t> DenseRanks(const std::vector<std::pair<Key, std::uint32_t>>& sorted,
                                      const Same& same) {
  std::vector<std::uint32_t> rank(sorted.size());
  std::uint32_t next = 0;
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (i == 0 || !same(sorted[i], sorted[i - 1])) {
      ++next;
    }
    rank[sorted[i].second] = next;
  }
  return rank;
}

// Sizes order by value, whatever their width: a 13-digit size is larger
// than a 12-digit one although its unpadded text compares below it. For
// sizes under 10^12 this is exactly the order of the padded texts, and " "
// (no size) comes before every size, as it does as text.
std::vector<std::uint32_t> SizeRanks(const FileGrid& grid, const GridOrder& order, std::size_t n) {
  std::vector<std::pair<std::int64_t, std::uint32_t>> keys(n);
  for (std::size_t row = 0; row < n; ++row) {
    const FileGrid::Record& record = grid.RecordOf(order[row]);
    keys[row] = {record.state == CellState::Filled
                     ? std::max(record.size, std::numeric_limits<std::int64_t>::min() + 1)
                     : std::numeric_limits<std::int64_t>::min(),
                 static_cast<std::uint32_t>(row)};
  }
  std::sort(keys.begin(), keys.end());
  return DenseRanks(keys, [](const auto& a, const auto& b) { return a.first == b.first; });
}

// Dense ranks 1..m of the keys of rows 0..n-1: equal keys, equal ranks.
std::vector<std::uint32_t> Ranks(const FileGrid& grid, SortKey key, const GridOrder& order,
                                 std::size_t n) {
  if (key == SortKey::skSizeText) {
    return SizeRanks(grid, order, n);
  }
  std::vector<KeyView> views(n);
  for (std::size_t row = 0; row < n; ++row) {
    views[row] = NameKey(grid, key, order[row]);
  }
  // Names with capitals are lowered once into `folded`, so that every
  // comparison is a plain byte comparison.
  std::vector<std::string> folded;
  std::size_t capitals = 0;
  for (const KeyView& view : views) {
    capitals += view.fold && HasCapital(view.bytes) ? 1 : 0;
  }
  folded.reserve(capitals);
  for (KeyView& view : views) {
    if (view.fold && HasCapital(view.bytes)) {
      std::string& lowered = folded.emplace_back(view.bytes);
      for (char& c : lowered) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      }
      view.bytes = lowered;
    }
    view.fold = false;
  }
  // Paths share long beginnings; the quick prefix starts after the part all share.
  std::size_t shared = views.empty() ? 0 : views[0].bytes.size();
  for (const KeyView& view : views) {
    std::size_t same = 0;
    const std::size_t limit = std::min(shared, view.bytes.size());
    while (same < limit && view.bytes[same] == views[0].bytes[same]) {
      ++same;
    }
    shared = same;
  }
  std::vector<std::pair<std::uint64_t, std::uint32_t>> keys(n);
  for (std::size_t row = 0; row < n; ++row) {
    keys[row] = {Prefix(views[row], shared), static_cast<std::uint32_t>(row)};
  }
  std::sort(keys.begin(), keys.end(), [&views, shared](const auto& a, const auto& b) {
    if (a.first != b.first) {
      return a.first < b.first;
    }
    return views[a.second].bytes.substr(shared) < views[b.second].bytes.substr(shared);
  });
  return DenseRanks(keys, [&views](const auto& a, const auto& b) {
    return a.first == b.first && Compare(views[a.second], views[b.second]) == 0;
  });
}

// A tournament over positions: each node holds the winner of its range as
// one number, the rank and the position packed so that the smallest number
// wins under the pass rule (ties by position: the first, or for "<=" the
// last). The winner of rows i..n-1 is the root once rows before i are out.
class Tournament {
 public:
  static constexpr std::uint64_t kOut = std::numeric_limits<std::uint64_t>::max();

  Tournament(const std::vector<std::uint32_t>& rank, PassRule rule)
      : rule_(rule), leaves_(std::bit_ceil(std::max<std::size_t>(rank.size(), 1))) {
    node_.assign(2 * leaves_, kOut);
    for (std::size_t i = 0; i < rank.size(); ++i) {
      node_[leaves_ + i] = Pack(rank[i], static_cast<std::uint32_t>(i));
    }
    for (std::size_t i = leaves_ - 1; i >= 1; --i) {
      node_[i] = std::min(node_[2 * i], node_[2 * i + 1]);
    }
  }

  std::uint32_t Best() const { return PositionOf(node_[1]); }
  std::uint32_t RankAt(std::size_t position) const {
    const auto high = static_cast<std::uint32_t>(node_[leaves_ + position] >> 32);
    return rule_ == PassRule::FirstLargest ? ~high : high;
  }
  void SetRank(std::size_t position, std::uint32_t rank) {
    Set(position, Pack(rank, static_cast<std::uint32_t>(position)));
  }
  void Remove(std::size_t position) { Set(position, kOut); }

 private:
  std::uint64_t Pack(std::uint32_t rank, std::uint32_t position) const {
    switch (rule_) {
      case PassRule::FirstSmallest:
        return (std::uint64_t{rank} << 32) | position;
      case PassRule::LastSmallest:
        return (std::uint64_t{rank} << 32) | ~position;
      case PassRule::FirstLargest:
        return (std::uint64_t{~rank} << 32) | position;
    }
    return kOut;
  }
  std::uint32_t PositionOf(std::uint64_t packed) const {
    const auto low = static_cast<std::uint32_t>(packed);
    return rule_ == PassRule::LastSmallest ? ~low : low;
  }
  void Set(std::size_t position, std::uint64_t packed) {
    std::size_t i = leaves_ + position;
    node_[i] = packed;
    for (i /= 2; i >= 1; i /= 2) {
      node_[i] = std::min(node_[2 * i], node_[2 * i + 1]);
    }
  }

  PassRule rule_;
  std::size_t leaves_;
  std::vector<std::uint64_t> node_;
};

}  // namespace

PassRule PassRuleFor(GridKind kind, SortKey key, SortDirection direction) {
  if (direction == SortDirection::Descending) {
    return PassRule::FirstLargest;
  }
  // Only the list windows' name and size sorts scan from row i itself with
  // "<=", which lets the last of equal smallest keys win.
  const bool lessOrEqual =
      kind != GridKind::DirectoryTree && (key == SortKey::skNameText || key == SortKey::skSizeText);
  return lessOrEqual ? PassRule::LastSmallest : PassRule::FirstSmallest;
}

std::string KeyText(const FileGrid& grid, SortKey key, std::size_t row) {
  if (key == SortKey::skSizeText) {
    return grid.Cell(1, row);
  }
  std::string text = grid.Cell(0, row);
  if (key == SortKey::skNameText) {
    return text;
  }
  if (grid.Kind() == GridKind::DirectorySpace) {
    text = std::string(TrimmedPart(text));
  }
  const std::size_t separator = text.find_last_of('/');
  const std::size_t after = separator == std::string::npos ? 0 : separator + 1;
  switch (key) {
    case SortKey::skFileName:
      return text.substr(after);
    case SortKey::skFilePath:
      return text.substr(0, after);
    case SortKey::skFileExt: {
      const std::size_t dot = text.find_last_of('.');
      return dot != std::string::npos && dot >= after ? text.substr(dot) : std::string();
    }
    default:
      return text;
  }
}

bool SortOrder(const FileGrid& grid, SortKey key, SortDirection direction, std::size_t n,
               GridOrder& order, const SortCancel& cancel) {
  n = std::min({n, grid.RowCount(), order.size()});
  if (n < 2) {
    return true;
  }
  Tournament tournament(Ranks(grid, key, order, n), PassRuleFor(grid.Kind(), key, direction));
  // Ranks start at 1 and positions are below 2^32 - 1, so no packed key is kOut.
  for (std::size_t i = 0; i < n; ++i) {
    if (cancel && cancel()) {
      return false;
    }
    const std::uint32_t best = tournament.Best();
    if (best != i) {
      std::swap(order[i], order[best]);
      tournament.SetRank(best, tournament.RankAt(i));
    }
    tournament.Remove(i);
  }
  return true;
}

bool SortGrid(FileGrid& grid, SortKey key, SortDirection direction, std::size_t n,
              const SortCancel& cancel) {
  if (std::min(n, grid.RowCount()) < 2) {
    return true;
  }
  GridOrder order = grid.Order();
  const bool finished = SortOrder(grid, key, direction, n, order, cancel);
  grid.SetOrder(std::move(order));
  return finished;
}

}  // namespace zub
