// Shows the tree or the search window on a real display, runs its work to
// the end and prints the longest time the window went without its events;
// takes a screenshot while the work runs (after MS milliseconds) and one at
// the end (SHOT with "-end" before ".png"):
//   show_search_windows tree DIR SHOT [MS] | search DIR MASK SHOT [MS]
// The whole-drive question is answered Yes.
#include <QApplication>
#include <QElapsedTimer>
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

namespace {

class YesPrompts : public zub::QtPrompts {
 public:
  using QtPrompts::QtPrompts;
  zub::Answer Ask(const std::string&, bool) override { return zub::Answer::Yes; }
};

// Started aside, so that taking it does not hold the window's events.
void ShootAside(const QString& shot) {
  QProcess::startDetached("import", {"-window", "root", shot});
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::string mode = argc > 1 ? argv[1] : "";
  const int shotArg = mode == "tree" ? 3 : 4;
  if ((mode != "tree" && mode != "search") || argc <= shotArg) {
    std::fprintf(stderr,
                 "usage: show_search_windows tree DIR SHOT [MS] | search DIR MASK SHOT [MS]\n");
    return 2;
  }
  const QString shot = argv[shotArg];
  const int after = argc > shotArg + 1 ? std::atoi(argv[shotArg + 1]) : 2500;
  QString endShot = shot;
  endShot.replace(".png", "-end.png");
  zub::LinuxDirectorySource dirs;
  zub::LinuxDriveTable drives;
  zub::XdgTrash trash;
  YesPrompts prompts([] { return std::string("Zub 97 for Linux"); });
  zub::MonitorSettings settings;
  std::unique_ptr<QDialog> window;
  std::function<void()> run;
  std::function<int()> gap;
  if (mode == "tree") {
    auto* tree = new zub::TfmTree(drives, dirs, trash, prompts);
    window.reset(tree);
    tree->Chooser()->SetDirectory(argv[2], false);
    run = [tree] { tree->Button1Click(); };
    gap = [tree] { return tree->LongestGapMs(); };
  } else {
    auto* search = new zub::TfmFiles(
        settings, drives, [] { return 'C'; }, dirs, trash, prompts);
    window.reset(search);
    search->Chooser()->SetDirectory(argv[2], false);
    search->MaskBox()->setText(argv[3]);
    run = [search] { search->Button1Click(); };
    gap = [search] { return search->LongestGapMs(); };
  }
  window->show();
  QTimer::singleShot(after, &app, [&] { ShootAside(shot); });
  QTimer::singleShot(300, &app, [&] {
    QElapsedTimer clock;
    clock.start();
    run();
    std::printf("work %.1f s, longest gap %d ms\n", clock.elapsed() / 1000.0, gap());
    QTimer::singleShot(500, &app, [&] {
      QProcess::execute("import", {"-window", "root", endShot});
      app.quit();
    });
  });
  return app.exec();
}
