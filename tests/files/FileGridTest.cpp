#include "files/FileGrid.h"

#include <gtest/gtest.h>

#include <string>

namespace zub {
namespace {

TEST(FileGridTest, GrowingNeverMovesARowOrItsText) {
  FileGrid grid(GridKind::FileSearch);
  grid.AppendRow("/d/", "First", 7, true);
  const FileGrid::Record* first = &grid.RecordAt(1);
  const char* firstText = grid.ExactName(1).data();
  for (int i = 0; i < 50'000; ++i) {
    grid.AppendRow("/some/longer/directory/", "file_" + std::to_string(i), i, true);
  }
  EXPECT_EQ(&grid.RecordAt(1), first);
  EXPECT_EQ(grid.ExactName(1).data(), firstText);
  ASSERT_EQ(grid.RowCount(), 50'002u);
  EXPECT_EQ(grid.Cell(0, 1), "/d/first");
  EXPECT_EQ(grid.Cell(0, 50'001), "/some/longer/directory/file_49999");
  EXPECT_EQ(grid.Cell(1, 50'001), "       49999");
  EXPECT_EQ(grid.Cell(2, 50'001), "50001");
  EXPECT_EQ(grid.Cell(2, 0), " ");  // the blank row was never numbered
}

TEST(FileGridTest, BatchesJoinTheShownOrderAtItsEnd) {
  FileGrid grid(GridKind::FileSearch);
  RowBatch empty;
  EXPECT_EQ(grid.Append(std::move(empty), true), 1u);
  RowBatch first;
  first.Add("/a/", "X", 1);
  first.Add("/b/", "", 2);
  first.Add("", "/c", 3);
  EXPECT_EQ(grid.Append(std::move(first), true), 1u);
  grid.Exchange(1, 3);
  RowBatch second;
  second.Add("/d/", "Y", 4);
  EXPECT_EQ(grid.Append(std::move(second), false), 4u);
  ASSERT_EQ(grid.RowCount(), 5u);
  EXPECT_EQ(grid.Cell(0, 1), "/c");
  EXPECT_EQ(grid.Cell(0, 2), "/b/");
  EXPECT_EQ(grid.ExactName(3), "/a/X");
  EXPECT_EQ(grid.ExactName(4), "/d/Y");
  EXPECT_EQ(grid.Size(4), 4);
  EXPECT_EQ(grid.Cell(2, 3), "3");
  EXPECT_EQ(grid.Cell(2, 4), " ");
  // A shorter grid keeps the rows shown first, in their order.
  grid.SetRowCount(3);
  EXPECT_EQ(grid.ExactName(1), "/c");
  EXPECT_EQ(grid.ExactName(2), "/b/");
  EXPECT_EQ(grid.Order(), (GridOrder{0, 1, 2}));
}

}  // namespace
}  // namespace zub
