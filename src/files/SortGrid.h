// The grid sort: a selection sort with at most one exchange per position,
// whose exact result is reproduced in O(n log n).
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "files/FileGrid.h"

namespace zub {

enum class SortKey {
  skNameText = 0,  // all of column 0
  skSizeText = 1,  // all of column 1
  skFileName = 2,  // column 0 after its last separator
  skFileExt = 3,   // column 0 from its last dot after the last separator
  skFilePath = 4,  // column 0 up to and including its last separator
};

enum class SortDirection { Ascending = 0, Descending = 1 };

// Which of several equal best keys a pass picks, by window, key and direction.
enum class PassRule { FirstSmallest, LastSmallest, FirstLargest };
PassRule PassRuleFor(GridKind kind, SortKey key, SortDirection direction);

// The key text of a row exactly as a pass compares it: the cell text, with
// column 0 trimmed first in the directory space window for keys 2 to 4.
std::string KeyText(const FileGrid& grid, SortKey key, std::size_t row);

// Called before each pass; true stops the sort with the rows as reached.
using SortCancel = std::function<bool()>;

// Sorts rows 0 to n-1 (n capped at the row count) as pass after pass of the
// selection sort would: pass i exchanges row i with the best of the rows
// i..n-1 under `PassRuleFor`, keys compared byte by byte as unsigned values.
// True when it ran to its end (also when n < 2).
bool SortGrid(FileGrid& grid, SortKey key, SortDirection direction, std::size_t n,
              const SortCancel& cancel = {});
inline bool SortGrid(FileGrid& grid, SortKey key, SortDirection direction) {
  return SortGrid(grid, key, direction, grid.RowCount());
}

}  // namespace zub
