#include "platform/linux/LinuxSystemFacts.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::TestDataDir;

LinuxSystemFacts::UnameFn Uname(std::string machine, std::string release) {
  return [=] { return std::optional<KernelName>(KernelName{machine, release}); };
}

TEST(LinuxSystemFactsTest, ReadsFamilyAndMemoryFromCapturedFiles) {
  LinuxSystemFacts source(TestDataDir() + "/proc/sysfacts-epyc", Uname("x86_64", "6.1.0-18-amd64"));
  const SystemFacts facts = source.Read();
  EXPECT_EQ(facts.machine, "x86_64");
  EXPECT_EQ(facts.release, "6.1.0-18-amd64");
  EXPECT_EQ(facts.cpuFamily, 26);
  EXPECT_EQ(facts.totalPhys, std::int64_t{24683748} * 1024);
}

TEST(LinuxSystemFactsTest, ArmHasNoFamilyAndMissingFilesLeaveFactsEmpty) {
  LinuxSystemFacts arm(TestDataDir() + "/proc/sysfacts-arm", Uname("aarch64", "6.6.20+rpt"));
  const SystemFacts armFacts = arm.Read();
  EXPECT_EQ(armFacts.cpuFamily, std::nullopt);
  EXPECT_EQ(armFacts.totalPhys, std::nullopt);  // no meminfo in this capture

  LinuxSystemFacts nothing("/nonexistent/proc", [] { return std::optional<KernelName>(); });
  const SystemFacts none = nothing.Read();
  EXPECT_EQ(none.machine, "");
  EXPECT_EQ(none.release, "");
  EXPECT_EQ(none.cpuFamily, std::nullopt);
  EXPECT_EQ(none.totalPhys, std::nullopt);
}

TEST(LinuxSystemFactsTest, CpuFamilyParserTakesTheFirstProcessorAndRejectsJunk) {
  EXPECT_EQ(ParseCpuFamily("processor\t: 0\ncpu family\t: 6\n\nprocessor\t: 1\ncpu family\t: 5\n"),
            6);
  EXPECT_EQ(ParseCpuFamily("cpu family: 15\r\n"), 15);
  EXPECT_EQ(ParseCpuFamily(""), std::nullopt);
  EXPECT_EQ(ParseCpuFamily("cpu family\t:\n"), std::nullopt);
  EXPECT_EQ(ParseCpuFamily("cpu family\t: six\n"), std::nullopt);
  EXPECT_EQ(ParseCpuFamily("cpu family\t: 99999999999999\n"), std::nullopt);
  EXPECT_EQ(ParseCpuFamily("cpu family"), std::nullopt);
  EXPECT_EQ(ParseCpuFamily("cpu familyx: 6\n"), std::nullopt);
}

}  // namespace
}  // namespace zub
