// Shows the tree or the search window on a real display, runs its work and
// takes a screenshot of the screen, for the manual:
//   show_search_windows tree DIR SHOT.png | search DIR MASK SHOT.png
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <string>

#include "files/DirectoryChooser.h"
#include "files/TfmFiles.h"
#include "files/TfmTree.h"
#include "platform/linux/LinuxDirectorySource.h"
#include "platform/linux/LinuxDriveTable.h"
#include "platform/linux/XdgTrash.h"
#include "ui/QtPrompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: show_search_windows tree DIR SHOT | search DIR MASK SHOT\n");
    return 2;
  }
  const std::string mode = argv[1];
  const QString shot = argv[argc - 1];
  zub::LinuxDirectorySource dirs;
  zub::LinuxDriveTable drives;
  zub::XdgTrash trash;
  zub::QtPrompts prompts([] { return std::string("Zub 97 for Linux"); });
  zub::MonitorSettings settings;
  std::unique_ptr<QDialog> window;
  if (mode == "tree") {
    auto* tree = new zub::TfmTree(drives, dirs, trash, prompts);
    window.reset(tree);
    tree->Chooser()->SetDirectory(argv[2], false);
    tree->show();
    QTimer::singleShot(300, tree, [tree] {
      tree->Button1Click();
      tree->Button2Click();
      std::printf("longest gap %d ms\n", tree->LongestGapMs());
    });
  } else {
    auto* search = new zub::TfmFiles(
        settings, drives, [] { return 'C'; }, dirs, trash, prompts);
    window.reset(search);
    search->Chooser()->SetDirectory(argv[2], false);
    search->MaskBox()->setText(argv[3]);
    search->show();
    QTimer::singleShot(300, search, [search] {
      search->Button1Click();
      std::printf("longest gap %d ms\n", search->LongestGapMs());
    });
  }
  QTimer::singleShot(2500, &app, [&] {
    QProcess::execute("import", {"-window", "root", shot});
    app.quit();
  });
  return app.exec();
}
