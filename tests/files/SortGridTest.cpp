#include "files/SortGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zub {
namespace {

// Key order as a pass compares: sizes by value (" " below all), the rest as text.
int CompareKeys(const FileGrid& grid, SortKey key, std::size_t a, std::size_t b) {
  if (key == SortKey::skSizeText) {
    const auto value = [&grid](std::size_t row) {
      return grid.State(row) == CellState::Filled ? std::pair<int, std::int64_t>{1, grid.Size(row)}
                                                  : std::pair<int, std::int64_t>{0, 0};
    };
    return value(a) < value(b) ? -1 : (value(a) == value(b) ? 0 : 1);
  }
  return KeyText(grid, key, a).compare(KeyText(grid, key, b));
}

// The selection sort exactly as the rule table has it: the candidates, the
// comparison and at most one exchange per pass, keys taken afresh each time.
void LiteralSort(FileGrid& grid, SortKey key, SortDirection direction, std::size_t n,
                 std::size_t passes = SIZE_MAX) {
  n = std::min(n, grid.RowCount());
  if (n < 2) {
    return;
  }
  const bool tree = grid.Kind() == GridKind::DirectoryTree;
  const bool nameOrSize = key == SortKey::skNameText || key == SortKey::skSizeText;
  for (std::size_t i = 0; i < n && i < passes; ++i) {
    std::size_t best = i;
    if (direction == SortDirection::Descending) {
      for (std::size_t j = i + 1; j < n; ++j) {
        if (CompareKeys(grid, key, j, best) > 0) {
          best = j;
        }
      }
    } else if (!tree && nameOrSize) {
      for (std::size_t j = i; j < n; ++j) {
        if (CompareKeys(grid, key, j, best) <= 0) {
          best = j;
        }
      }
    } else {
      for (std::size_t j = tree ? i + 1 : i; j < n; ++j) {
        if (CompareKeys(grid, key, j, best) < 0) {
          best = j;
        }
      }
    }
    if (best != i) {
      grid.Exchange(i, best);
    }
  }
}

std::vector<std::string> Column(const FileGrid& grid, int column) {
  std::vector<std::string> cells;
  for (std::size_t row = 0; row < grid.RowCount(); ++row) {
    cells.push_back(grid.Cell(column, row));
  }
  return cells;
}

// Rows identified by their exact names, so equal texts stay distinguishable.
std::vector<std::string> Identity(const FileGrid& grid) {
  std::vector<std::string> ids;
  for (std::size_t row = 0; row < grid.RowCount(); ++row) {
    ids.push_back(std::string(grid.ExactName(row)) + "#" + std::to_string(grid.Size(row)) + "#" +
                  std::to_string(static_cast<int>(grid.State(row))));
  }
  return ids;
}

FileGrid Make(GridKind kind, const std::vector<std::pair<std::string, std::int64_t>>& rows) {
  FileGrid grid(kind);
  grid.SetRowCount(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    grid.FillRow(i, rows[i].first, rows[i].second);
    grid.SetNumbered(i, true);
  }
  return grid;
}

TEST(SortGridTest, NamesAndSizesOrderAsTheirTexts) {
  FileGrid grid = Make(GridKind::DirectorySpace, {{"b", 1}, {"a", 2}, {"c", 3}});
  SortGrid(grid, SortKey::skNameText, SortDirection::Ascending);
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"a", "b", "c"}));
  SortGrid(grid, SortKey::skNameText, SortDirection::Descending);
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"c", "b", "a"}));

  FileGrid sizes = Make(GridKind::DirectorySpace, {{"ten", 10}, {"nine", 9}});
  SortGrid(sizes, SortKey::skSizeText, SortDirection::Ascending);
  EXPECT_EQ(Column(sizes, 0), (std::vector<std::string>{"nine", "ten"}));
}

