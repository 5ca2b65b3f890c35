// One directory entry as the file lists see it, and the text rules of the
// lists: names lowered and trimmed, sizes right-aligned, masks, Mb figures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zub {

// Attribute bits with the classic values; system and volume label never occur here.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrVolumeLabel = 0x08;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;

struct FileEntry {
  std::string name;       // exact bytes, no directory part
  std::int64_t size = 0;  // st_size: a link's own size, never its target's
  std::uint32_t attributes = 0;
};

// Hidden when the name begins with a dot; read-only when the owner may not write.
std::uint32_t AttributesOf(std::string_view name, std::uint32_t mode, bool isDirectory);

// A to Z lowered, nothing else changed, then bytes of code 32 or less cut from both ends.
std::string NameText(std::string_view name);
// Where NameText's trimmed part starts and how long it is.
std::string_view TrimmedPart(std::string_view text);

// Decimal, padded on the left with spaces to 12 characters.
std::string SizeText(std::int64_t size);
inline constexpr int kSizeTextWidth = 12;

// Wildcards: "*" any run, "?" any one character; "*.*" (or an empty mask)
// every name. ASCII letters match regardless of case.
bool MaskMatches(std::string_view mask, std::string_view name);

// The Mb and Kb figures of a byte total, halves to even.
std::int64_t MbFigure(std::int64_t total);
std::int64_t KbFigure(std::int64_t total);

}  // namespace zub
