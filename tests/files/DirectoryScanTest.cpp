#include "files/DirectoryScan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeDirectorySource.h"

namespace zub {
namespace {

using fakes::FakeDirectorySource;

std::vector<std::string> Walked(FakeDirectorySource& source, const std::string& start,
                                const std::string& mask, WalkControl* control = nullptr) {
  std::vector<std::string> visited;
  WalkDirectoryTree(
      source, start, mask,
      [&visited](const std::string& dir, const FileEntry& entry) {
        visited.push_back(dir + entry.name);
        return true;
      },
      control);
  return visited;
}

class WalkTest : public ::testing::Test {
 protected:
  WalkTest() {
    source.AddDir("/c");
    source.AddFile("/c/config.sys", 10);
    source.AddDir("/c/data.old");
    source.AddFile("/c/data.old/a.sys", 1);
    source.AddFile("/c/readme.txt", 2);
    source.AddDir("/c/windows");
    source.AddFile("/c/windows/w.sys", 3);
    source.AddDir("/c/windows/sub");
    source.AddFile("/c/windows/sub/s.sys", 4);
    source.AddFile("/c/windows/z.sys", 5);
    source.AddDir("/c/.hidden");
    source.AddFile("/c/.hidden/h.sys", 6);
    source.AddFile("/c/.dot.sys", 7);
  }
  FakeDirectorySource source;
};

TEST_F(WalkTest, FilesOfADirectoryComeBeforeItsSubdirectoriesDepthFirst) {
  EXPECT_EQ(Walked(source, "/c", "*.sys"),
            (std::vector<std::string>{"/c/config.sys", "/c/.dot.sys", "/c/data.old/a.sys",
                                      "/c/windows/w.sys", "/c/windows/z.sys",
                                      "/c/windows/sub/s.sys", "/c/.hidden/h.sys"}));
}

TEST_F(WalkTest, StatsOnlyTheFilesTheMaskTakes) {
  Walked(source, "/c/", "*.txt");
  EXPECT_EQ(source.stats, 1);
  EXPECT_EQ(source.statted.count("/c/readme.txt"), 1u);
}

TEST_F(WalkTest, LinksAreFilesOfTheirOwnAndOnlyMountPointsAreNotEntered) {
  FakeDirectorySource::Node link;
  link.kind = link.reported = EntryKind::Link;
  link.size = 2;
  source.Add("/c/to-windows", link);
  source.AddDir("/c/mnt", 2).mountRoot = true;  // another drive
  source.AddFile("/c/mnt/other.sys", 1);
  source.AddDir("/c/subvolume", 3);  // another device, no mount: part of the drive
  source.AddFile("/c/subvolume/in-subvolume.sys", 1);
  source.AddDir("/c/bound").mountRoot = true;  // a bind mount: same device
  source.AddFile("/c/bound/twice.sys", 1);
  // Without the attribute, mount ids tell.
  source.nodes["/c"].mountId = 7;
  FakeDirectorySource::Node& old = source.AddDir("/c/old-kernel", 4);
  old.tellsMountRoot = false;
  old.mountId = 8;
  source.AddFile("/c/old-kernel/no.sys", 1);
  FakeDirectorySource::Node& same = source.AddDir("/c/old-subvolume", 5);
  same.tellsMountRoot = false;
  same.mountId = 7;
  source.AddFile("/c/old-subvolume/yes.sys", 1);
  const auto visited = Walked(source, "/c", "*");
  const auto seen = [&visited](const std::string& path) {
    return std::count(visited.begin(), visited.end(), path);
  };
  EXPECT_EQ(seen("/c/to-windows"), 1);
  EXPECT_EQ(seen("/c/mnt/other.sys"), 0);
  EXPECT_EQ(seen("/c/subvolume/in-subvolume.sys"), 1);
  EXPECT_EQ(seen("/c/bound/twice.sys"), 0);
  EXPECT_EQ(seen("/c/old-kernel/no.sys"), 0);
  EXPECT_EQ(seen("/c/old-subvolume/yes.sys"), 1);
  EXPECT_EQ(seen("/c/.hidden/h.sys"), 1);
  EXPECT_EQ(seen("/c/windows/w.sys"), 1);
}

TEST_F(WalkTest, UnknownKindsAreAskedAndUnreadableDirectoriesAreEmpty) {
  FakeDirectorySource::Node dir = FakeDirectorySource::Dir();
  dir.reported = EntryKind::Unknown;
  source.Add("/c/u", dir);
  source.AddFile("/c/u/in-u.sys", 1);
  source.nodes["/c/windows"].readable = false;
  const auto visited = Walked(source, "/c", "*.sys");
  EXPECT_NE(std::find(visited.begin(), visited.end(), "/c/u/in-u.sys"), visited.end());
  EXPECT_EQ(std::find(visited.begin(), visited.end(), "/c/windows/w.sys"), visited.end());
}

TEST_F(WalkTest, AVisitorThatSaysStopEndsTheWalkAtOnce) {
  int calls = 0;
  EXPECT_FALSE(
      WalkDirectoryTree(source, "/c", "*.*", [&calls](const std::string&, const FileEntry&) {
        ++calls;
        return false;
      }));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(source.open, 0);  // every enumeration closed on the way out
}

// Records the cancel points and stops at the third.
class RecordingControl : public WalkControl {
 public:
  std::vector<std::string> entered;
  int asked = 0;
  void EnteringDirectory(const std::string& dir) override { entered.push_back(dir); }
  bool ShouldStop() override { return ++asked == 3; }
};

TEST_F(WalkTest, TheControlIsAskedBetweenFileEntriesAndStopsTheWalk) {
  RecordingControl control;
  const auto visited = Walked(source, "/c", "*.sys", &control);
  // config.sys, .dot.sys, then a.sys in data.old: stopped after the third.
  EXPECT_EQ(visited.size(), 3u);
  EXPECT_EQ(control.entered, (std::vector<std::string>{"/c/", "/c/data.old/"}));
}

TEST(TimedWalkControlTest, PumpsOnlyWhenTheIntervalHasPassed) {
  auto now = std::chrono::steady_clock::time_point{};
  int pumps = 0;
  bool cancel = false;
  TimedWalkControl control([&pumps] { ++pumps; }, [&cancel] { return cancel; },
                           std::chrono::milliseconds(10), [&now] { return now; });
  for (int i = 0; i < 100; ++i) {
    EXPECT_FALSE(control.ShouldStop());
  }
  EXPECT_EQ(pumps, 0);
  now += std::chrono::milliseconds(10);
  control.ShouldStop();
  control.ShouldStop();
  EXPECT_EQ(pumps, 1);
  cancel = true;
  EXPECT_TRUE(control.ShouldStop());
}

TEST(DeepWalkTest, DeepTreesWithSideBranchesHoldABoundedNumberOfDirectories) {
  FakeDirectorySource source;
  std::string path = "/d";
  source.AddDir(path);
  for (int level = 0; level < 2000; ++level) {
    // A second child at every level makes the walk come back and open it.
    source.AddDir(path + "/a");
    source.AddDir(path + "/b");
    source.AddFile(path + "/b/f", 1);
    path += "/a";
  }
  source.AddFile(path + "/leaf", 1);
  std::size_t files = 0;
  std::string deepest;
  WalkDirectoryTree(source, "/d", "*", [&](const std::string& dir, const FileEntry&) {
    if (++files == 1) {
      deepest = dir;
    }
    return true;
  });
  EXPECT_EQ(files, 2001u);
  EXPECT_EQ(deepest.size(), path.size() + 1);  // the leaf first, past PATH_MAX
  EXPECT_LE(source.mostOpen, static_cast<int>(kWalkOpenDirectories) + 1);
}

// Too many open files is not a missing directory: the walk closes its own
// shallow directories and opens again, so nothing below is lost.
TEST(DeepWalkTest, RunningOutOfDescriptorsSkipsNothing) {
  FakeDirectorySource source;
  std::string path = "/d";
  source.AddDir(path);
  for (int level = 0; level < 300; ++level) {
    source.AddFile(path + "/f", 1);
    source.AddDir(path + "/a");
    path += "/a";
  }
  source.budget = 64;  // the process holds more than the budget allowed for
  source.openLimit = 5;
  int files = 0;
  EXPECT_TRUE(WalkDirectoryTree(source, "/d", "*", [&files](const std::string&, const FileEntry&) {
    ++files;
    return true;
  }));
  EXPECT_EQ(files, 300);
  EXPECT_GT(source.tooManyOpenFailures, 0);
  EXPECT_LE(source.mostOpen, 5);
}

TEST(ListDirectoryTest, CountsTotalsAndNumbersTheFilesAndLeavesDirectoriesOut) {
  FakeDirectorySource source;
  source.AddDir("/d");
  source.AddFile("/d/One", 1);
  source.AddDir("/d/sub");
  source.AddFile("/d/three", 3);
  source.AddFile("/d/two", 2);
  FileGrid grid(GridKind::DirectorySpace);
  const Listing listing =
      ListDirectory(source, "/d", grid, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(listing.count, 3);
  EXPECT_EQ(listing.total, 6);
  EXPECT_EQ(listing.caption, "Directory /d");
  ASSERT_EQ(grid.RowCount(), 3u);
  EXPECT_EQ(grid.Cell(0, 0), "three");
  EXPECT_EQ(grid.Cell(0, 2), "one");
  EXPECT_EQ(grid.ExactName(2), "One");
  EXPECT_EQ(grid.Cell(2, 2), "3");
}

TEST(ListDirectoryTest, AnEmptyOrUnreadableDirectoryClearsEveryRowAndKeepsTheirNumber) {
  FakeDirectorySource source;
  source.AddDir("/d");
  source.AddFile("/d/a", 1);
  source.AddFile("/d/b", 1);
  source.AddDir("/e");
  source.AddDir("/e/only-a-directory");
  FileGrid grid(GridKind::DirectorySpace);
  ListDirectory(source, "/d", grid, SortKey::skSizeText, SortDirection::Descending);
  const Listing empty =
      ListDirectory(source, "/e", grid, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(empty.count, 0);
  ASSERT_EQ(grid.RowCount(), 2u);
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(grid.Cell(column, 1), " ");
  }
  const Listing missing =
      ListDirectory(source, "/gone", grid, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_FALSE(missing.readable);
  EXPECT_EQ(missing.total, 0);
}

TEST(ListDirectoryTest, AShorterListingLeavesNoRowOfTheLongerOne) {
  FakeDirectorySource source;
  source.AddDir("/d");
  for (int i = 0; i < 5; ++i) {
    source.AddFile("/d/f" + std::to_string(i), i);
  }
  source.AddDir("/e");
  source.AddFile("/e/x", 1);
  FileGrid grid(GridKind::DirectorySpace);
  ListDirectory(source, "/d", grid, SortKey::skSizeText, SortDirection::Descending);
  ListDirectory(source, "/e", grid, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(grid.RowCount(), 1u);
  EXPECT_EQ(grid.Cell(0, 0), "x");
}

}  // namespace
}  // namespace zub
