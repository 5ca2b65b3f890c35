// zub97-report tree DIR and search DIR [MASK]: the directory tree and the
// file search as records.
#pragma once

#include <ostream>

#include "app/ReportCommands.h"
#include "platform/DirectorySource.h"

namespace zub {

// One `node` record per tree line in tree order (level, text), then a
// `panel` record with the panel text.
int WriteTreeReport(const ReportArgs& args, DirectorySource& files, std::ostream& out,
                    std::ostream& err);
int RunTreeReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                  std::ostream& err);

// One `row` record per grid row after the size sort (path text, size text,
// number), then a `panel` record with the total's panel text.
int WriteSearchReport(const ReportArgs& args, DirectorySource& files, std::ostream& out,
                      std::ostream& err);
int RunSearchReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                    std::ostream& err);

// Empty when `directory` can be walked, else the reason, for "zub97-report NAME: ".
std::string DirectoryProblem(DirectorySource& files, const std::string& directory);

}  // namespace zub
