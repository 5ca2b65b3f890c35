#include "app/ReportProcesses.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/FakeProcessSource.h"

namespace zub {
namespace {

TEST(ReportProcesses, EveryLineThenTheStatusWithTextsEscaped) {
  fakes::FakeProcessSource source;
  source.Add("/usr/bin/a\tb", std::vector<ModuleRecord>{{"/lib/x.so", 3 << 20, 2}}, 13);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteProcessesReport(source, out, err), 0);
  EXPECT_EQ(out.str(),
            "line\t1\tMy Windows 95 Tree. Whats Running and where it was loaded from.\n"
            "line\t1\t/usr/bin/a\\tb * has been used 1 times * Special High Priority *\n"
            "line\t2\t*** Module list for process a\\tb ***\n"
            "line\t2\t/lib/x.so * size is 3145728 bytes has been used 2 times\n"
            "line\t2\t***** End of Module List ****\n"
            "line\t2\t1 Modules found for process 1 total size = 3072Kb\n"
            "status\tZub found 1 Processes 1 Modules using 3Mb\n");
  EXPECT_EQ(err.str(), "");
}

TEST(ReportProcesses, UnreadableListIsPrintedAndFails) {
  fakes::FakeProcessSource source;
  source.listReadable = false;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteProcessesReport(source, out, err), 1);
  EXPECT_NE(out.str().find("line\t2\tUnable to retrieve Windows 95 Processes\n"),
            std::string::npos);
  EXPECT_NE(out.str().find("status\tZub found 0 Processes 0 Modules using 0Mb\n"),
            std::string::npos);
  EXPECT_NE(err.str().find("cannot be read"), std::string::npos);
}

}  // namespace
}  // namespace zub
