#include "app/ReportCommands.h"

#include "app/ReportInspectSystem.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {
      {"windows", "",
       "window records (X window id, title), topmost window first, then a figures\n"
       "      record: the running windows window's memory and window count line",
       RunWindowsReport},
      {"sysinfo", "",
       "sysinfo records (name, text): Organisation, Owner, CPU, OperatingSystem,\n"
       "      WinVersion, Build, TotalMemory, DriveC",
       RunSysinfoReport},
  };
  return commands;
}

}  // namespace zub
