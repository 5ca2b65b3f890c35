// The file windows' long flows without widgets: a fake tree, a gate that
// stops answering, scripted prompts and a clock moved by hand.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fakes/FakeDirectorySource.h"
#include "fakes/GatedDirectorySource.h"
#include "fakes/ScriptedPrompts.h"
#include "files/ListingFlow.h"
#include "files/Patient.h"
#include "files/SearchFlow.h"
#include "files/TreeFlow.h"

namespace zub {
namespace {

using namespace std::chrono_literals;

constexpr std::int64_t kMb = 1048576;

struct RecordingView : FlowView {
  std::vector<std::string> panels;
  std::vector<std::string> captions;
  // (first new row, rows after) of each batch of rows
  std::vector<std::pair<std::size_t, std::size_t>> appended;
  std::vector<std::size_t> treeAppended;
  int treeDone = 0;
  int focus = 0;
  std::function<void()> onFocus;
  const FileGrid* grid = nullptr;

  void ShowPanel(const std::string& text) override { panels.push_back(text); }
  void ShowCaption(const std::string& text) override { captions.push_back(text); }
  void GridAppended(std::size_t first) override { appended.emplace_back(first, grid->RowCount()); }
  void FocusGrid() override {
    ++focus;
    if (onFocus) {
      onFocus();
    }
  }
  void TreeAppended(std::size_t first) override { treeAppended.push_back(first); }
  void TreeDone() override { ++treeDone; }
};

class FlowTest : public ::testing::Test {
 protected:
  FlowTest() {
    files.AddDir("/c");
    files.AddFile("/c/Ten.TXT", 10);
    files.AddDir("/c/sub");
    files.AddFile("/c/sub/thirty.txt", 30);
    files.AddFile("/c/sub/twenty.doc", 20);
  }
  FlowClock Clock() {
    return [this] { return now; };
  }
  // Ticks `flow` to its end as the window's loop would, the clock moving a
  // batch interval at each tick; `each` acts between ticks.
  void RunToEnd(Flow& flow, const std::function<void()>& each = {}) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (flow.Tick()) {
      now += kBatchInterval;
      if (each) {
        each();
      }
      std::this_thread::sleep_for(100us);
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the flow never ended";
    }
  }
  void WaitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
    ASSERT_TRUE(done());
  }
  static std::vector<std::string> Rows(const FileGrid& grid) {
    std::vector<std::string> rows;
    for (std::size_t row = 0; row < grid.RowCount(); ++row) {
      rows.push_back(grid.Cell(0, row) + "|" + grid.Cell(1, row) + "|" + grid.Cell(2, row));
    }
    return rows;
  }

  fakes::FakeDirectorySource files;
  fakes::ScriptedPrompts prompts;
  RecordingView view;
  WorkClock::time_point now{};
};

TEST_F(FlowTest, SearchRowsArriveInOrderedBatchesAndEndAsTheSearchOnOneThread) {
  for (int d = 0; d < 40; ++d) {
    files.AddDir("/c/d" + std::to_string(d));
    for (int f = 0; f < 25; ++f) {
      files.AddFile("/c/d" + std::to_string(d) + "/f" + std::to_string(f), (d * 7 + f * 13) % 50);
    }
  }
  fakes::GatedDirectorySource gated(files, "d20");
  SearchRows rows;
  view.grid = &rows.grid;
  SearchFlow flow(gated, prompts, rows, view, Clock(), kPatient);
  ASSERT_TRUE(flow.Begin({}, "/c", "*.*"));
  RunToEnd(flow, [&] {
    if (gated.Reached() && !view.appended.empty()) {
      gated.Release();
    }
  });

  ASSERT_GE(view.appended.size(), 2U)
      << "rows came in one piece; panels " << ::testing::PrintToString(view.panels) << ", given up "
      << flow.GivenUpCount() << ", rows " << rows.grid.RowCount();
  std::size_t end = 1;  // after the blank row 0
  for (const auto& [first, after] : view.appended) {
    EXPECT_EQ(first, end) << "a batch left a gap or came twice";
    end = after;
  }
  SearchRows plain;
  SearchFlags flags;
  RunSearch(files, {}, prompts, "/c", "*.*", plain, flags, {}, [](const std::string&) {});
  EXPECT_EQ(Rows(rows.grid), Rows(plain.grid));
  EXPECT_EQ(rows.total, plain.total);
  EXPECT_EQ(view.panels,
            (std::vector<std::string>{kScanningText, kSortingText, SearchTotalText(plain.total)}));
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(FlowTest, SearchEscapeInTheWalkKeepsWhatWasFoundSortedAndSaysSo) {
  fakes::GatedDirectorySource gated(files, "thirty.txt");
  SearchRows rows;
  view.grid = &rows.grid;
  SearchFlow flow(gated, prompts, rows, view, Clock(), kPatient);
  ASSERT_TRUE(flow.Begin({}, "/c", ""));
  RunToEnd(flow, [&] {
    if (gated.Reached() && !flow.CancelRequested() && prompts.messages.empty()) {
      flow.Escape();
      gated.Release();
    }
  });
  // The file being looked at when Escape came is the last one found.
  EXPECT_EQ(prompts.messages, std::vector<std::string>{kSearchCancelled});
  EXPECT_EQ(Rows(rows.grid), (std::vector<std::string>{"/c/sub/thirty.txt|          30|0",
                                                       "/c/ten.txt|          10|1", " | |2"}));
  EXPECT_EQ(view.panels.back(), " Total space 0 Mb");
  EXPECT_FALSE(flow.SearchBusy());
  EXPECT_FALSE(flow.CancelRequested());
}

TEST_F(FlowTest, SearchEscapeAsTheSortStartsKeepsTheOrderReached) {
  SearchRows rows;
  view.grid = &rows.grid;
  SearchFlow flow(files, prompts, rows, view, Clock(), kPatient);
  view.onFocus = [&] {
    if (view.focus == 2) {  // the sort's, after the search's
      flow.Escape();
    }
  };
  ASSERT_TRUE(flow.Begin({}, "/c", ""));
  RunToEnd(flow);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{kSortCancelled});
  EXPECT_EQ(Rows(rows.grid), (std::vector<std::string>{" | |0", "/c/ten.txt|          10|1",
                                                       "/c/sub/thirty.txt|          30|2",
                                                       "/c/sub/twenty.doc|          20|3"}));
  EXPECT_EQ(view.panels.back(), " Total space 0 Mb");
  // Escape with nothing running reaches nothing.
  flow.Escape();
  EXPECT_FALSE(flow.CancelRequested());
  ASSERT_TRUE(flow.BeginSort(SortKey::skNameText, SortDirection::Ascending));
  RunToEnd(flow);
  EXPECT_EQ(prompts.messages.size(), 1U);
  EXPECT_EQ(rows.grid.Cell(0, 1), "/c/sub/thirty.txt");
}

