#include "monitor/BBRegis.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"

namespace zub {
namespace {

fakes::FakeSettingsFile FileWith(const std::string& text) {
  fakes::FakeSettingsFile file;
  file.stored = {StoredText::State::Present, text};
  return file;
}

TEST(TRegIniFileTest, IntegersReadAsDecimalOrHexadecimalElseTheDefault) {
  auto file = FileWith(
      "[Zub95]\n[Zub95/S]\nhex=0x1F\nHEXCAPS=0XfF\nbare=0x\nmixed=12abc\nneg=-40\nbig=2147483648\n"
      "spaced= 17\nempty=\nwrap=0xFFFFFFFF\n");
  const TRegIniFile ini(file, "Zub95");
  EXPECT_EQ(ini.ReadInteger("S", "hex", -1), 31);
  EXPECT_EQ(ini.ReadInteger("S", "hexcaps", -1), 255);
  EXPECT_EQ(ini.ReadInteger("S", "bare", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "mixed", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "neg", 0), -40);
  EXPECT_EQ(ini.ReadInteger("S", "big", 7), 7);  // beyond 32 bits
  EXPECT_EQ(ini.ReadInteger("S", "spaced", 0), 17);
  EXPECT_EQ(ini.ReadInteger("S", "empty", 5), 5);
  EXPECT_EQ(ini.ReadInteger("S", "wrap", 0), -1);
  EXPECT_EQ(ini.ReadInteger("Missing", "hex", 3), 3);
  EXPECT_EQ(ini.ReadString("s", "MIXED", "x"), "12abc");
  EXPECT_EQ(ini.ReadString("S", "none", "dflt"), "dflt");
}

TEST(TRegIniFileTest, OpeningCreatesTheKeyAndALeadingSeparatorChangesNothing) {
  fakes::FakeSettingsFile file;  // no file yet
  {
    const TRegIniFile ini(file, "\\Zub95");
    EXPECT_EQ(ini.KeyPath(), "Zub95");
  }
  EXPECT_EQ(file.stored.state, StoredText::State::Present);
  EXPECT_TRUE(IniDocument::Parse(file.stored.text).HasGroup("Zub95"));
  const int writes = file.rewrites;
  const TRegIniFile again(file, "zub95");  // already there: nothing written
  EXPECT_EQ(file.rewrites, writes);
}

TEST(TRegIniFileTest, WritesReachTheFileAndReplaceEarlierValuesWhateverTheirCase) {
  auto file = FileWith("[Zub95]\n[Zub95/Dir]\nDirsize=9\n");
  TRegIniFile ini(file, "Zub95");
  ini.WriteInteger("Dir", "DirSize", 11);
  ini.WriteString("Dir", "FontName", "Courier");
  const auto doc = IniDocument::Parse(file.stored.text);
  EXPECT_EQ(doc.Value("Zub95/Dir", "dirsize"), "11");
  EXPECT_EQ(doc.Value("Zub95/Dir", "FontName"), "Courier");
  EXPECT_EQ(file.stored.text.find("DirSize"), std::string::npos);  // one value, not two
  EXPECT_EQ(ini.ReadInteger("Dir", "Dirsize", 0), 11);
}

TEST(TRegIniFileTest, AConcurrentWritersChangesSurviveOurWrite) {
  auto file = FileWith("[Zub95]\n");
  TRegIniFile ini(file, "Zub95");
  // Another copy writes after we opened.
  file.stored.text += "[Zub95/Other]\nx=1\n";
  ini.WriteInteger("Settings", "Pie1Color", 5);
  const auto doc = IniDocument::Parse(file.stored.text);
  EXPECT_EQ(doc.Value("Zub95/Other", "x"), "1");
  EXPECT_EQ(doc.Value("Zub95/Settings", "Pie1Color"), "5");
}

TEST(TRegIniFileTest, FailedWritesRaiseTheirTexts) {
  auto file = FileWith("[Zub95]\n[Zub95/Settings]\nPie1Color=5\n");
  TRegIniFile ini(file, "Zub95");
  file.failWrites = true;
  try {
    ini.WriteInteger("Settings", "Pie1Color", 6);
    FAIL() << "no error";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Pie1Color'");
  }
  try {
    ini.WriteInteger("Bet", "Total", 600);
    FAIL() << "no error";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Failed to create key Bet");
  }
  EXPECT_EQ(ini.ReadInteger("Settings", "Pie1Color", 0), 5);  // the view did not move either

  fakes::FakeSettingsFile blocked;
  blocked.failWrites = true;
  try {
    TRegIniFile open(blocked, "Zub95");
    FAIL() << "no error";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Failed to create key Zub95");
  }
}

TEST(TRegIniFileTest, ABatchReachesTheFileInOneRewriteOrNotAtAll) {
  fakes::FakeSettingsFile file;  // no key yet: its creation joins the batch
  TRegIniFile ini(file, "Zub95", TRegIniFile::Writes::Batched);
  ini.WriteInteger("Settings", "Pie1Color", 5);
  ini.WriteString("Dir", "FontName", "Courier");
  ini.EraseSection("Disk1");
  EXPECT_EQ(ini.ReadInteger("Settings", "Pie1Color", 0), 5);  // seen at once by this view
  EXPECT_EQ(file.rewrites, 0);
  ini.UpdateFile();
  EXPECT_EQ(file.rewrites, 1);
  const auto doc = IniDocument::Parse(file.stored.text);
  EXPECT_TRUE(doc.HasGroup("Zub95"));
  EXPECT_EQ(doc.Value("Zub95/Settings", "Pie1Color"), "5");
  EXPECT_EQ(doc.Value("Zub95/Dir", "FontName"), "Courier");

  ini.WriteInteger("Settings", "Pie1Color", 6);
  ini.WriteInteger("Bet", "Total", 600);
  file.failWrites = true;
  try {
    ini.UpdateFile();
    FAIL() << "no error";
  } catch (const RegistryError& e) {
    EXPECT_STREQ(e.what(), "Failed to set data for 'Pie1Color'");  // the first of the batch
  }
  EXPECT_EQ(IniDocument::Parse(file.stored.text).Value("Zub95/Settings", "Pie1Color"), "5");
  EXPECT_EQ(ini.ReadInteger("Settings", "Pie1Color", 0), 5);  // the view went back too
  EXPECT_EQ(ini.ReadInteger("Bet", "Total", 0), 0);
}

TEST(TRegIniFileTest, AnUnreadableFileIsNeverOverwritten) {
  fakes::FakeSettingsFile file;
  file.stored = {StoredText::State::Unreadable, ""};
  EXPECT_THROW(TRegIniFile(file, "Zub95"), RegistryError);
  EXPECT_EQ(file.rewrites, 0);
  const TRegIniFile readOnly(file, "Zub95", false);
  EXPECT_EQ(readOnly.ReadInteger("Settings", "Pie1Color", -1), -1);
}

TEST(TBBRegIniFileTest, AReadOnlyRootIsReadWithoutCreatingAnything) {
  auto machine = FileWith("[SOFTWARE/Microsoft/Windows/CurrentVersion]\nRegisteredOwner=Ann\n");
  machine.writable = false;
  const TBBRegIniFile ini("\\SOFTWARE\\Microsoft\\Windows", machine);
  EXPECT_EQ(ini.ReadString("CurrentVersion", "registeredowner", ""), "Ann");
  EXPECT_EQ(machine.rewrites, 0);
  const TBBRegIniFile missing("\\SOFTWARE\\Nothing", machine);
  EXPECT_EQ(missing.ReadString("X", "Y", "none"), "none");
}

}  // namespace
}  // namespace zub
