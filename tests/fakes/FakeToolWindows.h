// Other windows as a script: which exist, and every opening asked for.
#pragma once

#include <functional>
#include <set>
#include <vector>

#include "monitor/ToolWindows.h"

namespace zub::fakes {

class FakeToolWindows : public ToolWindows {
 public:
  std::set<Tool> available{Tool::AllDisks, Tool::Craps};
  std::vector<Tool> opened;
  OpenedWindows flags;
  std::function<void(Tool)> onOpen;  // runs inside Open, as a modal window would

  bool Available(Tool tool) const override { return available.count(tool) != 0; }
  void Open(Tool tool) override {
    opened.push_back(tool);
    if (onOpen) {
      onOpen(tool);
    }
  }
  OpenedWindows Opened() const override { return flags; }
};

}  // namespace zub::fakes