TEST_F(FlowTest, SearchWholeDriveQuestionNoChangesNothingAndYesSearches) {
  std::vector<DriveInfo> drives(1);
  drives[0].letter = 'C';
  drives[0].mountPoint = "/c";
  SearchRows rows;
  rows.grid.SetRowCount(5);
  view.grid = &rows.grid;
  SearchFlow flow(files, prompts, rows, view, Clock(), kPatient);
  prompts.answers = {Answer::No};
  EXPECT_FALSE(flow.Begin(drives, "/c", "*.*"));
  EXPECT_EQ(rows.grid.RowCount(), 5U);
  EXPECT_TRUE(view.panels.empty());
  EXPECT_FALSE(flow.Tick());
  prompts.answers = {Answer::Yes};
  ASSERT_TRUE(flow.Begin(drives, "/c", "*.*"));
  RunToEnd(flow);
  EXPECT_EQ(prompts.questions.size(), 2U);
  EXPECT_EQ(rows.grid.Cell(0, 0), "/c/sub/thirty.txt");
}

TEST_F(FlowTest, SearchClosedInTheWalkOrTheSortEndsWithoutAWord) {
  fakes::GatedDirectorySource gated(files, "thirty.txt");
  SearchRows rows;
  view.grid = &rows.grid;
  SearchFlow flow(gated, prompts, rows, view, Clock(), kPatient);
  ASSERT_TRUE(flow.Begin({}, "/c", ""));
  RunToEnd(flow, [&] {
    if (gated.Reached()) {
      flow.Close();
      gated.Release();
    }
  });
  EXPECT_EQ(view.focus, 1) << "a closed search went on to its sort";
  EXPECT_EQ(rows.grid.Cell(0, 1), "/c/ten.txt") << "rows stay in the order found";
  EXPECT_EQ(rows.grid.RowCount(), 3U);

  view.onFocus = [&] { flow.Close(); };
  ASSERT_TRUE(flow.BeginSort(SortKey::skNameText, SortDirection::Descending));
  RunToEnd(flow);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(rows.grid.Cell(0, 0), " ") << "the sort went on after the close";
  EXPECT_FALSE(flow.SearchBusy());
}

TEST_F(FlowTest, ASearchWhoseDirectoryStopsAnsweringIsLeftBehindAndNeverTouchedAgain) {
  fakes::GatedDirectorySource gated(files, "thirty.txt");
  SearchRows rows;
  view.grid = &rows.grid;
  SearchFlow flow(gated, prompts, rows, view, Clock(), WorkLimits{1s, 300ms});
  ASSERT_TRUE(flow.Begin({}, "/c", ""));
  WaitUntil([&] { return gated.Reached(); });
  RunToEnd(flow);
  EXPECT_EQ(flow.GivenUpCount(), 1);
  EXPECT_TRUE(prompts.messages.empty()) << "nobody cancelled";
  EXPECT_EQ(view.panels.back(), "/c/sub does not answer");
  EXPECT_EQ(rows.grid.Cell(0, 0), "/c/ten.txt");
  const std::vector<std::string> found = Rows(rows.grid);
  gated.Release();
  WaitUntil([&] { return !flow.LeftBehindRunning(); });
  EXPECT_EQ(gated.CallsAfterRelease(), 0);
  EXPECT_EQ(Rows(rows.grid), found);
}

