#include "inspect/sysinfo.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "fakes/FakeSystemFacts.h"

namespace zub {
namespace {

constexpr std::int64_t kMb = 1048576;

class SysInfoTest : public ::testing::Test {
 protected:
  SysInfoTest() {
    machine.writable = false;
    machine.stored = {StoredText::State::Present,
                      "[SOFTWARE/Microsoft/Windows/CurrentVersion]\n"
                      "RegisteredOwner=Ann Example\n"
                      "RegisteredOrganization=Example Works\n"};
    table.Add("/");
    space.Set("/", 0, 515 * kMb);
  }

  TSysInfo Make() { return TSysInfo(machine, facts, queries); }

  fakes::FakeSettingsFile machine;
  fakes::FakeSystemFacts facts;
  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  DriveQueries queries{table, space};
};

TEST_F(SysInfoTest, EightTextsInPropertyOrder) {
  const TSysInfo info = Make();
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Organisation", "Example Works"}, {"Owner", "Ann Example"}, {"CPU", "Intel Pentium"},
      {"OperatingSystem", ""},           {"WinVersion", "6.1"},    {"Build", "0"},
      {"TotalMemory", "8388608 KB"},     {"DriveC", "515 MB"}};
  EXPECT_EQ(info.Texts(), expected);
}

TEST_F(SysInfoTest, OwnerAndOrganisationFailWhenTheMachineStoreLacksThem) {
  machine.stored = {StoredText::State::Present,
                    "[software/microsoft/windows/currentversion]\nregisteredowner=Bo\n"};
  TSysInfo partial = Make();
  EXPECT_EQ(partial.Owner(), "Bo");  // names match regardless of case
  EXPECT_EQ(partial.Organisation(), "Failure");

  for (const auto state : {StoredText::State::Missing, StoredText::State::Unreadable}) {
    machine.stored = {state, ""};
    const TSysInfo info = Make();
    EXPECT_EQ(info.Owner(), "Failure");
    EXPECT_EQ(info.Organisation(), "Failure");
  }
  EXPECT_EQ(machine.rewrites, 0);  // the machine store is only read

  // A writable store that refuses to create the key reads as missing, not as an exception.
  machine.writable = true;
  machine.failWrites = true;
  EXPECT_EQ(Make().Owner(), "Failure");
}

TEST_F(SysInfoTest, ProcessorTextFromArchitectureAndFamily) {
  struct Row {
    const char* machine;
    std::optional<int> family;
    const char* cpu;
  };
  const Row rows[] = {
      {"x86_64", 26, "Intel Pentium"},
      {"x86_64", 5, "Intel Pentium"},
      {"i686", 6, "Intel Pentium"},
      {"i486", 4, "Intel 486"},
      {"i386", 3, "Intel 386"},
      {"x86_64", std::nullopt, "Intel Pentium"},
      {"i486", std::nullopt, "Intel 486"},
      {"i586", std::nullopt, "Intel Pentium"},
      {"aarch64", std::nullopt, ""},
      {"riscv64", std::nullopt, ""},
      {"armv7l", std::nullopt, ""},
      {"", std::nullopt, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.machine) + " family " +
                 (row.family ? std::to_string(*row.family) : "none"));
    facts.facts.machine = row.machine;
    facts.facts.cpuFamily = row.family;
    EXPECT_EQ(Make().CPU(), row.cpu);
  }
}

TEST_F(SysInfoTest, VersionIsMajorMinorAndBuildTheLow16BitsOfThePatchLevel) {
  const std::pair<const char*, std::pair<const char*, const char*>> rows[] = {
      {"6.1.0-18-amd64", {"6.1", "0"}},
      {"5.15.133+", {"5.15", "133"}},
      {"4.0.67109814", {"4.0", "950"}},  // 1024 in the high 16 bits, 950 in the low
      {"6.8", {"6.8", "0"}},
      {"6", {"6.0", "0"}},
      {"", {"0.0", "0"}},
      {"linux", {"0.0", "0"}},
      {"99999999999.1.2", {"0.0", "0"}},
  };
  for (const auto& [release, texts] : rows) {
    SCOPED_TRACE(release);
    facts.facts.release = release;
    const TSysInfo info = Make();
    EXPECT_EQ(info.WinVersion(), texts.first);
    EXPECT_EQ(info.Build(), texts.second);
    EXPECT_EQ(info.OperatingSystem(), "");
  }
}

TEST_F(SysInfoTest, MemoryIsTruncatedKilobytesWithoutWrappingAbove2GB) {
  const std::pair<std::optional<std::int64_t>, const char*> rows[] = {
      {32292 * 1024, "32292 KB"},
      {32292 * 1024 + 1023, "32292 KB"},
      {1023, "0 KB"},
      {std::int64_t{3} << 30, "3145728 KB"},
      {std::int64_t{1} << 40, "1073741824 KB"},
      {std::nullopt, ""},  // no meminfo: no figure rather than a false 0
  };
  for (const auto& [bytes, text] : rows) {
    SCOPED_TRACE(text);
    facts.facts.totalPhys = bytes;
    EXPECT_EQ(Make().TotalMemory(), text);
  }
}

TEST_F(SysInfoTest, DriveCIsTruncatedMegabytesOrEmptyWhenUnreadable) {
  space.Set("/", 0, 515 * kMb + kMb - 1);
  EXPECT_EQ(Make().DriveC(), "515 MB");
  space.Set("/", 0, std::int64_t{4} << 40);  // 4 TB, far past 32 bits
  EXPECT_EQ(Make().DriveC(), "4194304 MB");
  space.byMountPoint.clear();
  EXPECT_EQ(Make().DriveC(), "");
  table.drives.clear();
  EXPECT_EQ(Make().DriveC(), "");
}

TEST_F(SysInfoTest, TextsAreThoseOfConstructionWhateverIsWrittenOrChangesLater) {
  TSysInfo info = Make();
  const auto gathered = info.Texts();
  info.SetOwner("Someone Else");
  info.SetOrganisation("x");
  info.SetCPU("x");
  info.SetOperatingSystem("x");
  info.SetWinVersion("x");
  info.SetBuild("x");
  info.SetTotalMemory("x");
  info.SetDriveC("x");
  facts.facts.totalPhys = 1;
  space.Set("/", 0, kMb);
  EXPECT_EQ(info.Texts(), gathered);
  EXPECT_EQ(facts.reads, 1);
}

}  // namespace
}  // namespace zub
