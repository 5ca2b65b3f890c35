#include "app/ReportCommands.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {};
  return commands;
}

}  // namespace zub
