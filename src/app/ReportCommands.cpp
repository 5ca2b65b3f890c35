#include "app/ReportCommands.h"

#include "app/ReportProcesses.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {
      {"processes", "", "line records (level, text) of the process tree, then its status",
       RunProcessesReport},
  };
  return commands;
}

}  // namespace zub
