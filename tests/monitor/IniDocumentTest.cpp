#include "monitor/IniDocument.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(IniDocument, NamesMatchRegardlessOfCase) {
  const auto doc = IniDocument::Parse("[Zub95/Dir]\nDirSize=9\n");
  EXPECT_EQ(doc.Value("zub95/dir", "dirsize"), "9");
  EXPECT_EQ(doc.Value("ZUB95/DIR", "Dirsize"), "9");
  EXPECT_FALSE(doc.Value("Zub95/Files", "DirSize").has_value());
}

TEST(IniDocument, RewritingKeepsEveryLineItDoesNotTouch) {
  const std::string text =
      "; written by hand\n"
      "[Other/App]\n"
      "colour = blue\n"
      "garbage line without equals\n"
      "\x01\x02 binary junk\n"
      "\n"
      "[Zub95/Settings]\n"
      "Pie1Color=255\n";
  auto doc = IniDocument::Parse(text);
  EXPECT_EQ(doc.Serialize(), text);  // a no-op edit changes nothing
  doc.SetValue("Zub95/Settings", "PIE1COLOR", "16");
  const std::string after = doc.Serialize();
  EXPECT_NE(after.find("colour = blue\n"), std::string::npos);
  EXPECT_NE(after.find("garbage line without equals\n"), std::string::npos);
  EXPECT_NE(after.find("Pie1Color=16\n"), std::string::npos);  // stored name kept
  EXPECT_EQ(after.find("PIE1COLOR"), std::string::npos);
}

TEST(IniDocument, NewGroupsAndValuesAppend) {
  IniDocument doc;
  doc.AddGroup("Zub95");
  doc.SetValue("Zub95/Bet", "Total", "600");
  doc.SetValue("Zub95/Bet", "Bet", "100");
  const auto again = IniDocument::Parse(doc.Serialize());
  EXPECT_TRUE(again.HasGroup("Zub95"));
  EXPECT_EQ(again.Value("Zub95/Bet", "Total"), "600");
  EXPECT_EQ(again.Value("Zub95/Bet", "Bet"), "100");
}

TEST(IniDocument, ValuesSurviveAnyCharacters) {
  IniDocument doc;
  const std::string awkward = "  two lines\nback\\slash = [x]\r ";
  doc.SetValue("K/S", "Name", awkward);
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).Value("K/S", "Name"), awkward);
}

TEST(IniDocument, ErasingAGroupTakesItsSubgroupsOnly) {
  auto doc = IniDocument::Parse(
      "[Zub95/Dir]\na=1\n[Zub95/Dir/Deeper]\nb=2\n[Zub95/Directory]\nc=3\n[Zub95/Files]\nd=4\n");
  doc.EraseGroupTree("zub95/dir");
  EXPECT_FALSE(doc.HasGroup("Zub95/Dir"));
  EXPECT_FALSE(doc.HasGroup("Zub95/Dir/Deeper"));
  EXPECT_TRUE(doc.HasGroup("Zub95/Directory"));
  EXPECT_EQ(doc.Value("Zub95/Files", "d"), "4");
}

TEST(IniDocument, DamagedTextStillYieldsWhatCanBeRead) {
  // Truncated mid-line, a header without its bracket, CRLF endings, no final newline.
  const auto doc = IniDocument::Parse(
      "[Zub95/Settings]\r\nPie1Color=16\r\nPie2Col\n[Zub95/Dir\nDirColor=5\n[Zub95/"
      "Files]\nFontSize=1");
  EXPECT_EQ(doc.Value("Zub95/Settings", "Pie1Color"), "16");
  EXPECT_FALSE(doc.Value("Zub95/Settings", "Pie2Col").has_value());
  EXPECT_EQ(doc.Value("Zub95/Files", "FontSize"), "1");
  EXPECT_EQ(IniDocument::Parse("").Serialize(), "");
}

}  // namespace
}  // namespace zub
