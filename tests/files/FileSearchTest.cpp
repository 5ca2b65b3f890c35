#include "files/FileSearch.h"

#include <gtest/gtest.h>

#include "files/DirectoryScan.h"

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakeDirectorySource.h"
#include "fakes/ScriptedPrompts.h"

namespace zub {
namespace {

using fakes::FakeDirectorySource;
using fakes::ScriptedPrompts;

// Every row as "path|size|number".
std::vector<std::string> Rows(const FileGrid& grid) {
  std::vector<std::string> rows;
  for (std::size_t row = 0; row < grid.RowCount(); ++row) {
    rows.push_back(grid.Cell(0, row) + "|" + grid.Cell(1, row) + "|" + grid.Cell(2, row));
  }
  return rows;
}

std::vector<std::string> Paths(const FileGrid& grid) {
  std::vector<std::string> paths;
  for (std::size_t row = 0; row < grid.RowCount(); ++row) {
    paths.push_back(grid.Cell(0, row));
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

class FileSearchTest : public ::testing::Test {
 protected:
  FileSearchTest() {
    source.AddDir("/c");
    source.AddFile("/c/Ten.TXT", 10);
    source.AddDir("/c/sub");
    source.AddFile("/c/sub/thirty.txt", 30);
    source.AddFile("/c/sub/twenty.doc", 20);
    DriveInfo root;
    root.letter = 'C';
    root.mountPoint = "/c";
    drives.push_back(root);
  }

  bool Search(const std::string& start, const std::string& mask, const Pump& pump = {}) {
    return RunSearch(source, drives, prompts, start, mask, rows, flags, pump,
                     [this](const std::string& text) { panel.push_back(text); });
  }

  FakeDirectorySource source;
  std::vector<DriveInfo> drives;
  ScriptedPrompts prompts;
  SearchRows rows;
  SearchFlags flags;
  std::vector<std::string> panel;
};

TEST_F(FileSearchTest, RowsLargestFirstNumbersStayAndBlankRowLast) {
  prompts.answers = {Answer::Yes};
  ASSERT_TRUE(Search("/c", ""));
  EXPECT_EQ(Rows(rows.grid), (std::vector<std::string>{
                                 "/c/sub/thirty.txt|          30|0",
                                 "/c/sub/twenty.doc|          20|1",
                                 "/c/ten.txt|          10|2",
                                 " | |3",
                             }));
  EXPECT_EQ(rows.total, 60);
  EXPECT_EQ(panel, (std::vector<std::string>{kScanningText, kSortingText, " Total space 0 Mb"}));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_FALSE(flags.searchBusy);
}

TEST_F(FileSearchTest, WholeDriveQuestionOnlyForARootWithAShortMask) {
  prompts.answers = {Answer::No};
  rows.grid.SetRowCount(2);
  rows.grid.FillRow(1, "/earlier", 5);
  EXPECT_FALSE(Search("/c/", "*.*"));
  EXPECT_EQ(prompts.questions, (std::vector<std::string>{kWholeDriveQuestion}));
  EXPECT_EQ(rows.grid.Cell(0, 1), "/earlier");  // a No changes nothing
  EXPECT_TRUE(panel.empty());

  EXPECT_TRUE(Search("/c", "*.txt"));  // 5 characters: no question
  EXPECT_TRUE(Search("/c/sub", "*.*"));
  EXPECT_EQ(prompts.questions.size(), 1U);
  EXPECT_EQ(rows.grid.RowCount(), 3U);
}

TEST_F(FileSearchTest, NothingFoundLeavesRowZeroNumberedAndSortChangesNothing) {
  ASSERT_TRUE(Search("/c/sub", "*.none"));
  EXPECT_EQ(Rows(rows.grid), (std::vector<std::string>{" | |0"}));
  EXPECT_EQ(SearchSort(rows.grid, SortKey::skNameText, SortDirection::Ascending, flags, {}),
            SearchEnd::Finished);
  EXPECT_EQ(Rows(rows.grid), (std::vector<std::string>{" | |0"}));

  ASSERT_TRUE(Search("/removed", "*.*"));
  EXPECT_EQ(Rows(rows.grid), (std::vector<std::string>{" | |0"}));
  EXPECT_EQ(panel.back(), " Total space 0 Mb");
}

TEST_F(FileSearchTest, EscapeBeforeASearchDoesNotCancelIt) {
  flags.cancelRequested = true;
  ASSERT_TRUE(Search("/c/sub", "*.*"));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(rows.grid.RowCount(), 3U);
}

TEST_F(FileSearchTest, EscapeDuringTheWalkKeepsTheRowsFoundAndStillSorts) {
  prompts.answers = {Answer::Yes};
  int points = 0;
  ASSERT_TRUE(Search("/c", "", [&] {
    // The walk looks after every entry the mask matches, the directory
    // "sub" included: Escape after the second file.
    if (++points == 3) {
      flags.cancelRequested = true;
    }
  }));
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{kSearchCancelled}));
  EXPECT_EQ(Rows(rows.grid), (std::vector<std::string>{"/c/sub/thirty.txt|          30|0",
                                                       "/c/ten.txt|          10|1", " | |2"}));
  EXPECT_EQ(panel.back(), " Total space 0 Mb");
  EXPECT_FALSE(flags.cancelRequested);
  EXPECT_FALSE(flags.searchBusy);
}

TEST_F(FileSearchTest, EscapeDuringTheSortKeepsEveryRow) {
  for (int i = 0; i < 50; ++i) {
    source.AddFile("/c/sub/f" + std::to_string(i), (i * 37) % 11);
  }
  int points = 0;
  int walkPoints = 0;
  ASSERT_TRUE(Search("/c/sub", "f*", [&] {
    if (flags.searchBusy && rows.grid.RowCount() == 51 && ++points == 5) {
      flags.cancelRequested = true;  // Escape before the sort's fifth pass
    }
    ++walkPoints;
  }));
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{kSortCancelled}));
  ASSERT_EQ(rows.grid.RowCount(), 51U);
  std::vector<std::string> expected{" "};
  for (int i = 0; i < 50; ++i) {
    expected.push_back("/c/sub/f" + std::to_string(i));
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Paths(rows.grid), expected);
  for (std::size_t row = 0; row < rows.grid.RowCount(); ++row) {
    EXPECT_EQ(rows.grid.Cell(2, row), std::to_string(row));
  }
  EXPECT_FALSE(flags.searchBusy);
}

