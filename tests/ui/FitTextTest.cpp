#include "ui/FitText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zub {
namespace {

// A face whose glyphs are `perPoint` pixels wide per point, as a scalable
// face nearly is.
auto Widths(const std::string& text, double perPoint) {
  return [text, perPoint](int points) {
    return static_cast<int>(static_cast<double>(text.size()) * perPoint * points);
  };
}

TEST(FitTextTest, TheDesignSizeStaysWhenTheTextFits) {
  EXPECT_EQ(FitPointSize(Widths("Free Total Memory is 45 %", 0.5), 12, 289), 12);
  // Exactly the panel's width still fits.
  EXPECT_EQ(FitPointSize([](int points) { return points * 24; }, 12, 288), 12);
}

TEST(FitTextTest, ALongFigureShrinksUntilEveryDigitFits) {
  const std::string text = "82065420 Kb Free / 264212084 Kb Total";
  for (const int room : {289, 350, 400, 578, 700, 800}) {
    for (const int design : {10, 11, 12, 16, 24}) {
      const auto width = Widths(text, 0.75);
      const int chosen = FitPointSize(width, design, room);
      SCOPED_TRACE(std::to_string(room) + " px, " + std::to_string(design) + " pt");
      EXPECT_LE(chosen, design);
      EXPECT_LE(width(chosen), room) << "a digit would be cut";
      if (chosen < design) {
        EXPECT_GT(width(chosen + 1), room) << "a larger size would have fitted";
      }
    }
  }
}

TEST(FitTextTest, UnevenHintedWidthsGiveTheLargestSizeThatFits) {
  // Hinting can make a size wider than the next larger one.
  const std::vector<int> widths = {0, 10, 20, 30, 45, 41, 60, 70};
  const auto width = [&](int points) { return widths.at(static_cast<std::size_t>(points)); };
  EXPECT_EQ(FitPointSize(width, 7, 42), 5) << "the wider size below is not the answer";
  EXPECT_EQ(FitPointSize(width, 7, 40), 3) << "nor does stopping at the first failure";
}

TEST(FitTextTest, NothingFitsGivesTheSmallestSizeNotZero) {
  EXPECT_EQ(FitPointSize([](int) { return 1000; }, 12, 50), 1);
  EXPECT_EQ(FitPointSize([](int) { return 1000; }, 12, -4), 1) << "a panel with no room";
  // The platform's own default size (0) is left for the platform to pick.
  EXPECT_EQ(FitPointSize([](int) { return 1000; }, 0, 50), 0);
}

}  // namespace
}  // namespace zub
