#include <functional>
#include <string>

#include "app/ReportRecord.h"
#include "app/ReportTree.h"
#include "files/DirectoryTree.h"

namespace zub {

std::string DirectoryProblem(DirectorySource& files, const std::string& directory) {
  switch (files.StatPath(directory)) {
    case PathState::Absent:
      return directory + ": no such directory";
    case PathState::File:
      return directory + ": not a directory";
    default:
      break;
  }
  if (!files.Open(directory)) {
    return directory + ": cannot be read";
  }
  return "";
}

int WriteTreeReport(const ReportArgs& args, DirectorySource& files, std::ostream& out,
                    std::ostream& err) {
  if (args.size() != 1) {
    err << "zub97-report tree: give one directory\n";
    return 2;
  }
  if (const std::string problem = DirectoryProblem(files, args[0]); !problem.empty()) {
    err << "zub97-report tree: " << problem << '\n';
    return 1;
  }
  DirectoryTree tree;
  TreeScan scan(tree);
  ExecuteTree(files, args[0], scan);
  const std::function<void(std::int32_t)> write = [&](std::int32_t parent) {
    for (const std::int32_t node : tree.Children(parent)) {
      WriteRecord(out, {"node", std::to_string(tree.Level(node)), std::string(tree.Text(node))});
      write(node);
    }
  };
  write(DirectoryTree::kNone);
  WriteRecord(out, {"panel", TreePanelText(scan.State())});
  return 0;
}

int RunTreeReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                  std::ostream& err) {
  return WriteTreeReport(args, platform.files, out, err);
}

}  // namespace zub
