#include <gtest/gtest.h>

#include <sstream>

#include "app/ReportCommands.h"
#include "inspect/ExecutableBuilder.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using namespace test_support;

int RunReport(const ReportArgs& args, std::string& out, std::string& err) {
  LinuxServices platform;
  std::ostringstream o;
  std::ostringstream e;
  const int status = RunVersionReport(args, platform, o, e);
  out = o.str();
  err = e.str();
  return status;
}

TEST(ReportVersion, FifteenRecordsInOrderForAPeFile) {
  TempDir dir;
  const std::string block =
      VersionInfoNode({}, {{"040904e4", {{"CompanyName", "Zub\tSoft"}, {"Comments", "c"}}}})
          .Bytes();
  dir.Write("zub.dll", BuildPe(block, true).Bytes());
  std::string out;
  std::string err;
  ASSERT_EQ(RunReport({dir / "zub.dll"}, out, err), 0) << err;
  EXPECT_EQ(out,
            "version\tComment\tc\n"
            "version\tCompanyName\tZub\\tSoft\n"
            "version\tFileDescription\t\n"
            "version\tFileVersion\t1.2.3.4\n"
            "version\tInternalName\t\n"
            "version\tLegalCopyright\t\n"
            "version\tLegalTradeMarks\t\n"
            "version\tOriginalFileName\t\n"
            "version\tPrivateBuild\t\n"
            "version\tProductName\t\n"
            "version\tProductVersion\t5.6.7.8\n"
            "version\tSpecialBuild\t\n"
            "version\tFileOS\tWindows NT with 32 bit Windows\n"
            "version\tFileType\tDynamic-Link Library\n"
            "version\tFileSubType\t\n");
}

TEST(ReportVersion, MissingFileOrNoFileIsAnErrorNotEmptyRecords) {
  std::string out;
  std::string err;
  EXPECT_NE(RunReport({"/nonexistent/zub.dll"}, out, err), 0);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find("/nonexistent/zub.dll"), std::string::npos);
  EXPECT_NE(RunReport({}, out, err), 0);
  EXPECT_NE(err, "");
}

}  // namespace
}  // namespace zub
