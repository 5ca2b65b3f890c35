#include "platform/linux/ProcText.h"

namespace zub::linux_platform {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsProcSpace(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsProcSpace(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<std::string_view> LineCursor::Next() {
  if (rest_.empty()) {
    return std::nullopt;
  }
  const std::size_t end = rest_.find('\n');
  if (end == std::string_view::npos) {
    const std::string_view line = rest_;
    rest_ = {};
    return line;
  }
  const std::string_view line = rest_.substr(0, end);
  rest_.remove_prefix(end + 1);
  return line;
}

std::optional<std::string_view> FieldValue(std::string_view text, std::string_view key) {
  LineCursor lines(text);
  while (const auto line = lines.Next()) {
    if (line->substr(0, key.size()) == key) {
      return Trim(line->substr(key.size()));
    }
  }
  return std::nullopt;
}

std::string_view NextToken(std::string_view& rest) {
  std::size_t start = 0;
  while (start < rest.size() && IsProcSpace(rest[start])) {
    ++start;
  }
  std::size_t end = start;
  while (end < rest.size() && !IsProcSpace(rest[end])) {
    ++end;
  }
  const std::string_view token = rest.substr(start, end - start);
  rest.remove_prefix(end);
  return token;
}

std::optional<std::uint64_t> ParseUnsigned(std::string_view token, std::uint64_t max) {
  if (token.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const char c : token) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (digit > max || value > (max - digit) / 10) {
      return std::nullopt;
    }
    value = value * 10 + digit;
  }
  return value;
}

std::optional<std::uint64_t> ParseHex(std::string_view token) {
  // Sixteen digits fill 64 bits; leading zeros beyond them are still fine.
  if (token.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const char c : token) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    if (value > (std::numeric_limits<std::uint64_t>::max() >> 4)) {
      return std::nullopt;
    }
    value = (value << 4) | static_cast<std::uint64_t>(digit);
  }
  return value;
}

}  // namespace zub::linux_platform
