#include "app/ReportCommands.h"

#include "app/ReportList.h"
#include "app/ReportProcesses.h"
#include "app/ReportSystem.h"
#include "app/ReportTree.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {
      {"processes", "", "line records (level, text) of the process tree, then its status",
       RunProcessesReport},
      {"version", "FILE",
       "version records (name, value): the fifteen version texts, as the file\n"
       "      information window reads them",
       RunVersionReport},
      {"windows", "",
       "window records (X window id, title), topmost window first, then a figures\n"
       "      record: the running windows window's memory and window count line",
       RunWindowsReport},
      {"sysinfo", "",
       "sysinfo records (name, text): Organisation, Owner, CPU, OperatingSystem,\n"
       "      WinVersion, Build, TotalMemory, DriveC",
       RunSysinfoReport},
      {"list", "DIR",
       "a listing record (caption, files, bytes, Mb panel text), then one row record\n"
       "      per grid row, largest first (name text, size text, number, exact name)",
       RunListReport},
      {"tree", "DIR", "one node per tree line in tree order (level, text), then the panel text",
       RunTreeReport},
      {"search", "DIR [MASK]",
       "one row per grid row after the size sort (path text, size text, number), then the "
       "panel text",
       RunSearchReport},
  };
  return commands;
}

}  // namespace zub
