#include "monitor/MonitorSettings.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"
#include "monitor/BBRegis.h"
#include "monitor/IniDocument.h"

namespace zub {
namespace {

class MonitorSettingsTest : public ::testing::Test {
 protected:
  void Store(const std::string& text) { file.stored = {StoredText::State::Present, text}; }
  std::optional<std::string> Stored(const std::string& group, const std::string& name) const {
    return IniDocument::Parse(file.stored.text).Value(group, name);
  }

  fakes::FakeSettingsFile file;
  fakes::ScriptedPrompts prompts;
};

TEST_F(MonitorSettingsTest, NoKeyGivesTheDefaultsAndCreatesTheEmptyKey) {
  EXPECT_EQ(LoadMonitorSettings(file), MonitorSettings{});
  EXPECT_EQ(file.stored.state, StoredText::State::Present);
  EXPECT_TRUE(IniDocument::Parse(file.stored.text).HasGroup("Zub95"));
}

TEST_F(MonitorSettingsTest, LoadingAppliesTheFixUps) {
  Store(
      "[Zub95/Settings]\nPie1Color=0x1F\nPie1Slice=-5\nPie2Color=junk\nAllSlice=0\n"
      "[Zub95/Dir]\ndirsize=14\nFontName=An Extremely Long Font Family Name\nDirColor=128\n"
      "[Zub95/Files]\nFONTSIZE=7\nFontName=Mono\n"
      "[Zub95/Bet]\nBet=-3\nTotal=40\n");
  const MonitorSettings s = LoadMonitorSettings(file);
  EXPECT_EQ(s.Pie1Color, 31);
  EXPECT_EQ(s.Pie1Slice, 32768);     // negative: default
  EXPECT_EQ(s.Pie2Color, 16711680);  // not a number: default
  EXPECT_EQ(s.AllSlice, 0);          // black is a colour when read
  EXPECT_EQ(s.DirFontSize, 8);       // 14 is out of range
  EXPECT_EQ(s.DirFontName, "An Extremely Long Fo");
  EXPECT_EQ(s.DirFontColor, 128);
  EXPECT_EQ(s.FilesFontSize, 7);
  EXPECT_EQ(s.FilesFontName, "Mono");
  EXPECT_EQ(s.BetAmount, -3);  // bets are kept as read
  EXPECT_EQ(s.BetTotal, 40);
}

TEST_F(MonitorSettingsTest, SavingWritesOnlyWhatMeetsItsCondition) {
  Store("[Zub95/Settings]\nPie1Color=77\n[Zub95/Bet]\nTotal=900\n");
  MonitorSettings s;
  s.Pie1Color = 0;  // black is never saved: the stored 77 stays
  s.Pie2Slice = 4242;
  s.BetTotal = 50;  // not above 50
  s.BetAmount = 25;
  SaveMonitorSettings(file, s, {});
  EXPECT_EQ(Stored("Zub95/Settings", "Pie1Color"), "77");
  EXPECT_EQ(Stored("Zub95/Settings", "Pie2Slice"), "4242");
  EXPECT_EQ(Stored("Zub95/Settings", "AllColor"), "255");
  EXPECT_EQ(Stored("Zub95/Bet", "Total"), "900");
  EXPECT_EQ(Stored("Zub95/Bet", "Bet"), "25");
  EXPECT_EQ(LoadMonitorSettings(file).Pie1Color, 77);
}

TEST_F(MonitorSettingsTest, SectionsOfWindowsNotOpenedAreLeftExactlyAsTheyWere) {
  const std::string dir = "[Zub95/Dir]\nDirColor=12\n; kept\nDirsize=14\n";
  Store(dir);
  MonitorSettings s;
  s.DirFontColor = 99;
  s.FilesFontColor = 98;
  SaveMonitorSettings(file, s, {.directorySpace = false, .fileSearch = false});
  EXPECT_NE(file.stored.text.find(dir), std::string::npos);
  EXPECT_FALSE(Stored("Zub95/Files", "FontColor").has_value());

  SaveMonitorSettings(file, s, {.directorySpace = true, .fileSearch = true});
  EXPECT_EQ(Stored("Zub95/Dir", "DirColor"), "99");
  EXPECT_EQ(Stored("Zub95/Dir", "DirSize"), "8");  // written as DirSize over Dirsize
  EXPECT_EQ(Stored("Zub95/Files", "FontColor"), "98");
  EXPECT_EQ(Stored("Zub95/Files", "FontName"), "Arial");
}

TEST_F(MonitorSettingsTest, FontRulesOnSave) {
  MonitorSettings s;
  s.FilesFontSize = 14;     // out of range: not saved
  s.FilesFontName = "Sym";  // fewer than five characters: not saved
  s.DirFontSize = 12;
  SaveMonitorSettings(file, s, {.directorySpace = true, .fileSearch = true});
  EXPECT_FALSE(Stored("Zub95/Files", "FontSize").has_value());
  EXPECT_FALSE(Stored("Zub95/Files", "FontName").has_value());
  EXPECT_EQ(Stored("Zub95/Dir", "DirSize"), "12");
}

TEST_F(MonitorSettingsTest, ARoundTripKeepsEveryChosenValue) {
  MonitorSettings s;
  s.Pie1Color = 0x123456;
  s.Pie1Slice = 1;
  s.Pie2Color = 0xFFFFFF;
  s.Pie2Slice = 0x800080;
  s.AllColor = 0x00FF00;
  s.AllSlice = 0x0000FF;
  s.DirFontColor = 0x10;
  s.DirFontSize = 9;
  s.DirFontName = "Courier New";
  s.FilesFontColor = 0x20;
  s.FilesFontSize = 10;
  s.FilesFontName = "DejaVu Sans";
  s.BetAmount = 100;
  s.BetTotal = 700;
  SaveMonitorSettings(file, s, {.directorySpace = true, .fileSearch = true});
  EXPECT_EQ(LoadMonitorSettings(file), s);
}

TEST_F(MonitorSettingsTest, ADamagedOrUnreadableFileStillStarts) {
  const char damaged[] = "[Zub95/Settings]\nPie1Color=4\n\0\xff\xfe garbage\n[Zub95/Dir";
  Store(std::string(damaged, sizeof damaged - 1));
  EXPECT_EQ(LoadMonitorSettings(file).Pie1Color, 4);

  file.stored = {StoredText::State::Unreadable, ""};
  const int rewritesBefore = file.rewrites;
  EXPECT_EQ(LoadMonitorSettings(file), MonitorSettings{});
  EXPECT_EQ(file.rewrites, rewritesBefore);
  EXPECT_THROW(SaveMonitorSettings(file, MonitorSettings{}, {}), RegistryError);
}

TEST_F(MonitorSettingsTest, AFailedSaveRaisesTheWriteErrorAndKeepsEarlierValues) {
  Store("[Zub95]\n[Zub95/Settings]\nPie1Color=77\n");
  file.failWrites = true;
  try {
    SaveMonitorSettings(file, MonitorSettings{}, {});
    FAIL() << "no error";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'AllColor'");
  }
  EXPECT_EQ(Stored("Zub95/Settings", "Pie1Color"), "77");
}

// Fourteen values, also on a first save with no key yet, in a single rewrite:
// a kill can then only leave the old file or the new one.
TEST_F(MonitorSettingsTest, ASaveIsOneRewrite) {
  MonitorSettings s;
  s.BetAmount = 5;
  s.BetTotal = 60;
  SaveMonitorSettings(file, s, {true, true});
  EXPECT_EQ(file.rewrites, 1);
  EXPECT_EQ(LoadMonitorSettings(file), s);
  s.Pie1Color = 1;
  SaveMonitorSettings(file, s, {true, true});
  EXPECT_EQ(file.rewrites, 2);
}

TEST_F(MonitorSettingsTest, ResetAsksAndErasesOnlyOnYes) {
  const std::string other = "[Elsewhere]\nkeep=1\n";
  Store(other + "[Zub95/Settings]\nPie1Color=5\n[Zub95/Disk1]\nx=1\n[Zub95/Bet]\nBet=3\n");
  prompts.answers = {Answer::No, Answer::Cancel, Answer::Yes};
  EXPECT_FALSE(ResetSettings(file, prompts));
  EXPECT_FALSE(ResetSettings(file, prompts));
  EXPECT_EQ(Stored("Zub95/Settings", "Pie1Color"), "5");
  EXPECT_TRUE(prompts.messages.empty());

  const int rewrites = file.rewrites;
  EXPECT_TRUE(ResetSettings(file, prompts));
  EXPECT_EQ(file.rewrites, rewrites + 1);  // six sections, one rewrite
  ASSERT_EQ(prompts.questions.size(), 3u);
  EXPECT_EQ(prompts.questions[0], "Are you sure you wish to clear all saved settings?");
  EXPECT_TRUE(prompts.questionsWithCancel[0]);  // Yes, No and Cancel
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0],
            "Saved settings have been cleared. Close and restart Zub to return to defaults");
  const auto doc = IniDocument::Parse(file.stored.text);
  EXPECT_FALSE(doc.HasGroup("Zub95/Settings"));
  EXPECT_FALSE(doc.HasGroup("Zub95/Disk1"));
  EXPECT_FALSE(doc.HasGroup("Zub95/Bet"));
  EXPECT_EQ(doc.Value("Elsewhere", "keep"), "1");
  EXPECT_EQ(LoadMonitorSettings(file), MonitorSettings{});
}

}  // namespace
}  // namespace zub
