#include "app/ReportList.h"

#include <sstream>
#include <string>

#include "app/ReportRecord.h"
#include "files/DirectoryScan.h"
#include "files/FmDirRules.h"

namespace zub {

int WriteListReport(const ReportArgs& args, DirectorySource& files, std::ostream& out,
                    std::ostream& err) {
  if (args.size() != 1) {
    err << "zub97-report list: give one directory\n";
    return 2;
  }
  const std::string& directory = args[0];
  switch (files.StatPath(directory)) {
    case PathState::Absent:
      err << "zub97-report list: " << directory << ": no such directory\n";
      return 1;
    case PathState::File:
      err << "zub97-report list: " << directory << ": not a directory\n";
      return 1;
    default:
      break;
  }
  if (!files.Open(directory)) {
    err << "zub97-report list: " << directory << ": cannot be read\n";
    return 1;
  }
  FileGrid grid(GridKind::DirectorySpace);
  const Listing listing =
      ListDirectory(files, directory, grid, SortKey::skSizeText, SortDirection::Descending);
  // Written a megabyte at a time: a record at a time into a pipe means
  // thousands of small writes, each a wait for the reader on a busy machine.
  std::ostringstream records;
  WriteRecord(records, {"listing", listing.caption, std::to_string(listing.count),
                        std::to_string(listing.total), ActivationPanelText(listing)});
  for (std::size_t row = 0; row < grid.RowCount(); ++row) {
    WriteRecord(records, {"row", grid.Cell(0, row), grid.Cell(1, row), grid.Cell(2, row),
                          std::string(grid.ExactName(row))});
    if (records.tellp() > (1 << 20)) {
      out << records.view();
      records.str("");
    }
  }
  out << records.view();
  out.flush();
  return out ? 0 : 1;
}

int RunListReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                  std::ostream& err) {
  return WriteListReport(args, platform.files, out, err);
}

}  // namespace zub