TEST(SortMenusTest, OneKeyCheckedAtATimeAndDescendingFirst) {
  SortMenus menus;
  for (int key = 0; key < 5; ++key) {
    EXPECT_FALSE(menus.IsChecked(static_cast<SortKey>(key)));
  }
  EXPECT_EQ(menus.Key(), SortKey::skNameText);
  EXPECT_TRUE(menus.IsChecked(SortDirection::Descending));
  menus.Choose(SortKey::skFilePath);
  menus.Choose(SortKey::skFileExt);
  EXPECT_TRUE(menus.IsChecked(SortKey::skFileExt));
  EXPECT_FALSE(menus.IsChecked(SortKey::skFilePath));
  menus.SetOrder(SortDirection::Ascending);
  EXPECT_FALSE(menus.IsChecked(SortDirection::Descending));
  EXPECT_EQ(menus.Key(), SortKey::skFileExt);
}

TEST(SearchTextTest, WholeDriveRuleAndTotal) {
  EXPECT_TRUE(AsksWholeDrive(true, ""));
  EXPECT_TRUE(AsksWholeDrive(true, "*.*"));
  EXPECT_FALSE(AsksWholeDrive(true, "*.txt"));
  EXPECT_FALSE(AsksWholeDrive(false, ""));
  const std::vector<DriveInfo> drives{DriveInfo{'C', "/", "", "", DriveKind::Fixed, "", "/"}};
  EXPECT_TRUE(IsDriveRoot(drives, "/"));
  EXPECT_FALSE(IsDriveRoot(drives, "/usr"));
  EXPECT_EQ(SearchTotalText(40 * 1048576LL), " Total space 40 Mb");
}

}  // namespace
}  // namespace zub
