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