TEST(SortGridTest, EqualSizesSwapAscendingInTheListsButKeepTheirOrderInTheTree) {
  FileGrid space = Make(GridKind::DirectorySpace, {{"A", 5}, {"B", 5}});
  SortGrid(space, SortKey::skSizeText, SortDirection::Ascending);
  EXPECT_EQ(Column(space, 0), (std::vector<std::string>{"b", "a"}));
  SortGrid(space, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(Column(space, 0), (std::vector<std::string>{"b", "a"}));

  FileGrid tree = Make(GridKind::DirectoryTree, {{"A", 5}, {"B", 5}});
  SortGrid(tree, SortKey::skSizeText, SortDirection::Ascending);
  EXPECT_EQ(Column(tree, 0), (std::vector<std::string>{"a", "b"}));
}

TEST(SortGridTest, ExtensionKeyPutsNamesWithoutDotFirstAndIgnoresDotsInDirectories) {
  FileGrid grid = Make(GridKind::FileSearch, {{"/d/x.txt", 1}, {"/d/y.doc", 1}, {"/d.old/z", 1}});
  SortGrid(grid, SortKey::skFileExt, SortDirection::Ascending);
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"/d.old/z", "/d/y.doc", "/d/x.txt"}));
}

TEST(SortGridTest, OnlyNameAndSizeMoveTheNumberColumnStays) {
  FileGrid grid = Make(GridKind::DirectorySpace, {{"a", 1}, {"b", 3}, {"c", 2}});
  SortGrid(grid, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"1", "2", "3"}));
}

TEST(SortGridTest, SizesOfTwelveThirteenAndNineteenDigitsOrderByValueEitherWay) {
  const std::vector<std::int64_t> sizes = {
      999'999'999'999,   1'200'000'000'000,        5, 9'223'372'036'854'775'807, 100'000'000'000,
      1'000'000'000'000, 1'234'567'890'123'456'789};
  std::vector<std::pair<std::string, std::int64_t>> rows;
  for (const std::int64_t size : sizes) {
    rows.emplace_back("f" + std::to_string(size), size);
  }
  for (const GridKind kind :
       {GridKind::DirectorySpace, GridKind::DirectoryTree, GridKind::FileSearch}) {
    for (const SortDirection direction : {SortDirection::Ascending, SortDirection::Descending}) {
      FileGrid grid = Make(kind, rows);
      SortGrid(grid, SortKey::skSizeText, direction);
      std::vector<std::int64_t> expected = sizes;
      std::sort(expected.begin(), expected.end());
      if (direction == SortDirection::Descending) {
        std::reverse(expected.begin(), expected.end());
      }
      std::vector<std::int64_t> got;
      for (std::size_t row = 0; row < grid.RowCount(); ++row) {
        got.push_back(grid.Size(row));
      }
      EXPECT_EQ(got, expected) << "kind " << static_cast<int>(kind);
    }
  }
}

TEST(SortGridTest, AnOrderSortedAsideLeavesTheShownGridAloneUntilPutInPlace) {
  FileGrid grid = Make(GridKind::FileSearch, {{"/a", 1}, {"/b", 3}, {"/c", 2}, {"/d", 3}});
  FileGrid expected = grid;
  SortGrid(expected, SortKey::skSizeText, SortDirection::Descending);
  GridOrder order = grid.Order();
  EXPECT_TRUE(SortOrder(grid, SortKey::skSizeText, SortDirection::Descending, 4, order));
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"/a", "/b", "/c", "/d"}));
  EXPECT_FALSE(grid.SetOrder({0, 1, 1, 2}));  // not a permutation: refused
  EXPECT_FALSE(grid.SetOrder({0, 1, 2}));
  EXPECT_TRUE(grid.SetOrder(order));
  EXPECT_EQ(Identity(grid), Identity(expected));
  EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"0", "1", "2", "3"}));
}

