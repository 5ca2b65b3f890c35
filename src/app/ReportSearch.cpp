#include <string>

#include "app/ReportList.h"
#include "app/ReportRecord.h"
#include "app/ReportTree.h"
#include "files/FileSearch.h"

namespace zub {
namespace {

// The report asks nobody: it is given its directory and mask outright.
class SilentPrompts : public Prompts {
 public:
  void ShowMessage(const std::string&) override {}
  Answer Ask(const std::string&, bool) override { return Answer::Yes; }
  std::optional<ColorRef> ChooseColor(ColorRef) override { return std::nullopt; }
  std::optional<Font> ChooseFont(const Font&) override { return std::nullopt; }
};

}  // namespace

int WriteSearchReport(const ReportArgs& args, DirectorySource& files, std::ostream& out,
                      std::ostream& err) {
  if (args.empty() || args.size() > 2) {
    err << "zub97-report search: give a directory and an optional mask\n";
    return 2;
  }
  if (const std::string problem = DirectoryProblem(files, args[0]); !problem.empty()) {
    err << "zub97-report search: " << problem << '\n';
    return 1;
  }
  SilentPrompts prompts;
  SearchRows rows;
  SearchFlags flags;
  std::string panel;
  RunSearch(files, {}, prompts, args[0], args.size() > 1 ? args[1] : "", rows, flags, {},
            [&panel](const std::string& text) { panel = text; });
  RecordWriter records(out);
  for (std::size_t row = 0; row < rows.grid.RowCount(); ++row) {
    WriteGridRow(records, rows.grid, row, false);
  }
  records.Field("panel");
  records.Field(panel);
  records.End();
  return records.Flush() && out.flush() ? 0 : 1;
}

int RunSearchReport(const ReportArgs& args, LinuxServices& platform, std::ostream& out,
                    std::ostream& err) {
  return WriteSearchReport(args, platform.files, out, err);
}

}  // namespace zub
