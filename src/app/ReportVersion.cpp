// zub97-report version FILE: the fifteen texts the file information window reads.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "app/ReportCommands.h"
#include "app/ReportRecord.h"
#include "inspect/Version.h"

namespace zub {
namespace {

std::string OwnExecutable() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

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
  TVersionResource resource({platform.versionBlocks, platform.elf, platform.packages},
                            OwnExecutable());
  resource.SetFileName(file);
  for (const TVersionInfo::Field& field : TVersionInfo::Fields()) {
    WriteRecord(out, {"version", field.name, resource.VersionInfo().*field.text});
  }
  return 0;
}

}  // namespace zub
