#include "app/ReportList.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/FakeDirectorySource.h"

namespace zub {
namespace {

TEST(ReportListTest, OneListingThenOneRowPerGridRowLargestFirstWithEscapedNames) {
  fakes::FakeDirectorySource files;
  files.AddDir("/d");
  files.AddFile("/d/Small", 1048576);
  files.AddFile("/d/tab\there", 2 * 1048576);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteListReport({"/d"}, files, out, err), 0);
  EXPECT_EQ(out.str(),
            "listing\tDirectory /d\t2\t3145728\t3 Mb 2 Files\n"
            "row\ttab\\there\t     2097152\t1\ttab\\there\n"
            "row\tsmall\t     1048576\t2\tSmall\n");
}

TEST(ReportListTest, AMissingDirectoryOrAFileIsAnErrorNotAnEmptyListing) {
  fakes::FakeDirectorySource files;
  files.AddFile("/f", 1);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteListReport({"/gone"}, files, out, err), 1);
  EXPECT_EQ(WriteListReport({"/f"}, files, out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("/gone: no such directory"), std::string::npos);
}

}  // namespace
}  // namespace zub

namespace zub {
namespace {

// The rows written straight into the block buffer read exactly as the
// window's cells would, escaped as every other record.
TEST(ReportListTest, RowsWrittenInBlocksReadAsTheCellsDo) {
  FileGrid grid(GridKind::FileSearch);
  grid.SetNumbered(0, true);
  grid.AppendRow("/D\t1/", " Odd\x01\x7f\\Name\xFF ", 1'234'567'890'123'456, true);
  grid.AppendRow("/d/", "x", -5, true);
  grid.AppendRow("/d/", "gone", 9, true);
  grid.MarkDeleted(3);
  grid.SetRowCount(5);
  std::ostringstream fast;
  std::ostringstream plain;
  {
    RecordWriter writer(fast);
    for (std::size_t row = 0; row < grid.RowCount(); ++row) {
      WriteGridRow(writer, grid, row, true);
      WriteRecord(plain, {"row", grid.Cell(0, row), grid.Cell(1, row), grid.Cell(2, row),
                          std::string(grid.ExactName(row))});
    }
  }
  EXPECT_EQ(fast.str(), plain.str());
  EXPECT_NE(fast.str().find("/d\\t1/ odd\\x01\\x7f\\\\name\xFF\t1234567890123456\t1\t"),
            std::string::npos);
}

}  // namespace
}  // namespace zub
