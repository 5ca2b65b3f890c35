#include "app/ReportCommands.h"

#include "app/ReportList.h"
#include "app/ReportTree.h"

namespace zub {

const std::vector<ReportCommand>& ReportCommands() {
  static const std::vector<ReportCommand> commands = {
      {"list", "DIR",
       "listing (caption, files, bytes, Mb panel text), then one row per grid row, largest "
       "first (name text, size text, number, exact name)",
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