TEST(SortGridTest, FewerThanTwoRowsOrNAreLeftAlone) {
  FileGrid grid = Make(GridKind::DirectorySpace, {{"b", 1}, {"a", 2}});
  EXPECT_TRUE(SortGrid(grid, SortKey::skNameText, SortDirection::Ascending, 1));
  EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"b", "a"}));
}

TEST(SortGridTest, CancelledSortKeepsEveryRowInTheOrderReached) {
  FileGrid grid(GridKind::FileSearch);
  grid.SetRowCount(50);
  for (std::size_t i = 0; i < 50; ++i) {
    grid.FillRow(i, "/f" + std::to_string(i), static_cast<std::int64_t>(i % 7));
  }
  FileGrid reference = grid;
  int passes = 0;
  EXPECT_FALSE(SortGrid(grid, SortKey::skSizeText, SortDirection::Descending, 50,
                        [&passes] { return ++passes > 10; }));
  EXPECT_EQ(passes, 11);
  // Exactly where ten passes of the literal sort leave the rows, nobody lost.
  LiteralSort(reference, SortKey::skSizeText, SortDirection::Descending, 50, 10);
  EXPECT_EQ(Identity(grid), Identity(reference));
  EXPECT_EQ(grid.Size(9), 5);
}

// The fast sort against the literal one on random grids heavy with equal
// keys, cleared and deleted rows, huge sizes, blanks and capitals.
TEST(SortGridTest, MatchesTheLiteralSelectionSortRowForRow) {
  std::mt19937 random(97);
  const std::vector<std::string> parts = {"a", "B", "a.b", "/", ".", "x.TXT", "y.doc", " ", "zz/"};
  const std::vector<std::int64_t> sizes = {0,
                                           1,
                                           9,
                                           10,
                                           10,
                                           999'999'999'999,
                                           1'000'000'000'000,
                                           9'000'000'000'000,
                                           123,
                                           std::numeric_limits<std::int64_t>::max()};
  const std::vector<std::size_t> counts = {0, 1, 2, 3, 5, 17, 64, 300, 2000};
  for (const GridKind kind :
       {GridKind::DirectorySpace, GridKind::DirectoryTree, GridKind::FileSearch}) {
    for (int k = 0; k <= 4; ++k) {
      for (const SortDirection direction : {SortDirection::Ascending, SortDirection::Descending}) {
        for (const std::size_t n : counts) {
          // The longest grids for one key of each rule row; the literal sort is slow.
          if (n > 300 && (kind != GridKind::DirectorySpace || k > 2)) {
            continue;
          }
          FileGrid grid(kind);
          grid.SetRowCount(n);
          for (std::size_t row = 0; row < n; ++row) {
            const unsigned roll = random() % 10;
            if (roll == 0) {
              continue;  // cleared
            }
            std::string name;
            for (unsigned p = random() % 4; p > 0; --p) {
              name += parts[random() % parts.size()];
            }
            grid.FillRow(row, name + std::to_string(random() % 3), sizes[random() % sizes.size()]);
            if (roll == 1) {
              grid.MarkDeleted(row);
            }
          }
          FileGrid expected = grid;
          const auto key = static_cast<SortKey>(k);
          // The tree sorts only the rows of its last listing.
          const std::size_t rows = kind == GridKind::DirectoryTree ? n - n / 5 : n;
          LiteralSort(expected, key, direction, rows);
          if (n % 2 == 1) {  // half of them sorted aside, as a worker does
            GridOrder order = grid.Order();
            SortOrder(grid, key, direction, rows, order);
            ASSERT_TRUE(grid.SetOrder(order));
          } else {
            SortGrid(grid, key, direction, rows);
          }
          ASSERT_EQ(Identity(grid), Identity(expected))
              << "kind " << static_cast<int>(kind) << " key " << k << " direction "
              << static_cast<int>(direction) << " n " << n;
        }
      }
    }
  }
}

}  // namespace
}  // namespace zub
