#include "app/ReportCommands.h"

#include "app/ReportProcesses.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {
      {"processes", "", "line records (level, text) of the process tree, then its status",
       RunProcessesReport},
      {"version", "FILE",
       "version: one record per file version text (name, value), as the file information "
       "window reads them",
       RunVersionReport},
  };
  return commands;
}

}  // namespace zub
