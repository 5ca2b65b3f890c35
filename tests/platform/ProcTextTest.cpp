#include "platform/linux/ProcText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zub::linux_platform {
namespace {

std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(ProcText, LinesAreNeitherLostNorCutNorInvented) {
  EXPECT_TRUE(LinesOf("").empty());
  EXPECT_EQ(LinesOf("a\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(LinesOf("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(LinesOf("\n"), (std::vector<std::string>{""}));
  // Longer than any fixed buffer a reader might use.
  const std::string longLine(100000, 'x');
  EXPECT_EQ(LinesOf(longLine + "\nend\n"), (std::vector<std::string>{longLine, "end"}));
}

TEST(ProcText, FieldValueTakesTheFirstLineOfItsKeyOnly) {
  const std::string_view status = "Name:\tbash\nUid:\t1000\t0\nThreads:\t 4 \r\nThreads:\t9\n";
  EXPECT_EQ(FieldValue(status, "Threads:"), "4");
  EXPECT_EQ(FieldValue(status, "Uid:"), "1000\t0");
  // A key matches only at the start of a line, never inside another one.
  EXPECT_EQ(FieldValue(status, "ads:"), std::nullopt);
  EXPECT_EQ(FieldValue(status, "Tgid:"), std::nullopt);
  EXPECT_EQ(FieldValue("Tgid:", "Tgid:"), "");
}

TEST(ProcText, TokensSkipEveryKindOfWhitespace) {
  std::string_view rest = " \t12\v 34\n";
  EXPECT_EQ(NextToken(rest), "12");
  EXPECT_EQ(NextToken(rest), "34");
  EXPECT_EQ(NextToken(rest), "");
  EXPECT_EQ(Trim("\r\n x y \t"), "x y");
  EXPECT_EQ(Trim(" \n"), "");
}

TEST(ProcText, NumbersOutsideTheirBoundAreRejectedNotWrapped) {
  EXPECT_EQ(ParseUnsigned("0"), 0u);
  EXPECT_EQ(ParseUnsigned("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(ParseUnsigned("18446744073709551616"), std::nullopt);
  EXPECT_EQ(ParseUnsigned("99999999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseUnsigned("255", 255), 255u);
  EXPECT_EQ(ParseUnsigned("256", 255), std::nullopt);
  EXPECT_EQ(ParseUnsigned("7", 5), std::nullopt);  // a single digit above a small bound
  for (const char* junk : {"", "-1", "+1", " 1", "1 ", "1x", "0x10"}) {
    SCOPED_TRACE(junk);
    EXPECT_EQ(ParseUnsigned(junk), std::nullopt);
  }
  EXPECT_EQ(ParseHex("7f3aBC000000"), 0x7f3abc000000u);
  EXPECT_EQ(ParseHex("ffffffffffffffff"), UINT64_MAX);
  EXPECT_EQ(ParseHex("10000000000000000"), std::nullopt);
  EXPECT_EQ(ParseHex("00000000000000000001"), 1u);
  EXPECT_EQ(ParseHex("12g"), std::nullopt);
  EXPECT_EQ(ParseHex(""), std::nullopt);
}

}  // namespace
}  // namespace zub::linux_platform
