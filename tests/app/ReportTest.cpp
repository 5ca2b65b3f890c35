#include "app/Report.h"

#include "app/ReportRecord.h"

#include <gtest/gtest.h>

#include <sstream>

#include "fakes/FakePlatform.h"

namespace zub {
namespace {

std::vector<std::vector<std::string>> Records(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    rows.push_back(fields);
  }
  return rows;
}

class ReportTest : public ::testing::Test {
 protected:
  ReportTest() {
    table.Add("/");
    table.Add("/media/ann/My\tStick", DriveKind::Removable);
    disk.Set("/", 52428800, 1073741824);
    MemoryStatus s;
    s.memoryLoad = 31;
    s.totalPhys = 1024 * 1024;
    s.availPhys = 512 * 1024;
    memory.status = s;
    settings.stored = {StoredText::State::Present, "[Zub95/Settings]\nPie1Color=77\n"};
  }

  int Run() { return WriteReport({table, disk, memory, resources, settings}, out, err); }

  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace disk;
  fakes::FakeMemorySource memory;
  fakes::FakeResourceSource resources;
  fakes::FakeSettingsFile settings;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(ReportTest, OneRecordPerLineWithTabSeparatedFields) {
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(err.str(), "");
  const auto rows = Records(out.str());
  ASSERT_EQ(rows.size(), 2u + 2u + 7u + 1u + 1u);

  EXPECT_EQ(rows[0], (std::vector<std::string>{"drive", "C", "/", "Hard drive", "52428800",
                                               "1073741824", "5", "50 Free Mb / 1024 Mb Total",
                                               "51200 Kb Free / 1048576 Kb Total",
                                               "52428800/1073741824 Free/Total Bytes"}));
  // A tab in a mount point cannot split the record.
  ASSERT_EQ(rows[1].size(), 10u);
  EXPECT_EQ(rows[1][2], "/media/ann/My\\tStick");
  EXPECT_EQ(rows[1][4], "-1");
  EXPECT_EQ(rows[1][7], "Not found Drive D");

  // D: reports no size, so only C: gets a pie.
  EXPECT_EQ(rows[2],
            (std::vector<std::string>{"alldisks", "50Mb /974Mb /1024 Mb free/used/total"}));
  EXPECT_EQ(rows[3], (std::vector<std::string>{"pie", "1", "C", "5",
                                               "50 Free Mb / 1024 Mb Total Type is Hard drive"}));
  EXPECT_EQ(rows[4],
            (std::vector<std::string>{"memory", "Total", "69", "Free Total Memory is 69 %"}));
  EXPECT_EQ(rows[6][1], "Real");
  EXPECT_EQ(rows[11], (std::vector<std::string>{"title", "31% 80% 84% 80% Total System GDI User"}));
  const auto& s = rows[12];
  EXPECT_EQ(s[0], "settings");
  EXPECT_EQ(s[1], settings.Location());
  EXPECT_EQ(s[2], "Pie1Color=77");
  EXPECT_EQ(s.size(), 2u + 14u);
}

TEST_F(ReportTest, ReadsTheSettingsWithoutWritingThem) {
  settings.stored = {};
  Run();
  EXPECT_EQ(settings.rewrites, 0);
  EXPECT_EQ(settings.stored.state, StoredText::State::Missing);
}

TEST_F(ReportTest, FailuresGoToStandardErrorWithANonZeroStatus) {
  resources.readings[1] = {ResourceReading::Status::TableUnavailable, 0};
  EXPECT_EQ(Run(), 1);
  EXPECT_NE(err.str().find("GDI: Cannot load USER.EXE"), std::string::npos);
  EXPECT_NE(err.str().find("title: Cannot load USER.EXE"), std::string::npos);
  // What could be measured is still reported.
  EXPECT_NE(out.str().find("memory\tSystem\t80\t"), std::string::npos);
  EXPECT_EQ(out.str().find("memory\tGDI"), std::string::npos);
}

TEST(ReportFieldTest, EveryControlByteIsEscapedSoARecordStaysOneLine) {
  const std::string raw = std::string("a\tb\nc\\d") + '\0' + "e\rf\x1b\x7fg\xc3\xa9";
  EXPECT_EQ(ReportField(raw), "a\\tb\\nc\\\\d\\x00e\\x0df\\x1b\\x7fg\xc3\xa9");
  std::ostringstream out;
  WriteRecord(out, {"settings", raw});
  EXPECT_EQ(out.str().find('\n'), out.str().size() - 1);
}

}  // namespace
}  // namespace zub
