#include "files/DirectoryScan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <thread>
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

// What a real tree throws at a walk: a directory large enough to share its
// stats between threads, unknown kinds, files and a directory gone before
// they are asked about, a refusing directory, links and devices.
void FillBusyTree(FakeDirectorySource& source) {
  source.AddDir("/t");
  for (int d = 0; d < 6; ++d) {
    const std::string dir = "/t/d" + std::to_string(d);
    source.AddDir(dir);
    const int files = d == 2 ? 1500 : 30;
    for (int f = 0; f < files; ++f) {
      FakeDirectorySource::Node& file = source.AddFile(
          dir + "/f" + std::to_string(f) + (f % 3 == 0 ? ".txt" : ".bin"), f * 7 + d);
      file.reported = f % 11 == 0 ? EntryKind::Unknown : EntryKind::Regular;
      file.vanishes = f % 13 == 5;
      file.kind = f % 17 == 3 ? EntryKind::Other : EntryKind::Regular;
    }
    source.AddDir(dir + "/inner");
    source.AddFile(dir + "/inner/x.txt", d);
  }
  source.nodes["/t/d1/inner"].vanishes = true;
  source.nodes["/t/d4"].readable = false;
}

struct WalkRun {
  std::vector<std::string> visited;
  std::vector<std::string> entered;
  bool finished = false;
};

// Stops at the `stopAt`-th cancel point (never when 0).
WalkRun WalkBusyTree(bool twoThreads, const std::string& mask, int stopAt = 0) {
  FakeDirectorySource source;
  FillBusyTree(source);
  source.concurrent = twoThreads;
  class StopAt : public WalkControl {
   public:
    StopAt(WalkRun& run, int at) : run_(run), at_(at) {}
    void EnteringDirectory(const std::string& dir) override { run_.entered.push_back(dir); }
    bool ShouldStop() override { return ++asked_ == at_; }

   private:
    WalkRun& run_;
    int at_;
    int asked_ = 0;
  };
  WalkRun run;
  StopAt control(run, stopAt);
  run.finished = WalkDirectoryTree(
      source, "/t", mask,
      [&run](const std::string& dir, const FileEntry& e) {
        run.visited.push_back(dir + e.name + "#" + std::to_string(e.size));
        return true;
      },
      &control);
  EXPECT_EQ(source.open, 0);
  return run;
}

TEST(TwoThreadWalkTest, VisitsExactlyWhatOneThreadVisitsInItsOrderWhereverItStops) {
  for (const std::string mask : {"*", "*.txt"}) {
    const WalkRun one = WalkBusyTree(false, mask);
    const WalkRun two = WalkBusyTree(true, mask);
    EXPECT_TRUE(two.finished);
    EXPECT_EQ(two.visited, one.visited) << mask;
    EXPECT_EQ(two.entered, one.entered) << mask;
    EXPECT_GT(one.visited.size(), 500u);
  }
  // A cancel at every kind of point keeps the same rows, found so far.
  for (int stopAt = 1; stopAt < 1800; stopAt += stopAt < 40 ? 1 : 97) {
    const WalkRun one = WalkBusyTree(false, "*", stopAt);
    const WalkRun two = WalkBusyTree(true, "*", stopAt);
    ASSERT_EQ(two.finished, one.finished);
    ASSERT_EQ(two.visited, one.visited) << "stopped at " << stopAt;
    ASSERT_EQ(two.entered, one.entered) << "stopped at " << stopAt;
  }
}

