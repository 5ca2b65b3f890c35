#include <cstdio>

#include "app/ReportRecord.h"
#include "app/ReportSystem.h"

namespace zub {

void WriteWindowsRecords(TWindowsList& list, const TSysInfo& info, std::ostream& out) {
  list.SetAcceptEmptyNames(false);  // as the window lists them
  list.RefreshList();
  for (const WindowEntry& entry : list.TheWindowsList()) {
    char handle[16];
    std::snprintf(handle, sizeof handle, "0x%x", static_cast<unsigned>(entry.info.WindowHandle));
    WriteRecord(out, {"window", handle, entry.title});
  }
  WriteRecord(out, {"figures", FiguresText(info.TotalMemory(), list.TheWindowsList().size())});
}

int RunWindowsReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                     std::ostream& err) {
  if (!args.empty()) {
    err << "zub97-report windows: unknown argument '" << args[0] << "' (try --help)\n";
    return 2;
  }
  const DriveQueries drives(platform.drives, platform.disk);
  const TSysInfo info(platform.machineSettings, platform.systemFacts, drives);
  TWindowsList list(platform.windows);
  // Without an X display the list is empty, as the window shows it: no error.
  WriteWindowsRecords(list, info, out);
  return 0;
}

}  // namespace zub
