// zub97-report version FILE: the fifteen texts the file information window reads.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "app/ReportCommands.h"
#include "app/ReportRecord.h"
#include "inspect/Version.h"

namespace zub {
int RunVersionReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                     std::ostream& err) {
  if (args.size() != 1) {
    err << "zub97-report: version needs one FILE\n";
    return 2;
  }
  const std::string& file = args[0];
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) {
    err << "zub97-report: version: " << file << ": " << std::strerror(errno) << '\n';
    return 1;
  }
  // Made on the file itself, so it is read once, not after this program's own file.
  const TVersionResource resource({platform.versionBlocks, platform.elf, platform.packages}, file);
  for (const TVersionInfo::Field& field : TVersionInfo::Fields()) {
    WriteRecord(out, {"version", field.name, resource.VersionInfo().*field.text});
  }
  return 0;
}

}  // namespace zub
