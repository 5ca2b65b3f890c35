#include "files/DirectoryTree.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "fakes/FakeDirectorySource.h"

namespace zub {
namespace {

using fakes::FakeDirectorySource;

constexpr std::int64_t kMb = 1048576;

// Every line in tree order as "level|text".
std::vector<std::string> Lines(const DirectoryTree& tree, std::int32_t parent = -1) {
  std::vector<std::string> lines;
  for (const std::int32_t node : tree.Children(parent)) {
    lines.push_back(std::to_string(tree.Level(node)) + "|" + std::string(tree.Text(node)));
    for (const std::string& below : Lines(tree, node)) {
      lines.push_back(below);
    }
  }
  return lines;
}

bool HasLocale(const char* name) {
  try {
    std::locale locale(name);
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

TEST(DirectoryTreeTest, AddLevelNodeClimbsToTheRightParent) {
  DirectoryTree tree;
  tree.AddLevelNode(1, "top");
  tree.AddLevelNode(2, "a");
  tree.AddLevelNode(3, "a1");  // below the last node, a
  tree.AddLevelNode(2, "b");   // climbs past a1 and a to the top node
  tree.AddLevelNode(1, "second top");
  tree.AddLevelNode(2, "c");
  EXPECT_EQ(Lines(tree),
            (std::vector<std::string>{"0|top", "1|a", "2|a1", "1|b", "0|second top", "1|c"}));
  EXPECT_EQ(tree.RowOf(3), 1U);
  EXPECT_EQ(tree.Parent(5), 4);
}

TEST(DirectoryTreeTest, NodePathOnNativePaths) {
  EXPECT_EQ(NodePath("/"), "/");
  EXPECT_EQ(NodePath("/usr/share/"), "/usr/share");
  EXPECT_EQ(NodePath("     3 Mb /usr/share/"), "/usr/share");
  EXPECT_EQ(NodePath("     0 Mb /"), "/");
  EXPECT_EQ(NodePath("     3 Mb /my docs/old files/"), "/my docs/old files");
  // Only the size's " Mb " counts: a directory may hold the same letters.
  EXPECT_EQ(NodePath("    12 Mb /x Mb /y/"), "/x Mb /y");
  EXPECT_EQ(NodePath("1234567 Mb /big/"), "/big");
  EXPECT_EQ(NodePath(""), "");
  EXPECT_EQ(NodePath("     3 Mb "), "");
}

TEST(DirectoryTreeTest, ChildTextPadsTheRoundedFigure) {
  EXPECT_EQ(ChildNodeText(2 * kMb, "/data/"), "     2 Mb /data/");
  EXPECT_EQ(ChildNodeText(kMb / 2 - 1, "/a/"), "     0 Mb /a/");
  EXPECT_EQ(ChildNodeText(5 * kMb / 2, "/a/"), "     2 Mb /a/");
  EXPECT_EQ(ChildNodeText(1234567 * kMb, "/a/"), "1234567 Mb /a/");
}

class TreeScanTest : public ::testing::Test {
 protected:
  FakeDirectorySource source;
  DirectoryTree tree;
  TreeScan scan{tree};
};

TEST_F(TreeScanTest, OneDirectoryGivesTopAndOneChild) {
  source.AddDir("/data");
  source.AddFile("/data/a", kMb);
  source.AddFile("/data/b", kMb);
  ExecuteTree(source, "/data", scan);
  EXPECT_EQ(Lines(tree), (std::vector<std::string>{"0|/data/", "1|     2 Mb /data/"}));
  EXPECT_EQ(TreePanelText(scan.State()), " Total space 2 Mb, Number of Files = 2");
}

TEST_F(TreeScanTest, StartWithoutOwnFilesIsNamedByTheFirstDirectoryWithFiles) {
  source.AddDir("/a");
  source.AddDir("/a/b");
  source.AddFile("/a/b/f", 3 * kMb);
  ExecuteTree(source, "/a", scan);
  EXPECT_EQ(Lines(tree), (std::vector<std::string>{"0|/a/b/", "1|     3 Mb /a/b/"}));
}

TEST_F(TreeScanTest, ChildrenInWalkOrderWithOwnFilesOnlyAndSortSmallestFirst) {
  source.AddDir("/s");
  source.AddDir("/s/x");
  source.AddFile("/s/x/f", 3 * kMb);
  source.AddDir("/s/x/empty");
  source.AddDir("/s/y");
  source.AddFile("/s/y/f", 12 * kMb);
  source.AddDir("/s/y/z");
  source.AddFile("/s/y/z/f", 2 * kMb);
  ExecuteTree(source, "/s", scan);
  const std::vector<std::string> walked{"0|/s/x/", "1|     3 Mb /s/x/", "1|    12 Mb /s/y/",
                                        "1|     2 Mb /s/y/z/"};
  EXPECT_EQ(Lines(tree), walked);
  EXPECT_EQ(scan.State().count, 3);

  tree.SortSiblings(TreeOrder("C.UTF-8"));
  EXPECT_EQ(Lines(tree), (std::vector<std::string>{"0|/s/x/", "1|     2 Mb /s/y/z/",
                                                   "1|     3 Mb /s/x/", "1|    12 Mb /s/y/"}));
  // A second Execute starts again from nothing and gives the walk's tree.
  ExecuteTree(source, "/s", scan);
  EXPECT_EQ(Lines(tree), walked);
  EXPECT_EQ(TreePanelText(scan.State()), " Total space 17 Mb, Number of Files = 3");
}

TEST_F(TreeScanTest, NoFilesAnywhereGivesAnEmptyTree) {
  source.AddDir("/e");
  source.AddDir("/e/sub");
  ExecuteTree(source, "/e", scan);
  EXPECT_EQ(tree.NodeCount(), 0U);
  EXPECT_EQ(TreePanelText(scan.State()), " Total space 0 Mb, Number of Files = 0");
  ExecuteTree(source, "/gone", scan);
  EXPECT_EQ(tree.NodeCount(), 0U);
}

// Collation in most UTF-8 locales skips spaces at the first level, which
// would put "    12 Mb" before "     3 Mb".
TEST(TreeOrderTest, SpacesComeBeforeDigitsUnderUtf8Locales) {
  for (const char* name : {"C.UTF-8", "en_US.UTF-8", "C"}) {
    if (!HasLocale(name)) {
      continue;
    }
    SCOPED_TRACE(name);
    const TreeOrder order(name);
    EXPECT_LT(order.Compare("     3 Mb /b/", "    12 Mb /a/"), 0);
    EXPECT_GT(order.Compare("    12 Mb /a/", "     3 Mb /b/"), 0);
    EXPECT_LT(order.Compare("     3 Mb /a/", "     3 Mb /b/"), 0);
    EXPECT_LT(order.Compare("     3 Mb /a b/", "     3 Mb /ab/"), 0);
    EXPECT_EQ(order.Compare("     3 Mb /a/", "     3 Mb /a/"), 0);
    EXPECT_LT(order.Compare("     3 Mb /a/", "     3 Mb /a/b/"), 0);
  }
}

TEST(TreeOrderTest, PathsFollowTheLocaleNotTheBytes) {
  if (!HasLocale("en_US.UTF-8")) {
    GTEST_SKIP() << "en_US.UTF-8 is not installed";
  }
  const TreeOrder order("en_US.UTF-8");
  // Bytes put "B" before "a"; the locale does not.
  EXPECT_LT(order.Compare("     1 Mb /a/", "     1 Mb /B/"), 0);
  EXPECT_LT(order.Compare("     1 Mb /\xc3\xa9t\xc3\xa9/", "     1 Mb /f/"), 0);
}

}  // namespace
}  // namespace zub
