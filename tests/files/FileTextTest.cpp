#include "files/FileEntry.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(NameTextTest, LowersOnlyAsciiCapitalsAndTrimsControlAndBlank) {
  EXPECT_EQ(NameText("ReadMe.TXT"), "readme.txt");
  EXPECT_EQ(NameText("\xC3\x89t\xC3\xA9 A"), "\xC3\x89t\xC3\xA9 a");  // É stays
  EXPECT_EQ(NameText(" \t name \n"), "name");
  EXPECT_EQ(NameText("   "), "");
  // Bytes above 127 are never blanks, even when not UTF-8.
  EXPECT_EQ(NameText("\xFF "), "\xFF");
}

TEST(SizeTextTest, RightAlignsInTwelveAndKeepsLongerFiguresWhole) {
  EXPECT_EQ(SizeText(0), std::string(11, ' ') + "0");
  EXPECT_EQ(SizeText(1234), std::string(8, ' ') + "1234");
  EXPECT_EQ(SizeText(3'000'000'000), "  3000000000");  // over 2 GiB, not negative
  EXPECT_EQ(SizeText(1'099'511'627'776), "1099511627776");
}

TEST(MaskTest, WildcardsIgnoreAsciiCaseAndStarDotStarTakesNamesWithoutDot) {
  EXPECT_TRUE(MaskMatches("*.*", "Makefile"));
  EXPECT_TRUE(MaskMatches("", "x"));
  EXPECT_TRUE(MaskMatches("*.sys", "CONFIG.SYS"));
  EXPECT_FALSE(MaskMatches("*.sys", "config.sys.bak"));
  EXPECT_TRUE(MaskMatches("con*.sys", "config2.sys"));
  EXPECT_FALSE(MaskMatches("con*.sys", "xconfig.sys"));
  EXPECT_TRUE(MaskMatches("a?c", "abc"));
  EXPECT_TRUE(MaskMatches("a?c",
                          "a\xC3\xA9"
                          "c"));  // ? is one character, not one byte
  EXPECT_FALSE(MaskMatches("a?c", "ac"));
  EXPECT_TRUE(MaskMatches("*", ".hidden"));
  EXPECT_TRUE(MaskMatches("*a*a*a*", "xaxaxaxbbb"));
  EXPECT_FALSE(MaskMatches("*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaac"));
}

TEST(FigureTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(MbFigure(1048576 + 524288), 2);
  EXPECT_EQ(MbFigure(2 * 1048576 + 524288), 2);
  EXPECT_EQ(KbFigure(1536), 2);
  EXPECT_EQ(MbFigure(5'000'000'000'000), 4768372);  // no 32-bit wrap
}

}  // namespace
}  // namespace zub
