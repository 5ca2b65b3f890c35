// The desktop's top-level windows and their titles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zub {

// An X window id; 0 is no window.
using WindowHandle = std::uint32_t;

class WindowSource {
 public:
  virtual ~WindowSource() = default;

  // Every top-level window in stacking order, topmost first; empty when
  // there is no desktop to ask.
  virtual std::vector<WindowHandle> TopLevelWindows() = 0;
  // The window's title as UTF-8 (possibly invalid, possibly long); empty
  // when it has none or is gone.
  virtual std::string Title(WindowHandle window) = 0;
};

}  // namespace zub
