#include "inspect/ProcessTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeProcessSource.h"

namespace zub {
namespace {

using fakes::FakeProcessSource;

struct Line {
  int level;
  std::string text;
  bool operator==(const Line&) const = default;
};

// The tree in append order (which is also display order), with levels from 1.
std::vector<Line> LinesOf(const ProcessTree& tree) {
  std::vector<Line> lines;
  for (std::size_t i = 0; i < tree.Size(); ++i) {
    lines.push_back({tree.Depth(i) + 1, std::string(tree.Text(i))});
  }
  return lines;
}

TEST(ProcessTree, NoProcessesGiveTheHeadingAndTheFailureUnderIt) {
  FakeProcessSource source;
  source.listReadable = false;
  ProcessTree tree;
  tree.AddLevelNode(1, "left from the last build");
  const MemTreeCounters counters = BuildMemTree(source, tree);
  const std::vector<Line> expected = {
      {1, "My Windows 95 Tree. Whats Running and where it was loaded from."},
      {2, "Unable to retrieve Windows 95 Processes"},
  };
  EXPECT_EQ(LinesOf(tree), expected);
  EXPECT_EQ(tree.ChildCount(ProcessTree::kNoLine), 1u);
  EXPECT_EQ(StatusText(counters), "Zub found 0 Processes 0 Modules using 0Mb");
  EXPECT_EQ(source.releases, 1);
}

TEST(ProcessTree, OneModuleGivesFourLinesUnderItsProcess) {
  FakeProcessSource source;
  source.Add("/usr/bin/explorer.exe", std::vector<ModuleRecord>{{"/usr/lib/libc.so.6", 2048, 7}}, 8,
             3);
  ProcessTree tree;
  const MemTreeCounters counters = BuildMemTree(source, tree);
  const std::vector<Line> expected = {
      {1, std::string(kTreeHeadingText)},
      {1, "/usr/bin/explorer.exe * has been used 3 times "},
      {2, "*** Module list for process explorer.exe ***"},
      {2, "/usr/lib/libc.so.6 * size is 2048 bytes has been used 7 times"},
      {2, "***** End of Module List ****"},
      {2, "1 Modules found for process 1 total size = 2Kb"},
  };
  EXPECT_EQ(LinesOf(tree), expected);
  EXPECT_EQ(tree.ChildCount(1), 4u);
  EXPECT_EQ(tree.ChildCount(0), 0u);
  EXPECT_EQ(StatusText(counters), "Zub found 1 Processes 1 Modules using 0Mb");
}

TEST(ProcessTree, UnreadableModuleListStillCountsTheProcess) {
  FakeProcessSource source;
  source.Add("[kthreadd]", std::nullopt);
  source.Add("/bin/sh", std::vector<ModuleRecord>{{"/bin/sh", 1023, 1}, {"/lib/a.so", 1, 1}});
  ProcessTree tree;
  const MemTreeCounters counters = BuildMemTree(source, tree);
  const std::vector<Line> expected = {
      {1, std::string(kTreeHeadingText)},
      {1, "[kthreadd] * has been used 1 times "},
      {2, "Unable to retrieve Windows 95 Modules for this process"},
      {2, "***** End of Module List ****"},
      {2, "0 Modules found for process 1 total size = 0Kb"},
      {1, "/bin/sh * has been used 1 times "},
      {2, "*** Module list for process sh ***"},
      {2, "/bin/sh * size is 1023 bytes has been used 1 times"},
      {2, "/lib/a.so * size is 1 bytes has been used 1 times"},
      {2, "***** End of Module List ****"},
      // The ordinal counts the process whose list could not be read; 1024 bytes are 1 Kb.
      {2, "2 Modules found for process 2 total size = 1Kb"},
  };
  EXPECT_EQ(LinesOf(tree), expected);
  EXPECT_EQ(counters.processCount, 2u);
  EXPECT_EQ(counters.moduleCount, 2u);
  EXPECT_EQ(counters.totalBytes, 1024u);
}

TEST(ProcessTree, SizesBeyondThirtyTwoBitsAreShownWhole) {
  FakeProcessSource source;
  const std::uint64_t big = std::uint64_t{5} << 30;  // 5 GiB
  source.Add("/opt/db", std::vector<ModuleRecord>{{"/data/huge.map", big, 1}});
  source.Add("/opt/db2", std::vector<ModuleRecord>{{"/data/huge.map", big, 2}});
  ProcessTree tree;
  const MemTreeCounters counters = BuildMemTree(source, tree);
  EXPECT_EQ(tree.Text(3), "/data/huge.map * size is 5368709120 bytes has been used 1 times");
  EXPECT_EQ(tree.Text(5), "1 Modules found for process 1 total size = 5242880Kb");
  EXPECT_EQ(StatusText(counters), "Zub found 2 Processes 2 Modules using 10240Mb");
  // Absurd sizes from a damaged source stop at the top instead of wrapping to small ones.
  FakeProcessSource absurd;
  absurd.Add("/x", std::vector<ModuleRecord>{{"/a", UINT64_MAX, 1}, {"/b", 5, 1}});
  EXPECT_EQ(BuildMemTree(absurd, tree).totalBytes, UINT64_MAX);
}

TEST(ProcessTree, StatusDivisionsDropTheRemainder) {
  EXPECT_EQ(StatusText({14, 212, 39000000}), "Zub found 14 Processes 212 Modules using 37Mb");
  EXPECT_EQ(StatusText({1, 1, 1048575}), "Zub found 1 Processes 1 Modules using 0Mb");
  EXPECT_EQ(StatusText({1, 1, 1048576}), "Zub found 1 Processes 1 Modules using 1Mb");
  EXPECT_EQ(ProcessSummaryText(3, 9, 1023), "3 Modules found for process 9 total size = 0Kb");
}

TEST(ProcessTree, OnlyBasePriorityThirteenIsMarked) {
  for (const std::int32_t priority : {4, 6, 8, 10, 12, 14, 24, 0, -13}) {
    SCOPED_TRACE(priority);
    EXPECT_EQ(ProcessLineText({"/a", 2, 1, priority, ""}), "/a * has been used 2 times ");
  }
  EXPECT_EQ(ProcessLineText({"/a", 2, 1, 13, ""}),
            "/a * has been used 2 times * Special High Priority *");
}

TEST(ProcessTree, HeaderNamesOnlyTheFilePart) {
  EXPECT_EQ(ModuleListHeaderText("/usr/bin/my prog"), "*** Module list for process my prog ***");
  EXPECT_EQ(ModuleListHeaderText("[kthreadd]"), "*** Module list for process [kthreadd] ***");
  EXPECT_EQ(ModuleListHeaderText("/usr/bin/"), "*** Module list for process  ***");
}

TEST(ProcessTree, NodeFileNameCutsAtTheLinesOwnSeparator) {
  const struct {
    const char* text;
    const char* name;
  } cases[] = {
      {"/usr/bin/bash * has been used 1 times * Special High Priority *", "/usr/bin/bash"},
      {"/lib/my lib.so (deleted) * size is 4096 bytes has been used 1 times",
       "/lib/my lib.so (deleted)"},
      // A Linux name may hold "*", and even a separator's words.
      {"/tmp/a*b/x* * has been used 2 times ", "/tmp/a*b/x*"},
      {"/tmp/a * size is 1 bytes * has been used 1 times ", "/tmp/a * size is 1 bytes"},
      {"/srv/x * has been used 1 times .so * size is 7 bytes has been used 1 times",
       "/srv/x * has been used 1 times .so"},
      {"*** Module list for process a * has been used 1 times  ***", ""},
      {"***** End of Module List ****", ""},
      {"ab* c", ""},
      {"/a * has been used times ", ""},  // no figure
      {"My Windows 95 Tree. Whats Running and where it was loaded from.", ""},
      {"3 Modules found for process 1 total size = 12Kb", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NodeFileName(c.text), c.name);
  }
  // Whatever path a line is made from, its name comes back whole.
  for (const std::string path :
       {"/a * size is 3 bytes", "/b\nc *", "/d * has been used 1 times "}) {
    EXPECT_EQ(NodeFileName(ProcessLineText({path, 3, 1, 13, ""})), path);
    EXPECT_EQ(NodeFileName(ModuleLineText({path, 9, 2})), path);
  }
}

TEST(ProcessTree, FilePathsOfAProcessInAnotherViewGoThroughItsRoot) {
  FakeProcessSource source;
  source.Add("/usr/bin/app", std::vector<ModuleRecord>{{"/usr/lib/libc.so.6", 1, 1}});
  source.Add("/usr/bin/app", std::vector<ModuleRecord>{{"/usr/lib/libc.so.6", 1, 1}})
      .record.fileRoot = "/proc/102/root";
  ProcessTree tree;
  BuildMemTree(source, tree);
  EXPECT_EQ(tree.FilePath(1), "/usr/bin/app");
  EXPECT_EQ(tree.FilePath(3), "/usr/lib/libc.so.6");
  EXPECT_EQ(tree.FilePath(6), "/proc/102/root/usr/bin/app");
  EXPECT_EQ(tree.FilePath(8), "/proc/102/root/usr/lib/libc.so.6");
  EXPECT_EQ(tree.FilePath(7), "");  // the module list header names no file
  EXPECT_EQ(tree.FilePath(0), "");
}

// The lines a user had open or chosen are found again in a tree built from
// a later snapshot: the figures differ, processes came and went.
TEST(ProcessTree, PlacesAreFoundAgainInALaterSnapshot) {
  FakeProcessSource before;
  before.Add("/bin/sh", std::vector<ModuleRecord>{{"/bin/sh", 10, 1}, {"/lib/a.so", 5, 2}});
  before.Add("/bin/ed", std::nullopt);
  before.Add("/bin/sh", std::vector<ModuleRecord>{{"/bin/sh", 10, 2}, {"/lib/b.so", 5, 1}});
  ProcessTree old;
  BuildMemTree(before, old);
  // ed has ended, a new program came first, the figures changed.
  FakeProcessSource after;
  after.Add("/bin/new", std::vector<ModuleRecord>{{"/bin/new", 1, 1}});
  after.Add("/bin/sh", std::vector<ModuleRecord>{{"/bin/sh", 10, 2}, {"/lib/a.so", 6, 9}});
  after.Add("/bin/sh", std::vector<ModuleRecord>{{"/bin/sh", 10, 2}, {"/lib/b.so", 7, 3}}, 8, 4);
  ProcessTree now;
  BuildMemTree(after, now);
  TreePlaces oldPlaces(old);
  TreePlaces places(now);
  // Old line, new line: the heading, the second sh, its b.so, its summary; ed is gone.
  const std::pair<std::size_t, std::optional<std::size_t>> cases[] = {
      {0, 0}, {11, 12}, {14, 15}, {16, 17}, {7, std::nullopt}};
  for (const auto& [line, found] : cases) {
    EXPECT_EQ(places.Find(oldPlaces.PlaceOf(line)), found) << old.Text(line);
  }
  EXPECT_EQ(now.Text(15), "/lib/b.so * size is 7 bytes has been used 3 times");
}

TEST(ProcessTree, AddLevelNodeAttachesToTheRightParent) {
  ProcessTree tree;
  tree.AddLevelNode(2, "level 2 into an empty tree is a top line");
  tree.AddLevelNode(1, "top");
  tree.AddLevelNode(2, "child a");
  tree.AddLevelNode(2, "child b");
  tree.AddLevelNode(1, "second top");
  tree.AddLevelNode(2, "child c");
  EXPECT_EQ(tree.Depth(0), 0);
  EXPECT_EQ(tree.ChildCount(ProcessTree::kNoLine), 3u);
  EXPECT_EQ(tree.Child(ProcessTree::kNoLine, 2), 4u);
  EXPECT_EQ(tree.Parent(3), 1);
  EXPECT_EQ(tree.Row(3), 1u);
  EXPECT_EQ(tree.Parent(5), 4);
  EXPECT_EQ(tree.Row(5), 0u);
  EXPECT_EQ(tree.Row(4), 2u);
  EXPECT_EQ(tree.Text(5), "child c");
  tree.Clear();
  EXPECT_EQ(tree.Size(), 0u);
  EXPECT_EQ(tree.ChildCount(ProcessTree::kNoLine), 0u);
}

}  // namespace
}  // namespace zub
