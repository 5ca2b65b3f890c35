#include "monitor/MonitorWindowRules.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

DriveInfo Drive(char letter, DriveKind kind, const std::string& label) {
  DriveInfo d;
  d.letter = letter;
  d.kind = kind;
  d.label = label;
  return d;
}

TEST(MonitorWindowRulesTest, DriveEntriesShowLabelsOrRemoteNamesByKind) {
  EXPECT_EQ(DriveEntryText(Drive('C', DriveKind::Fixed, "root")), "c: [root]");
  EXPECT_EQ(DriveEntryText(Drive('D', DriveKind::CdRom, "DISC")), "d: [DISC]");
  EXPECT_EQ(DriveEntryText(Drive('E', DriveKind::RamDisk, "/tmp")), "e: [/tmp]");
  EXPECT_EQ(DriveEntryText(Drive('F', DriveKind::Remote, "server:/export")), "f: server:/export");
  EXPECT_EQ(DriveEntryText(Drive('G', DriveKind::Removable, "STICK")), "g:");
}

TEST(MonitorWindowRulesTest, ATabOrLineBreakInAMountNameDoesNotCutTheEntry) {
  EXPECT_EQ(DriveEntryText(Drive('D', DriveKind::Fixed, "/media/My\tStick\nTwo")),
            "d: [/media/My\\tStick\\nTwo]");
  EXPECT_EQ(DriveEntryText(Drive('F', DriveKind::Remote, "srv:/x\ny")), "f: srv:/x\\ny");
  // A real backslash doubles, so it never reads as an escaped tab.
  EXPECT_EQ(DriveEntryText(Drive('E', DriveKind::RamDisk, "/mnt/a\\tb")), "e: [/mnt/a\\\\tb]");
}

TEST(MonitorWindowRulesTest, TheCurrentDriveIsSelectedElseTheFirst) {
  const auto entries =
      DriveListEntries({Drive('C', DriveKind::Fixed, "a"), Drive('D', DriveKind::Fixed, "b")});
  EXPECT_EQ(DriveEntryIndex(entries, 'D'), 1);
  EXPECT_EQ(DriveEntryIndex(entries, 'd'), 1);
  EXPECT_EQ(DriveEntryIndex(entries, 'Q'), 0);
  EXPECT_EQ(DriveEntryIndex({}, 'C'), -1);
}

}  // namespace
}  // namespace zub
