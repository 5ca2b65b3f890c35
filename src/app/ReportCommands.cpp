#include "app/ReportCommands.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {
      {"version", "FILE",
       "version: one record per file version text (name, value), as the file information "
       "window reads them",
       RunVersionReport},
  };
  return commands;
}

}  // namespace zub
