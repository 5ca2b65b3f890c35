// Small text tools shared by the /proc parsers: lines of any length, fields
// looked up by their key, whitespace tokens and bounded unsigned numbers.
// Everything here is pure and works on views into the caller's text.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace zub::linux_platform {

// Blank, tab, line break, carriage return, vertical tab, form feed.
constexpr bool IsProcSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text);

// The lines of a text, without their '\n'; a last line without one counts,
// an empty text has none. No length limit: a line is a view, never copied.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : rest_(text) {}
  // The next line; nothing at the end of the text.
  std::optional<std::string_view> Next();

 private:
  std::string_view rest_;
};

// Calls `visit(line)` for every line of `text`.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  LineCursor lines(text);
  while (const auto line = lines.Next()) {
    visit(*line);
  }
}

// The rest of the first line that starts with `key` (such as "MemTotal:"),
// trimmed; nothing when no line does.
std::optional<std::string_view> FieldValue(std::string_view text, std::string_view key);

// Skips leading whitespace, returns the token up to the next whitespace and
// leaves `rest` just after it. An empty view when nothing is left.
std::string_view NextToken(std::string_view& rest);

// A whole token of decimal digits as a number of at most `max`; nothing for
// an empty token, a sign, any other character or a larger (also overflowing)
// figure.
std::optional<std::uint64_t> ParseUnsigned(
    std::string_view token, std::uint64_t max = std::numeric_limits<std::uint64_t>::max());

// The same for hexadecimal digits (either case), as maps writes addresses.
std::optional<std::uint64_t> ParseHex(std::string_view token);

}  // namespace zub::linux_platform
