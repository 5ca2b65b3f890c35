#include "ui/Mnemonics.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(Mnemonics, WordStartsFirstThenAnyLetterAndNeverTwiceInOneMenu) {
  const std::vector<std::string> popup = {"All Disk Graphs", "Directory Tree",   "Memory Tree",
                                          "Medium Zub",      "Directory Search", "Craps Game"};
  EXPECT_EQ(MnemonicPositions(popup), (std::vector<int>{0, 0, 0, 7, 10, 0}));
}

TEST(Mnemonics, AMarkerAlreadyThereIsKeptAndItsLetterTaken) {
  EXPECT_EQ(MnemonicPositions({"Save", "&Stop", "Set"}), (std::vector<int>{1, 1, 1}));
  // "&&" is a plain ampersand, not a marker.
  EXPECT_EQ(MnemonicPositions({"R&&D", "Run"}), (std::vector<int>{0, 1}));
}

TEST(Mnemonics, LettersRepeatedInOtherCaseOrMissingGiveNoMarker) {
  EXPECT_EQ(MnemonicPositions({"ab", "AB", "Ba", ". ."}), (std::vector<int>{0, 1, -1, -1}));
}

}  // namespace
}  // namespace zub
