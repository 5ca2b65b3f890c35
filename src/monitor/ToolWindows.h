// The other windows of the program as the main window sees them: which can
// be opened, opening one, and which were opened in this run (the settings'
// save conditions read that). The program's window hub implements it.
#pragma once

#include "monitor/MonitorSettings.h"

namespace zub {

enum class Tool {
  AllDisks,
  DirectorySpace,
  DirectoryTree,
  FileSearch,
  ProcessTree,
  RunningWindows,
  Craps,
};

class ToolWindows {
 public:
  virtual ~ToolWindows() = default;

  // False for a window this build does not have: its entries are disabled.
  virtual bool Available(Tool tool) const = 0;
  // Opens the window the way it is shown; returns when a modal one closes.
  virtual void Open(Tool tool) = 0;
  virtual OpenedWindows Opened() const = 0;
};

}  // namespace zub
