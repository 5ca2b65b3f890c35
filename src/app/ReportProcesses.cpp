#include "app/ReportProcesses.h"

#include <string>

#include "app/ReportRecord.h"
#include "inspect/ProcessTree.h"

namespace zub {

int WriteProcessesReport(ProcessSource& source, std::ostream& out, std::ostream& err) {
  ProcessTree tree;
  const MemTreeCounters counters = BuildMemTree(source, tree);
  for (std::size_t i = 0; i < tree.Size(); ++i) {
    WriteRecord(out, {"line", std::to_string(tree.Depth(i) + 1), std::string(tree.Text(i))});
  }
  WriteRecord(out, {"status", StatusText(counters)});
  out.flush();
  const bool listUnreadable = tree.Size() == 2 && tree.Text(1) == kProcessFailureText;
  if (listUnreadable) {
    err << "zub97-report processes: the process list cannot be read\n";
    return 1;
  }
  return out ? 0 : 1;
}

int RunProcessesReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                       std::ostream& err) {
  if (!args.empty()) {
    err << "zub97-report processes: takes no arguments\n";
    return 2;
  }
  return WriteProcessesReport(platform.processes, out, err);
}

}  // namespace zub
