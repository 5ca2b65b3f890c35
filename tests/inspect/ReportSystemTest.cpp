#include "app/ReportSystem.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/FakePlatform.h"
#include "fakes/FakeSystemFacts.h"
#include "fakes/FakeWindowSource.h"

namespace zub {
namespace {

class ReportSystemTest : public ::testing::Test {
 protected:
  ReportSystemTest() {
    machine.writable = false;
    table.Add("/");
    space.Set("/", 0, std::int64_t{2} << 40);
  }

  fakes::FakeSettingsFile machine;
  fakes::FakeSystemFacts facts;
  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  DriveQueries queries{table, space};
  fakes::FakeWindowSource windows;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(ReportSystemTest, WindowRecordsInListOrderThenFigures) {
  const WindowHandle top = windows.Add("Editor\tdocument");
  windows.Add("");
  const WindowHandle below = windows.Add("Terminal");
  const TSysInfo info(machine, facts, queries);
  TWindowsList list(windows);
  list.SetAcceptEmptyNames(true);  // the report lists as the window does, whatever it is given
  WriteWindowsRecords(list, info, out);

  std::ostringstream expected;
  expected << "window\t0x" << std::hex << top << "\tEditor\\tdocument\n"
           << "window\t0x" << below << "\tTerminal\n"
           << "figures\t8388608 KB/ 2 Windows\n";
  EXPECT_EQ(out.str(), expected.str());
}

TEST_F(ReportSystemTest, SysinfoRecordsNameEachTextInOrder) {
  WriteSysinfoRecords(TSysInfo(machine, facts, queries), out);
  EXPECT_EQ(out.str(),
            "sysinfo\tOrganisation\tFailure\n"
            "sysinfo\tOwner\tFailure\n"
            "sysinfo\tCPU\tIntel Pentium\n"
            "sysinfo\tOperatingSystem\t\n"
            "sysinfo\tWinVersion\t6.1\n"
            "sysinfo\tBuild\t0\n"
            "sysinfo\tTotalMemory\t8388608 KB\n"
            "sysinfo\tDriveC\t2097152 MB\n");
}

TEST_F(ReportSystemTest, UnknownArgumentIsAnErrorWithNonZeroStatus) {
  LinuxServices platform;
  EXPECT_EQ(RunSysinfoReport({"--proc"}, platform, out, err), 2);
  EXPECT_EQ(RunWindowsReport({"extra"}, platform, out, err), 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("unknown argument '--proc'"), std::string::npos);
  EXPECT_NE(err.str().find("unknown argument 'extra'"), std::string::npos);
}

}  // namespace
}  // namespace zub
