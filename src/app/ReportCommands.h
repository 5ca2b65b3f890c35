// The subcommands of zub97-report, one per window whose figures it prints.
// Each takes its own arguments (after the subcommand's name), writes records
// to `out` and failures to `err`, and returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/LinuxServices.h"

namespace zub {

using ReportArgs = std::vector<std::string>;

struct ReportCommand {
  const char* name;
  const char* arguments;  // for --help, "" when none
  const char* records;    // what it prints, for --help
  int (*run)(const ReportArgs& args, LinuxServices& platform, std::ostream& out, std::ostream& err);
};

int RunVersionReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                     std::ostream& err);

// Every subcommand, in the order --help lists them.
const std::vector<ReportCommand>& ReportCommands();

}  // namespace zub
