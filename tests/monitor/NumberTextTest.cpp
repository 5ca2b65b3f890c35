#include "monitor/NumberText.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zub {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::tuple<double, std::int64_t> cases[] = {{2.5, 2},
                                                    {3.5, 4},
                                                    {0.5, 0},
                                                    {1.5, 2},
                                                    {-0.5, 0},
                                                    {-1.5, -2},
                                                    {12.5, 12},
                                                    {13.5, 14},
                                                    {2.4999999, 2},
                                                    {2.5000001, 3},
                                                    {0.0, 0},
                                                    {99.99, 100},
                                                    {1e12 + 0.5, 1000000000000},
                                                    {4294967296.5, 4294967296}};
  for (const auto& [value, expected] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(RoundHalfEven(value), expected);
  }
}

TEST(NumberText, GeneralFormWithoutTrailingZerosOrGrouping) {
  EXPECT_EQ(NumberText(1536.0, '.'), "1536");
  EXPECT_EQ(NumberText(0.5, '.'), "0.5");
  EXPECT_EQ(NumberText(0.5, ','), "0,5");
  EXPECT_EQ(NumberText(1234.5678, '.'), "1234.5678");
  EXPECT_EQ(NumberText(-1.0, '.'), "-1");
  EXPECT_EQ(NumberText(0.0, '.'), "0");
  // A 2 TB byte count is written out in full, not in exponent form.
  EXPECT_EQ(NumberText(2199023255552.0, '.'), "2199023255552");
  // 15 significant digits, no more.
  EXPECT_EQ(NumberText(1.0 / 3.0, '.'), "0.333333333333333");
}

}  // namespace
}  // namespace zub
