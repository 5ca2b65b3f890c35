#include "app/ReportCommands.h"

#include "app/ReportList.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {
      {"list", "DIR",
       "listing (caption, files, bytes, Mb panel text), then one row per grid row, largest "
       "first (name text, size text, number, exact name)",
       RunListReport},
  };
  return commands;
}

}  // namespace zub
