#include "files/FmDirRules.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(FmDirRulesTest, PanelTextsByUnitWithCapitalBytesOnlyAfterADirectoryChange) {
  Listing listing;
  listing.count = 3;
  listing.total = 2097152;
  EXPECT_EQ(ActivationPanelText(listing), "2 Mb 3 Files");
  EXPECT_EQ(DirectoryPanelText(SizeUnit::Kb, listing), "2048 Kb 3 Files");
  EXPECT_EQ(DirectoryPanelText(SizeUnit::Bytes, listing), "2097152 Bytes");
  EXPECT_EQ(UnitPanelText(SizeUnit::Bytes, listing.total), "2097152 bytes");
  EXPECT_EQ(UnitPanelText(SizeUnit::Mb, 0), std::nullopt);
  // Totals past 2^31 keep every digit.
  listing.total = 5'000'000'000;
  EXPECT_EQ(DirectoryPanelText(SizeUnit::Bytes, listing), "5000000000 Bytes");
}

TEST(FmDirRulesTest, ResizeHalvesAndRoundsTheColumnsToEven) {
  const FmDirGeometry g = FmDirResize(470, 278, 251);
  EXPECT_EQ(g.gridWidth, 430);
  EXPECT_EQ(g.column0Width, 215);
  EXPECT_EQ(g.column1Width, 172);
  EXPECT_EQ(g.noteTop, 216);
  EXPECT_EQ(g.gridHeight, 171);
  EXPECT_EQ(FmDirResize(45, 100, 90).column0Width, 2);  // 2.5 goes to 2
}

TEST(FmDirRulesTest, AChosenDirectoryBelongsToTheDeepestMountHoldingIt) {
  std::vector<DriveInfo> drives(3);
  drives[0].letter = 'C';
  drives[0].mountPoint = "/";
  drives[1].letter = 'D';
  drives[1].mountPoint = "/media/stick";
  drives[2].letter = 'E';
  drives[2].mountPoint = "/media/stick/inner";
  EXPECT_EQ(DriveHolding(drives, "/media/stick/docs"), 'D');
  EXPECT_EQ(DriveHolding(drives, "/media/stick"), 'D');
  EXPECT_EQ(DriveHolding(drives, "/media/stick/inner/x"), 'E');
  EXPECT_EQ(DriveHolding(drives, "/media/sticky"), 'C');  // a longer name is not inside
  EXPECT_EQ(DriveHolding({drives[1]}, "/home"), 0);
}

}  // namespace
}  // namespace zub
