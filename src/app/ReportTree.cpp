#include <functional>
#include <string>

#include "app/ReportRecord.h"
#include "app/ReportTree.h"
#include "files/DirectoryTree.h"

namespace zub {

std::string DirectoryProblem(DirectorySource& files, const std::string& directory) {
  // Opening follows a link: the start is the user's choice.
  if (files.Open(directory)) {
    return "";
  }
  switch (files.StatPath(directory)) {
    case PathState::Absent:
      return directory + ": no such directory";
    case PathState::File:
      return directory + ": not a directory";
    default:
      return directory + ": cannot be read";
  }
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
  RecordWriter records(out);
  const std::function<void(std::int32_t)> write = [&](std::int32_t parent) {
    for (const std::int32_t node : tree.Children(parent)) {
      records.Field("node");
      records.NumberField(static_cast<std::uint64_t>(tree.Level(node)));
      records.Field(tree.Text(node));
      records.End();
      write(node);
    }
  };
  write(DirectoryTree::kNone);
  records.Field("panel");
  records.Field(TreePanelText(scan.State()));
  records.End();
  return records.Flush() && out.flush() ? 0 : 1;
}

int RunTreeReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                  std::ostream& err) {
  return WriteTreeReport(args, platform.files, out, err);
}

}  // namespace zub