TEST(TwoThreadWalkTest, ALargeListingIsTheSameOnTwoThreads) {
  FakeDirectorySource one;
  FakeDirectorySource two;
  FillBusyTree(one);
  FillBusyTree(two);
  one.concurrent = false;
  FileGrid a(GridKind::DirectorySpace);
  FileGrid b(GridKind::DirectorySpace);
  const Listing first =
      ListDirectory(one, "/t/d2", a, SortKey::skSizeText, SortDirection::Descending);
  const Listing second =
      ListDirectory(two, "/t/d2", b, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(first.count, second.count);
  EXPECT_EQ(first.total, second.total);
  ASSERT_EQ(a.RowCount(), b.RowCount());
  for (std::size_t row = 0; row < a.RowCount(); ++row) {
    ASSERT_EQ(a.ExactName(row), b.ExactName(row));
    ASSERT_EQ(a.Size(row), b.Size(row));
  }
  EXPECT_EQ(one.stats, two.stats);  // each file asked about once
}

// A source whose read of one directory hangs until the test lets it go, as
// on a mount that stopped answering.
class StuckSource : public DirectorySource {
 public:
  StuckSource(FakeDirectorySource& inner, std::string stuck, std::shared_future<void> released)
      : inner_(inner), stuck_(std::move(stuck)), released_(std::move(released)) {}
  std::unique_ptr<OpenDirectory> Open(const std::string& path) override {
    return Wrap(inner_.Open(path), path);
  }
  PathState StatPath(const std::string& path) override { return inner_.StatPath(path); }
  bool ConcurrentReads() const override { return true; }

 private:
  class Dir : public OpenDirectory {
   public:
    Dir(std::unique_ptr<OpenDirectory> inner, std::string path, const StuckSource& owner)
        : inner_(std::move(inner)), path_(std::move(path)), owner_(owner) {}
    DirectoryId Id() const override { return inner_->Id(); }
    bool ReadAll(std::vector<RawEntry>& out) override {
      if (path_ == owner_.stuck_) {
        owner_.released_.wait();
      }
      return inner_->ReadAll(out);
    }
    std::optional<EntryStat> Stat(const std::string& name) override { return inner_->Stat(name); }
    std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) override {
      return owner_.Wrap(inner_->OpenChild(name), path_ + (path_.back() == '/' ? "" : "/") + name);
    }

   private:
    std::unique_ptr<OpenDirectory> inner_;
    std::string path_;
    const StuckSource& owner_;
  };
  std::unique_ptr<OpenDirectory> Wrap(std::unique_ptr<OpenDirectory> dir,
                                      const std::string& path) const {
    return dir ? std::make_unique<Dir>(std::move(dir), path, *this) : nullptr;
  }
  FakeDirectorySource& inner_;
  std::string stuck_;
  std::shared_future<void> released_;
};

TEST(TwoThreadWalkTest, AStopAskedDuringAStuckReadEndsTheWalkOnceTheReadReturns) {
  FakeDirectorySource fake;
  FillBusyTree(fake);
  std::promise<void> release;
  StuckSource source(fake, "/t/d3", release.get_future().share());
  std::atomic<bool> stop{false};
  std::atomic<int> visited{0};
  class StopFlag : public WalkControl {
   public:
    explicit StopFlag(std::atomic<bool>& stop) : stop_(stop) {}
    bool ShouldStop() override { return stop_; }

   private:
    std::atomic<bool>& stop_;
  } control(stop);
  std::promise<bool> result;
  std::thread walker([&] {
    result.set_value(WalkDirectoryTree(
        source, "/t", "*",
        [&visited](const std::string&, const FileEntry&) {
          ++visited;
          return true;
        },
        &control));
  });
  // Everything before the stuck directory is found meanwhile.
  const WalkRun reference = WalkBusyTree(false, "*");
  const auto before =
      std::find_if(reference.visited.begin(), reference.visited.end(),
                   [](const std::string& path) { return path.rfind("/t/d3/", 0) == 0; });
  while (visited < before - reference.visited.begin()) {
    std::this_thread::yield();
  }
  stop = true;
  const int found = visited;
  release.set_value();
  std::future<bool> ended = result.get_future();
  EXPECT_FALSE(ended.get());
  walker.join();
  EXPECT_LE(visited - found, 1);  // the stuck directory's first file at most
  EXPECT_EQ(fake.open, 0);
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
