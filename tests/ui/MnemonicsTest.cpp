#include "ui/Mnemonics.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

using Captions = std::vector<std::string>;

TEST(MnemonicsTest, EachEntryGetsAKeyOfItsOwn) {
  EXPECT_EQ(WithMnemonics({"Free Space", "Used Space", "Text Font"}),
            (Captions{"&Free Space", "&Used Space", "&Text Font"}));
  // A taken first letter moves to the next word's, then to any free letter.
  EXPECT_EQ(
      WithMnemonics({"Small Zub", "Medium Zub", "Large Zub", "Craps Game", "Reset Settings"}),
      (Captions{"&Small Zub", "&Medium Zub", "&Large Zub", "&Craps Game", "&Reset Settings"}));
  EXPECT_EQ(WithMnemonics({"Directory Search", "Directory Tree", "Disk"}),
            (Captions{"&Directory Search", "Directory &Tree", "D&isk"}));
}

TEST(MnemonicsTest, TheVisibleTextIsKeptExactly) {
  const Captions captions = {"Whats running . Window Names. ", "Small Zub ", "Total", "Virtual"};
  const Captions keyed = WithMnemonics(captions);
  ASSERT_EQ(keyed.size(), captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i) {
    std::string visible = keyed[i];
    const auto at = visible.find('&');
    ASSERT_NE(at, std::string::npos) << captions[i];
    visible.erase(at, 1);
    EXPECT_EQ(visible, captions[i]);
  }
}

TEST(MnemonicsTest, AnAuthorsKeyIsKeptAndReserved) {
  EXPECT_EQ(WithMnemonics({"Free Space", "E&xit", "Fonts"}),
            (Captions{"&Free Space", "E&xit", "F&onts"}));
  EXPECT_EQ(WithMnemonics({"Fish && Chips", "Fog"}), (Captions{"Fish && Chips", "&Fog"}))
      << "a literal ampersand is no key and the caption is left alone";
}

TEST(MnemonicsTest, AllKeysTakenReusesTheFirstLetterAndSeparatorsStayEmpty) {
  EXPECT_EQ(WithMnemonics({"ab", "ba", "ab", ""}), (Captions{"&ab", "&ba", "&ab", ""}));
  EXPECT_EQ(WithMnemonics({". . ."}), (Captions{". . ."})) << "nothing to underline";
}

}  // namespace
}  // namespace zub
