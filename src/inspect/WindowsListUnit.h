// The list of the desktop's top-level windows: one entry per accepted window,
// its title and its handle, in stacking order from the top.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowSource.h"

namespace zub {

// Titles were read into a 255-character buffer: 254 characters and the end.
inline constexpr std::size_t kMaxTitleCharacters = 254;

// `text` as valid UTF-8 (each broken sequence becomes U+FFFD) holding at
// most `maxCharacters` characters; the cut never splits a character.
std::string CutUtf8(std::string_view text, std::size_t maxCharacters);

struct TWindowInfo {
  zub::WindowHandle WindowHandle = 0;
};

struct WindowEntry {
  std::string title;
  TWindowInfo info;
};

class TWindowsList {
 public:
  explicit TWindowsList(WindowSource& source) : source_(&source) {}

  // Rebuilds the list from the desktop, topmost window first.
  void RefreshList();
  // Reads the window's title and adds an entry when it is accepted.
  void AddWindow(WindowHandle handle);

  // Not sorted; two windows with one title are two entries.
  const std::vector<WindowEntry>& TheWindowsList() const { return list_; }

  bool AcceptEmptyNames() const { return acceptEmptyNames_; }
  void SetAcceptEmptyNames(bool accept) { acceptEmptyNames_ = accept; }

 private:
  WindowSource* source_;
  std::vector<WindowEntry> list_;
  bool acceptEmptyNames_ = false;
};

// The running windows window's figures line: "32292 KB/ 25 Windows".
std::string FiguresText(const std::string& totalMemory, std::size_t windowCount);

}  // namespace zub
