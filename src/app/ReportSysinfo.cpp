#include "app/ReportRecord.h"
#include "app/ReportSystem.h"

namespace zub {

void WriteSysinfoRecords(const TSysInfo& info, std::ostream& out) {
  for (const auto& [name, text] : info.Texts()) {
    WriteRecord(out, {"sysinfo", name, text});
  }
}

int RunSysinfoReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                     std::ostream& err) {
  if (!args.empty()) {
    err << "zub97-report sysinfo: unknown argument '" << args[0] << "' (try --help)\n";
    return 2;
  }
  const DriveQueries drives(platform.drives, platform.disk);
  WriteSysinfoRecords(TSysInfo(platform.machineSettings, platform.systemFacts, drives), out);
  return 0;
}

}  // namespace zub
