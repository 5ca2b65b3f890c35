// A desktop of scripted windows: handles topmost first, a title for each.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/WindowSource.h"

namespace zub::fakes {

class FakeWindowSource : public WindowSource {
 public:
  std::vector<WindowHandle> stacking;          // topmost first
  std::map<WindowHandle, std::string> titles;  // a handle without one is a window that is gone
  WindowHandle nextHandle = 0x400001;

  // Puts a window below those already added.
  WindowHandle Add(const std::string& title) {
    const WindowHandle handle = nextHandle++;
    stacking.push_back(handle);
    titles[handle] = title;
    return handle;
  }

  std::vector<WindowHandle> TopLevelWindows() override { return stacking; }
  std::string Title(WindowHandle window) override {
    const auto it = titles.find(window);
    return it == titles.end() ? std::string() : it->second;
  }
};

}  // namespace zub::fakes
