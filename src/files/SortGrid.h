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

// The key text of a row: the cell text, with column 0 trimmed first in the
// directory space window for keys 2 to 4. Passes compare these byte by byte,
// except sizes, which compare by value (" " below every size): the same
// order as the padded texts up to 12 digits, and the right one beyond.
std::string KeyText(const FileGrid& grid, SortKey key, std::size_t row);

// Called before each pass; true stops the sort with the rows as reached.
using SortCancel = std::function<bool()>;

// Sorts rows 0 to n-1 (n capped at the row count) as pass after pass of the
// selection sort would: pass i exchanges row i with the best of the rows
// i..n-1 under `PassRuleFor`, keys compared as KeyText says.
// True when it ran to its end (also when n < 2).
bool SortGrid(FileGrid& grid, SortKey key, SortDirection direction, std::size_t n,
              const SortCancel& cancel = {});
// The same sort played on `order` (a copy of grid.Order()) instead of the
// grid, so that a worker can sort while the grid is shown; the grid must not
// change meanwhile. The result, finished or stopped, goes in with
// grid.SetOrder(order).
bool SortOrder(const FileGrid& grid, SortKey key, SortDirection direction, std::size_t n,
               GridOrder& order, const SortCancel& cancel = {});
inline bool SortGrid(FileGrid& grid, SortKey key, SortDirection direction) {
  return SortGrid(grid, key, direction, grid.RowCount());
}

}  // namespace zub
