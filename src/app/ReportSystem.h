// The report's records of the running windows window and the system texts.
#pragma once

#include <ostream>

#include "app/ReportCommands.h"
#include "inspect/WindowsListUnit.h"
#include "inspect/sysinfo.h"

namespace zub {

// One "window" record (handle, title) per listed window, topmost first, then
// the "figures" record with the window's figures line.
void WriteWindowsRecords(TWindowsList& list, const TSysInfo& info, std::ostream& out);
// One "sysinfo" record (property name, text) per text, in property order.
void WriteSysinfoRecords(const TSysInfo& info, std::ostream& out);

int RunWindowsReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                     std::ostream& err);
int RunSysinfoReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                     std::ostream& err);

}  // namespace zub
