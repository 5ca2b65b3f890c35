#include "files/FileEntry.h"

#include "monitor/NumberText.h"

namespace zub {
namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// Bytes of the UTF-8 character starting at `text[at]`; one for a stray byte.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  std::size_t length = 1;
  if (static_cast<unsigned char>(text[at]) >= 0xC0) {
    while (at + length < text.size() &&
           (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
      ++length;
    }
  }
  return length;
}

}  // namespace

std::uint32_t AttributesOf(std::string_view name, std::uint32_t mode, bool isDirectory) {
  std::uint32_t attributes = 0;
  if (!name.empty() && name[0] == '.') {
    attributes |= kAttrHidden;
  }
  constexpr std::uint32_t kOwnerWrite = 0200;
  if (mode != 0 && (mode & kOwnerWrite) == 0) {
    attributes |= kAttrReadOnly;
  }
  if (isDirectory) {
    attributes |= kAttrDirectory;
  }
  return attributes;
}

std::string_view TrimmedPart(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) {
    ++begin;
  }
  while (end > begin && IsBlank(text[end - 1])) {
    --end;
  }
  return text.substr(begin, end - begin);
}

std::string NameText(std::string_view name) {
  std::string text(TrimmedPart(name));
  for (char& c : text) {
    c = LowerAscii(c);
  }
  return text;
}

std::string SizeText(std::int64_t size) {
  std::string digits = std::to_string(size);
  if (digits.size() < kSizeTextWidth) {
    digits.insert(0, kSizeTextWidth - digits.size(), ' ');
  }
  return digits;
}

bool MaskMatches(std::string_view mask, std::string_view name) {
  if (mask.empty() || mask == "*.*") {
    return true;
  }
  // Greedy matching with one backtrack point, the last star: linear for the
  // masks people type.
  std::size_t m = 0;
  std::size_t n = 0;
  std::size_t starMask = std::string_view::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && mask[m] == '?') {
      ++m;
      n += CharacterLength(name, n);
    } else if (m < mask.size() && LowerAscii(mask[m]) == LowerAscii(name[n])) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      starName += CharacterLength(name, starName);
      n = starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') {
    ++m;
  }
  return m == mask.size();
}

std::int64_t MbFigure(std::int64_t total) {
  return RoundHalfEven(static_cast<double>(total) / 1048576.0);
}

std::int64_t KbFigure(std::int64_t total) {
  return RoundHalfEven(static_cast<double>(total) / 1024.0);
}

}  // namespace zub
