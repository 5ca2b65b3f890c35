#include "diskview/AllDisks.h"

#include "monitor/EventDrives.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace zub {
namespace {

constexpr std::int64_t kMb = 1048576;

class AllDisks : public ::testing::Test {
 protected:
  // Adds the next drive letter with the given bytes; `total` < 0 leaves the
  // drive unanswerable.
  void AddDrive(std::int64_t free, std::int64_t total, DriveKind kind = DriveKind::Fixed) {
    const std::string mount = "/mnt/d" + std::to_string(table.drives.size());
    table.Add(mount, kind);
    if (total >= 0) {
      space.Set(mount, free, total);
    }
  }

  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  DriveQueries queries{table, space};
};

TEST(AllDisksPiePlace, ThirdRowFillsFromTheRight) {
  struct Row {
    int pie;
    PiePlace place;
  };
  const Row rows[] = {{1, {24, 8}},    {6, {344, 8}},    {7, {24, 80}},
                      {12, {344, 80}}, {13, {344, 152}}, {14, {280, 152}},
                      {18, {24, 152}}, {19, {24, 224}},  {24, {344, 224}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.pie);
    EXPECT_EQ(AllDisksPiePlace(row.pie), row.place);
  }
}

TEST(AllDisksOuterHeight, FollowsTheLastHiddenPieRule) {
  const std::pair<int, int> rows[] = {{0, 130},  {1, 130},  {6, 130},  {7, 268}, {13, 268},
                                      {17, 268}, {18, 355}, {19, 371}, {24, 371}};
  for (const auto& [shown, height] : rows) {
    SCOPED_TRACE(shown);
    EXPECT_EQ(AllDisksOuterHeight(shown), height);
  }
}

TEST_F(AllDisks, OneDriveGivesHintPercentAndCaption) {
  AddDrive(1520 * kMb, 2047 * kMb);
  const AllDisksView view = BuildAllDisks(queries);
  ASSERT_EQ(view.pies.size(), 1u);
  const AllDisksPie& pie = view.pies[0];
  EXPECT_EQ(pie.pie, 1);
  EXPECT_EQ(pie.driveNumber, 3);
  EXPECT_EQ(pie.letter, 'C');
  EXPECT_EQ(pie.caption, "Drive C");
  EXPECT_EQ(pie.percent, 74);  // 74.25 %
  EXPECT_EQ(pie.hint, "1520 Free Mb / 2047 Mb Total Type is Hard drive");
  EXPECT_EQ(view.caption, "1520Mb /527Mb /2047 Mb free/used/total");
  EXPECT_EQ(view.outerHeight, 130);
}

TEST_F(AllDisks, PercentRoundsHalvesToEven) {
  AddDrive(1, 8);  // 12.5 %
  AddDrive(3, 8);  // 37.5 %
  AddDrive(0, 8);
  const AllDisksView view = BuildAllDisks(queries);
  ASSERT_EQ(view.pies.size(), 3u);
  EXPECT_EQ(view.pies[0].percent, 12);
  EXPECT_EQ(view.pies[1].percent, 38);
  EXPECT_EQ(view.pies[2].percent, 0);
}

TEST_F(AllDisks, DrivesWithoutASizeGetNoPieAndDoNotCount) {
  AddDrive(100 * kMb, 200 * kMb, DriveKind::Fixed);  // C
  AddDrive(0, -1, DriveKind::CdRom);                 // D: no medium
  AddDrive(0, 0, DriveKind::Removable);              // E: empty
  AddDrive(50 * kMb, 100 * kMb, DriveKind::Remote);  // F
  const AllDisksView view = BuildAllDisks(queries);
  ASSERT_EQ(view.pies.size(), 2u);
  EXPECT_EQ(view.pies[0].letter, 'C');
  EXPECT_EQ(view.pies[1].letter, 'F');
  EXPECT_EQ(view.pies[1].pie, 2);
  EXPECT_EQ(view.pies[1].driveNumber, 6);
  EXPECT_EQ(view.pies[1].hint, "50 Free Mb / 100 Mb Total Type is Network drive");
  EXPECT_EQ(view.caption, "150Mb /150Mb /300 Mb free/used/total");
}

TEST_F(AllDisks, FailedFreeQueryStillGetsAPie) {
  AddDrive(10 * kMb, 20 * kMb);
  AddDrive(-1, 700 * kMb, DriveKind::CdRom);  // the size answers, the free space does not
  const AllDisksView view = BuildAllDisks(queries);
  ASSERT_EQ(view.pies.size(), 2u);
  EXPECT_EQ(view.pies[1].hint, "Not found Drive D Type is CD Rom drive");
  EXPECT_EQ(view.pies[1].percent, 0);
  EXPECT_EQ(view.freeBytes, 10 * kMb - 1);
  EXPECT_EQ(view.caption, "10Mb /710Mb /720 Mb free/used/total");
}

TEST_F(AllDisks, TotalsOfLargeDisksDoNotOverflow) {
  const std::int64_t tb = 1024 * 1024 * kMb;
  AddDrive(3 * tb, 4 * tb);
  AddDrive(tb / 2, 2 * tb);
  const AllDisksView view = BuildAllDisks(queries);
  EXPECT_EQ(view.totalBytes, 6 * tb);
  EXPECT_EQ(view.freeBytes, 3 * tb + tb / 2);
  EXPECT_EQ(view.pies[0].hint, "3145728 Free Mb / 4194304 Mb Total Type is Hard drive");
  EXPECT_EQ(view.caption, "3670016Mb /2621440Mb /6291456 Mb free/used/total");
}

TEST_F(AllDisks, CaptionRoundsTheSumsNotEachDrive) {
  AddDrive(kMb / 4, kMb * 3 / 4);  // 0.25 of 0.75 MB
  AddDrive(kMb / 4, kMb * 3 / 4);
  // Sums: 0.5 MB free -> 0 (half to even), 1.5 MB total -> 2.
  EXPECT_EQ(BuildAllDisks(queries).caption, "0Mb /2Mb /2 Mb free/used/total");
}

TEST_F(AllDisks, OneActivationReadsTheDriveTableOnceAndEachDriveOnce) {
  AddDrive(10, 100);
  AddDrive(20, 100);
  AddDrive(0, -1);  // does not answer
  const int reads = table.reads;
  const int queries = space.queries;
  const EventDrives drives(table, space);
  const AllDisksView view = BuildAllDisks(drives.Queries());
  EXPECT_EQ(view.pies.size(), 2u);
  EXPECT_EQ(table.reads - reads, 1);
  EXPECT_EQ(space.queries - queries, 3);
}

}  // namespace
}  // namespace zub
