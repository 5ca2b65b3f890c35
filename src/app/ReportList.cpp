#include "app/ReportList.h"

#include <string>

#include "app/ReportRecord.h"
#include "app/ReportTree.h"
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
  if (const std::string problem = DirectoryProblem(files, directory); !problem.empty()) {
    err << "zub97-report list: " << problem << '\n';
    return 1;
  }
  FileGrid grid(GridKind::DirectorySpace);
  const Listing listing =
      ListDirectory(files, directory, grid, SortKey::skSizeText, SortDirection::Descending);
  RecordWriter records(out);
  records.Field("listing");
  records.Field(listing.caption);
  records.NumberField(static_cast<std::uint64_t>(listing.count));
  records.Field(std::to_string(listing.total));
  records.Field(ActivationPanelText(listing));
  records.End();
  for (std::size_t row = 0; row < grid.RowCount(); ++row) {
    WriteGridRow(records, grid, row, true);
  }
  return records.Flush() && out.flush() ? 0 : 1;
}

void WriteGridRow(RecordWriter& out, const FileGrid& grid, std::size_t row, bool exactName) {
  const FileGrid::Record& record = grid.RecordAt(row);
  out.Field("row");
  switch (record.state) {
    case CellState::Filled:
      out.NameField(grid.TextOf(record));
      out.SizeField(record.size);
      break;
    case CellState::Deleted:
      out.Field(kDeletedCell);
      out.Field(kClearedCell);
      break;
    case CellState::Cleared:
      out.Field(kClearedCell);
      out.Field(kClearedCell);
      break;
  }
  if (grid.ColumnCount() > 2) {
    if (grid.Numbered(row)) {
      out.NumberField(grid.Number(row));
    } else {
      out.Field(kClearedCell);
    }
  }
  if (exactName) {
    out.Field(grid.ExactName(row));
  }
  out.End();
}

int RunListReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                  std::ostream& err) {
  return WriteListReport(args, platform.files, out, err);
}

}  // namespace zub
