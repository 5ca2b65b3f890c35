// zub97-report: prints what the windows would show, one tab-separated record a line.
#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "app/LinuxServices.h"
#include "app/Report.h"
#include "app/ReportCommands.h"

namespace {

void PrintHelp(std::ostream& out, const char* program) {
  out << "usage: " << program << " [COMMAND [ARGUMENTS]]\n\n"
      << "Prints what the windows of Zub 97 would show, one tab-separated record a line.\n"
      << "Tabs, line breaks, backslashes and other control characters inside a field are\n"
      << "escaped (\\t, \\n, \\\\, \\xHH).\n\n"
      << "Without a command: the drive, alldisks, pie, memory, title and settings\n"
      << "records.\n\n"
      << "Commands:\n";
  for (const zub::ReportCommand& command : zub::ReportCommands()) {
    std::string head = std::string("  ") + command.name;
    if (*command.arguments != '\0') {
      head += std::string(" ") + command.arguments;
    }
    out << head << "\n      " << command.records << '\n';
  }
  out << "  --help\n      this text\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    PrintHelp(std::cout, argv[0]);
    return 0;
  }
  zub::LinuxServices platform;
  if (args.empty()) {
    return zub::WriteReport(
        {platform.drives, platform.disk, platform.memory, platform.resources, platform.settings},
        std::cout, std::cerr);
  }
  for (const zub::ReportCommand& command : zub::ReportCommands()) {
    if (args[0] == command.name) {
      return command.run({args.begin() + 1, args.end()}, platform, std::cout, std::cerr);
    }
  }
  std::cerr << argv[0] << ": unknown command '" << args[0] << "' (try --help)\n";
  return 2;
}
