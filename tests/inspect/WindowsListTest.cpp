#include "inspect/WindowsListUnit.h"

#include <gtest/gtest.h>

#include "fakes/FakeWindowSource.h"

namespace zub {
namespace {

std::vector<std::string> Titles(const TWindowsList& list) {
  std::vector<std::string> titles;
  for (const WindowEntry& entry : list.TheWindowsList()) {
    titles.push_back(entry.title);
  }
  return titles;
}

std::size_t Characters(const std::string& utf8) {
  std::size_t n = 0;
  for (const char c : utf8) {
    n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  return n;
}

class WindowsListTest : public ::testing::Test {
 protected:
  fakes::FakeWindowSource source;
  TWindowsList list{source};
};

TEST_F(WindowsListTest, StackingOrderUnsortedWithDuplicatesAndHandles) {
  const WindowHandle top = source.Add("Terminal");
  source.Add("Zub 97 for Windows 95");
  const WindowHandle third = source.Add("Terminal");
  source.Add("Another");
  list.RefreshList();
  EXPECT_EQ(Titles(list),
            (std::vector<std::string>{"Terminal", "Zub 97 for Windows 95", "Terminal", "Another"}));
  EXPECT_EQ(list.TheWindowsList()[0].info.WindowHandle, top);
  EXPECT_EQ(list.TheWindowsList()[2].info.WindowHandle, third);

  source.stacking.erase(source.stacking.begin());
  list.RefreshList();  // a refresh forgets the windows that closed
  EXPECT_EQ(Titles(list),
            (std::vector<std::string>{"Zub 97 for Windows 95", "Terminal", "Another"}));
}

TEST_F(WindowsListTest, EmptyTitlesOnlyWithAcceptEmptyNames) {
  source.Add("One");
  source.Add("");
  source.stacking.push_back(0x999);  // gone before its title was read
  source.Add("Two");
  EXPECT_FALSE(list.AcceptEmptyNames());
  list.RefreshList();
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"One", "Two"}));

  list.SetAcceptEmptyNames(true);
  list.RefreshList();
  EXPECT_EQ(Titles(list), (std::vector<std::string>{"One", "", "", "Two"}));
}

TEST_F(WindowsListTest, LongTitlesAreCutTo254CharactersNeverInsideOne) {
  const std::string ascii(300, 'a');
  std::string accented;
  std::string emoji;
  for (int i = 0; i < 300; ++i) {
    accented += "\xC3\xA9";       // é, two bytes
    emoji += "\xF0\x9F\x98\x80";  // four bytes
  }
  source.Add(ascii);
  source.Add(accented);
  source.Add(emoji);
  source.Add(std::string(100000, 'x'));
  source.Add(std::string(254, 'b'));
  list.RefreshList();
  const auto titles = Titles(list);
  ASSERT_EQ(titles.size(), 5u);
  EXPECT_EQ(titles[0], ascii.substr(0, 254));
  EXPECT_EQ(titles[1], accented.substr(0, 508));
  EXPECT_EQ(titles[2], emoji.substr(0, 1016));
  EXPECT_EQ(titles[3], std::string(254, 'x'));
  EXPECT_EQ(titles[4], std::string(254, 'b'));
  for (const auto& title : titles) {
    EXPECT_EQ(Characters(title), 254u);
  }
}

TEST_F(WindowsListTest, BrokenUtf8BecomesReplacementCharacters) {
  const std::pair<std::string, std::string> rows[] = {
      {"\xFFok", "\xEF\xBF\xBDok"},
      {"caf\xE9", "caf\xEF\xBF\xBD"},                            // Latin-1 passed off as UTF-8
      {"end\xE2\x82", "end\xEF\xBF\xBD\xEF\xBF\xBD"},            // cut mid-character
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong "/"
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a lone surrogate
      {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // past U+10FFFF
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& [raw, shown] : rows) {
    EXPECT_EQ(CutUtf8(raw, kMaxTitleCharacters), shown);
  }
  // Each replacement is one character of the 254.
  EXPECT_EQ(Characters(CutUtf8(std::string(300, '\xFF'), 254)), 254u);
}

TEST(FiguresTextTest, MemoryThenCountOfWindows) {
  EXPECT_EQ(FiguresText("32292 KB", 25), "32292 KB/ 25 Windows");
  EXPECT_EQ(FiguresText("", 0), "/ 0 Windows");
}

}  // namespace
}  // namespace zub
