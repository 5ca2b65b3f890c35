#include "monitor/DriveSpace.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace zub {
namespace {

class DriveSpaceTest : public ::testing::Test {
 protected:
  DriveSpaceTest() {
    table.Add("/");                                                // C:
    table.Add("/media/ann/STICK", DriveKind::Removable, "STICK");  // D:
    table.Add("/mnt/nas", DriveKind::Remote, "nas:/export");       // E:
    table.Add("/media/cdrom", DriveKind::CdRom);                   // F:
    table.Add("/dev/shm", DriveKind::RamDisk);                     // G:
  }

  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  DriveQueries drives{table, space};
};

TEST_F(DriveSpaceTest, SpaceTextInEachUnitWithItsPanelFont) {
  space.Set("/", 52428800, 1073741824);
  const auto mb = drives.FormatDriveSpace(3, SizeUnit::Mb);
  EXPECT_EQ(mb.text, "50 Free Mb / 1024 Mb Total");
  EXPECT_EQ(mb.panelFontSize, 12);
  const auto kb = drives.FormatDriveSpace(3, SizeUnit::Kb);
  EXPECT_EQ(kb.text, "51200 Kb Free / 1048576 Kb Total");
  EXPECT_EQ(kb.panelFontSize, 11);
  const auto bytes = drives.FormatDriveSpace(3, SizeUnit::Bytes);
  EXPECT_EQ(bytes.text, "52428800/1073741824 Free/Total Bytes");
  EXPECT_EQ(bytes.panelFontSize, 10);
}

TEST_F(DriveSpaceTest, FreeIsRoundedWhileTotalIsTruncated) {
  space.Set("/", 1048064, 1048064);
  EXPECT_EQ(drives.FormatDriveSpace(3, SizeUnit::Mb).text, "1 Free Mb / 0 Mb Total");
  space.Set("/", 512, 4096);
  EXPECT_EQ(drives.FormatDriveSpace(3, SizeUnit::Kb).text, "0 Kb Free / 4 Kb Total");
  space.Set("/", 1536, 4096);
  EXPECT_EQ(drives.FormatDriveSpace(3, SizeUnit::Kb).text, "2 Kb Free / 4 Kb Total");
}

TEST_F(DriveSpaceTest, DrivesAboveTwoGigabytesKeepTheirFullSize) {
  const std::int64_t total = 536870912000;  // 500 GB
  const std::int64_t free = 214748364800 + 524288;
  space.Set("/", free, total);
  EXPECT_EQ(drives.DriveTotalBytes(3), total);
  EXPECT_EQ(drives.DriveFreeBytes(3), free);
  EXPECT_EQ(drives.FormatDriveSpace(3, SizeUnit::Mb).text, "204800 Free Mb / 512000 Mb Total");
  EXPECT_EQ(drives.FormatDriveSpace(3, SizeUnit::Bytes).text,
            "214748889088/536870912000 Free/Total Bytes");
  EXPECT_NEAR(drives.DriveFreePercent(3), 40.0, 0.001);
}

TEST_F(DriveSpaceTest, FailedQueriesGiveMinusOneAndTheNotFoundText) {
  // D: has no medium: no figures for it.
  EXPECT_EQ(drives.DriveFreeBytes(4), -1);
  EXPECT_EQ(drives.DriveTotalBytes(4), -1);
  EXPECT_FALSE(drives.IsDriveReady('D'));
  EXPECT_FALSE(drives.IsDriveReady('d'));
  EXPECT_EQ(drives.DriveFreePercent(4), 0.0);
  const auto text = drives.FormatDriveSpace(4, SizeUnit::Kb);
  EXPECT_EQ(text.text, "Not found Drive D");
  EXPECT_EQ(text.panelFontSize, 11);  // the unit's size stays
  // A: and B: are never given to a mount.
  EXPECT_EQ(drives.DriveTotalBytes(1), -1);
  EXPECT_EQ(drives.FormatDriveSpace(2, SizeUnit::Mb).text, "Not found Drive B");
}

TEST_F(DriveSpaceTest, NumbersAboveZAreFormattedAsDriveC) {
  space.Set("/", 1048576, 2097152);
  EXPECT_EQ(drives.FormatDriveSpace(27, SizeUnit::Mb).text, "1 Free Mb / 2 Mb Total");
  EXPECT_EQ(drives.FormatDriveSpace(99, SizeUnit::Mb).text, "1 Free Mb / 2 Mb Total");
}

TEST_F(DriveSpaceTest, DriveZeroIsTheCurrentDrive) {
  space.Set("/media/ann/STICK", 1024, 2048);
  table.currentLetter = 'D';
  EXPECT_EQ(drives.DriveFreeBytes(0), 1024);
  EXPECT_EQ(drives.DriveTotalBytes(0), 2048);
  space.byMountPoint.clear();
  EXPECT_EQ(drives.FormatDriveSpace(0, SizeUnit::Mb).text, "Not found Drive D");
}

TEST_F(DriveSpaceTest, AbsurdGeometryIsAFailedQueryNotAWrappedNumber) {
  class Huge : public DiskSpace {
   public:
    std::optional<DiskGeometry> Query(const DriveInfo&) override {
      return DiskGeometry{1 << 20, 1 << 20, std::int64_t{1} << 40, std::int64_t{1} << 40};
    }
  } huge;
  const DriveQueries q(table, huge);
  EXPECT_EQ(q.DriveTotalBytes(3), -1);
  EXPECT_FALSE(q.IsDriveReady('C'));
}

TEST_F(DriveSpaceTest, TypeTextsAndInvalidLetters) {
  EXPECT_EQ(drives.DriveTypeText('C'), "Hard drive");
  EXPECT_EQ(drives.DriveTypeText('d'), "Removable");
  EXPECT_EQ(drives.DriveTypeText('E'), "Network drive");
  EXPECT_EQ(drives.DriveTypeText('F'), "CD Rom drive");
  EXPECT_EQ(drives.DriveTypeText('G'), "Ram drive");
  EXPECT_EQ(drives.DriveTypeText('Q'), "does not exist");

  try {
    drives.IsDriveReady('1');
    FAIL() << "no error for an invalid letter";
  } catch (const DriveIdError& e) {
    EXPECT_STREQ(e.what(), "Not a valid drive ID");
  }
  try {
    drives.DriveTypeText('?');
    FAIL() << "no error for an invalid letter";
  } catch (const DriveIdError& e) {
    EXPECT_STREQ(e.what(), "Not a valid drive ID ?");
  }
}

TEST(SizeUnitTest, UnknownNumbersCountAsMegabytes) {
  EXPECT_EQ(SizeUnitFromNumber(1), SizeUnit::Kb);
  EXPECT_EQ(SizeUnitFromNumber(2), SizeUnit::Mb);
  EXPECT_EQ(SizeUnitFromNumber(3), SizeUnit::Bytes);
  EXPECT_EQ(SizeUnitFromNumber(0), SizeUnit::Mb);
  EXPECT_EQ(SizeUnitFromNumber(4), SizeUnit::Mb);
  EXPECT_EQ(DriveNumber('a'), 1);
  EXPECT_EQ(DriveNumber('Z'), 26);
  EXPECT_EQ(DriveNumber('['), 0);
}

}  // namespace
}  // namespace zub
