#include "inspect/WindowsListUnit.h"

namespace zub {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
// Overlong forms, surrogates and code points above U+10FFFF are not well formed.
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    return 1;
  }
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) {
      return 0;
    }
  }
  return length;
}

}  // namespace

std::string CutUtf8(std::string_view text, std::size_t maxCharacters) {
  std::string out;
  std::size_t characters = 0;
  while (!text.empty() && characters < maxCharacters) {
    const std::size_t length = SequenceLength(text);
    if (length == 0) {
      out += kReplacement;
      text.remove_prefix(1);
    } else {
      out.append(text.substr(0, length));
      text.remove_prefix(length);
    }
    ++characters;
  }
  return out;
}

void TWindowsList::RefreshList() {
  list_.clear();
  for (const WindowHandle handle : source_->TopLevelWindows()) {
    AddWindow(handle);
  }
}

void TWindowsList::AddWindow(WindowHandle handle) {
  std::string title = CutUtf8(source_->Title(handle), kMaxTitleCharacters);
  if (acceptEmptyNames_ || !title.empty()) {
    list_.push_back({std::move(title), TWindowInfo{handle}});
  }
}

std::string FiguresText(const std::string& totalMemory, std::size_t windowCount) {
  return totalMemory + "/ " + std::to_string(windowCount) + " Windows";
}

}  // namespace zub
