// zub97-report list DIR: the directory space window's listing as records.
#pragma once

#include <ostream>

#include "app/ReportCommands.h"
#include "app/ReportRecord.h"
#include "files/FileGrid.h"
#include "platform/DirectorySource.h"

namespace zub {

// A `listing` record (caption, file count, byte total, the Mb panel text)
// and one `row` record per grid row in the window's order after its default
// sort (name text, size text, number, exact name).
int WriteListReport(const ReportArgs& args, DirectorySource& files, std::ostream& out,
                    std::ostream& err);

// A `row` record: the grid row's cells as the window shows them, and with
// `exactName` the name's exact bytes after them.
void WriteGridRow(RecordWriter& out, const FileGrid& grid, std::size_t row, bool exactName);

int RunListReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                  std::ostream& err);

}  // namespace zub
