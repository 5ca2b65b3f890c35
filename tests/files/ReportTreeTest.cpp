#include "app/ReportTree.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/FakeDirectorySource.h"

namespace zub {
namespace {

TEST(ReportTreeTest, NodesInTreeOrderThenThePanel) {
  fakes::FakeDirectorySource files;
  files.AddDir("/d");
  files.AddFile("/d/a", 1048576);
  files.AddDir("/d/my dir");
  files.AddFile("/d/my dir/b", 3 * 1048576);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteTreeReport({"/d"}, files, out, err), 0);
  EXPECT_EQ(out.str(),
            "node\t0\t/d/\n"
            "node\t1\t     1 Mb /d/\n"
            "node\t1\t     3 Mb /d/my dir/\n"
            "panel\t Total space 4 Mb, Number of Files = 2\n");
}

TEST(ReportTreeTest, SearchRowsLargestFirstThenTheTotal) {
  fakes::FakeDirectorySource files;
  files.AddDir("/d");
  files.AddFile("/d/A.txt", 5);
  files.AddFile("/d/b.doc", 7);
  files.AddFile("/d/c.TXT", 9);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteSearchReport({"/d", "*.txt"}, files, out, err), 0);
  EXPECT_EQ(out.str(),
            "row\t/d/c.txt\t           9\t0\n"
            "row\t/d/a.txt\t           5\t1\n"
            "row\t \t \t2\n"
            "panel\t Total space 0 Mb\n");
}

TEST(ReportTreeTest, AMissingDirectoryIsAnError) {
  fakes::FakeDirectorySource files;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteTreeReport({"/gone"}, files, out, err), 1);
  EXPECT_EQ(WriteSearchReport({"/gone", "*"}, files, out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("search: /gone: no such directory"), std::string::npos);
}

}  // namespace
}  // namespace zub