TEST_F(FlowTest, TreeEscapeMidWalkKeepsTheDirectoriesWalkedWithTheirTotals) {
  files.AddDir("/t");
  files.AddFile("/t/one", kMb);
  files.AddFile("/t/two", kMb);
  files.AddDir("/t/a");
  files.AddFile("/t/a/x", 3 * kMb);
  files.AddDir("/t/b");
  files.AddFile("/t/b/y", kMb);
  files.AddDir("/t/c");
  files.AddFile("/t/c/z", kMb);
  fakes::GatedDirectorySource gated(files, "y");  // the walk is at /t/b
  DirectoryTree tree;
  TreeFlow flow(gated, tree, view, Clock(), kPatient);
  ASSERT_TRUE(flow.BeginExecute("/t"));
  RunToEnd(flow, [&] {
    if (gated.Reached()) {
      flow.Escape();
      gated.Release();
    }
  });
  ASSERT_EQ(tree.Children(DirectoryTree::kNone).size(), 1U)
      << ::testing::PrintToString(view.panels);
  const std::int32_t top = tree.Children(DirectoryTree::kNone)[0];
  EXPECT_EQ(tree.Text(top), "/t/");
  std::vector<std::string> children;
  for (const std::int32_t child : tree.Children(top)) {
    children.emplace_back(tree.Text(child));
  }
  EXPECT_EQ(children, (std::vector<std::string>{"     2 Mb /t/", "     3 Mb /t/a/"}));
  EXPECT_EQ(view.panels, std::vector<std::string>{" Total space 5 Mb, Number of Files = 3"});
  EXPECT_EQ(view.treeDone, 1);
  ASSERT_FALSE(view.treeAppended.empty());
  EXPECT_EQ(view.treeAppended.front(), 0U);
}

TEST_F(FlowTest, ListingStreamsAsTheOneThreadListingAndAGoneLineChangesNothing) {
  for (int f = 0; f < 30; ++f) {
    files.AddFile("/c/f" + std::to_string(f), (f * 37) % 11);
  }
  FileGrid grid(GridKind::DirectorySpace);
  view.grid = &grid;
  ListingFlow flow(files, prompts, grid, view, Clock(), kPatient);
  ASSERT_TRUE(flow.BeginListing("/c", SortKey::skSizeText, SortDirection::Descending,
                                [](const Listing& l) { return std::to_string(l.count); }));
  RunToEnd(flow);
  FileGrid plain(GridKind::DirectorySpace);
  const Listing expected =
      ListDirectory(files, "/c", plain, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(Rows(grid), Rows(plain));
  EXPECT_EQ(flow.Last().total, expected.total);
  EXPECT_EQ(view.captions, std::vector<std::string>{"Directory /c"});
  EXPECT_EQ(view.panels, std::vector<std::string>{"31"});

  files.nodes.erase("/c/sub");
  ASSERT_TRUE(flow.BeginListing(
      "/c/sub", SortKey::skSizeText, SortDirection::Descending,
      [](const Listing&) { return std::string("changed"); }, ListingMode::ChosenLine));
  RunToEnd(flow);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"/c/sub: no such directory"});
  EXPECT_EQ(Rows(grid), Rows(plain));
  EXPECT_EQ(flow.Last().directory, "/c");
  EXPECT_EQ(view.panels.size(), 1U);

  // No directory at all (a drive gone): nothing is read, not even ".".
  files.opened.clear();
  ASSERT_TRUE(flow.BeginListing("", SortKey::skSizeText, SortDirection::Descending,
                                [](const Listing& l) { return "[" + l.directory + "]"; }));
  RunToEnd(flow);
  EXPECT_TRUE(files.opened.empty());
  EXPECT_EQ(view.panels.back(), "[]");
  EXPECT_EQ(grid.State(0), CellState::Cleared);
}

TEST(WatchedSourceTest, AStoppedSourceEndsAWalkThatFindsNothing) {
  fakes::FakeDirectorySource source;
  source.AddDir("/c");
  for (int i = 0; i < 20; ++i) {
    source.AddDir("/c/d" + std::to_string(i));
  }
  WorkState state;
  WatchedSource watched(source, state);
  int directories = 0;
  class Count : public WalkControl {
   public:
    Count(int& n, WorkState& state) : n_(n), state_(state) {}
    void EnteringDirectory(const std::string&) override {
      if (++n_ == 3) {
        state_.RequestStop();
      }
    }
    bool ShouldStop() override { return false; }

   private:
    int& n_;
    WorkState& state_;
  } count(directories, state);
  WalkDirectoryTree(
      watched, "/c", "*.none", [](const std::string&, const FileEntry&) { return true; }, &count);
  EXPECT_EQ(directories, 3);
}

}  // namespace
}  // namespace zub
