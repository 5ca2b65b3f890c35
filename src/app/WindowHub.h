// The window hub: owns every window the main window opens, creates each on
// first use and shows it as it is meant to be shown (kept, modal with the
// main window hidden; kept and beside the main window; new, modal and
// destroyed each time), and remembers which were opened in this run.
// Adding a window is one entry in the constructor.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "game/CrapsGame.h"
#include "inspect/Version.h"
#include "monitor/MonitorSettings.h"
#include "monitor/ToolWindows.h"
#include "platform/DirectorySource.h"
#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"
#include "platform/ProcessSource.h"
#include "platform/SettingsFile.h"
#include "platform/SystemFacts.h"
#include "platform/Trash.h"
#include "platform/WindowSource.h"
#include "ui/Prompts.h"

namespace zub {

class TFileInfo;

// What the secondary windows are built from.
struct HubServices {
  DriveTable& drives;
  DiskSpace& disk;
  Prompts& prompts;
  ProcessSource& processes;
  VersionSources version;
  std::string ownPath;  // the program's own executable, which the file information reads first
  SettingsFile& machineSettings;  // read only: the registered owner and organisation
  SystemFactsSource& systemFacts;
  WindowSource& windows;
  DirectorySource& files;
  Trash& trash;
};

class WindowHub : public ToolWindows {
 public:
  explicit WindowHub(const HubServices& services);
  ~WindowHub() override;
  WindowHub(const WindowHub&) = delete;
  WindowHub& operator=(const WindowHub&) = delete;

  // The main window, the settings it holds and its drive list's letter;
  // given once the main window exists, before anything is opened. The
  // windows are children of `main` and end with it. The file information
  // window is made here, hidden, as the program's second window.
  void SetMainWindow(QWidget* main, MonitorSettings* settings, std::function<char()> driveLetter);

  bool Available(Tool tool) const override;
  void Open(Tool tool) override;
  OpenedWindows Opened() const override { return opened_; }

  // The kept window of `tool`, once made (for tests).
  QWidget* Window(Tool tool) const;
  CrapsGame& Game() { return game_; }

  // Shows the file information window on `path`, modally (from the process tree).
  void ShowFileInfo(const std::string& path);

 private:
  enum class Showing { HidingMain, Beside, Fresh };
  struct Entry {
    Showing showing;
    std::function<QWidget*(QWidget* parent)> make;  // the window, owned by `parent`
    QPointer<QWidget> window;
    bool placed = false;  // a window shown beside the main window: where it was put
    QPoint placedAt;
  };

  void Add(Tool tool, Showing showing, std::function<QWidget*(QWidget* parent)> make);
  void MarkOpened(Tool tool);
  // Where `window` goes beside the main window, whole on the main window's screen.
  QPoint BesideMain(const QWidget& window) const;

  HubServices services_;
  QPointer<QWidget> main_;
  MonitorSettings* settings_ = nullptr;
  std::function<char()> driveLetter_;
  std::map<Tool, Entry> entries_;
  QPointer<TFileInfo> fileInfo_;
  OpenedWindows opened_;
  CrapsGame game_;  // the game's run-long state: the total outlives each game window
};

}  // namespace zub
