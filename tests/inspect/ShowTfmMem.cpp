// Shows the running windows window on the real display, beside a few other
// windows with known titles, for screenshots and for checking the list by eye.
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include "app/LinuxServices.h"
#include "inspect/UtMem.h"
#include "ui/QtPrompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  zub::LinuxServices platform;
  zub::QtPrompts prompts([] { return std::string("Zub 97 for Windows 95"); });
  const zub::DriveQueries drives(platform.drives, platform.disk);

  std::vector<std::unique_ptr<QLabel>> others;
  for (const char* title : {"Terminal", "notes.txt - Text Editor", "Caf\u00e9 menu"}) {
    others.push_back(std::make_unique<QLabel>(title));
    others.back()->setWindowTitle(QString::fromUtf8(title));
    others.back()->resize(240, 120);
    others.back()->move(static_cast<int>(others.size()) * 40, static_cast<int>(others.size()) * 30);
    others.back()->show();
  }
  zub::TfmMem window(platform.machineSettings, platform.systemFacts, drives, platform.windows,
                     prompts);
  // Shown last, after the others are managed, so it lists them.
  QTimer::singleShot(500, &window, [&] { window.show(); });
  return app.exec();
}
