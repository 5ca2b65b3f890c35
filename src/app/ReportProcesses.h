// zub97-report processes: the process tree's lines and its status text.
#pragma once

#include <ostream>

#include "app/ReportCommands.h"
#include "platform/ProcessSource.h"

namespace zub {

// One "line" record (level, text) per tree line in display order, then the
// "status" record. An unreadable process list is also reported to `err` and
// gives status 1.
int WriteProcessesReport(ProcessSource& source, std::ostream& out, std::ostream& err);

int RunProcessesReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                       std::ostream& err);

}  // namespace zub
