#include "app/WindowHub.h"

#include <QDialog>
#include <QScreen>
#include <algorithm>

#include "diskview/TfmAlldisk.h"
#include "files/TFmDir.h"
#include "files/TfmFiles.h"
#include "files/TfmTree.h"
#include "game/TfmGame.h"
#include "inspect/TFmMemTree.h"
#include "inspect/UnFilever.h"
#include "inspect/UtMem.h"
#include "monitor/EventDrives.h"

namespace zub {

WindowHub::WindowHub(const HubServices& services) : services_(services) {
  Add(Tool::AllDisks, Showing::HidingMain, [this](QWidget* parent) {
    return new TfmAlldisk(*settings_, services_.drives, services_.disk, services_.prompts, parent);
  });
  Add(Tool::DirectorySpace, Showing::HidingMain, [this](QWidget* parent) {
    return new TFmDir(*settings_, services_.drives, driveLetter_, services_.files, services_.trash,
                      services_.prompts, parent);
  });
  Add(Tool::DirectoryTree, Showing::HidingMain, [this](QWidget* parent) {
    return new TfmTree(services_.drives, services_.files, services_.trash, services_.prompts,
                       parent);
  });
  Add(Tool::FileSearch, Showing::HidingMain, [this](QWidget* parent) {
    return new TfmFiles(*settings_, services_.drives, driveLetter_, services_.files,
                        services_.trash, services_.prompts, parent);
  });
  Add(Tool::ProcessTree, Showing::HidingMain, [this](QWidget* parent) {
    return new TFmMemTree(
        *settings_, services_.processes, [this](const std::string& path) { ShowFileInfo(path); },
        parent);
  });
  Add(Tool::RunningWindows, Showing::Beside, [this](QWidget* parent) {
    const EventDrives drives(services_.drives, services_.disk);
    return new TfmMem(services_.machineSettings, services_.systemFacts, drives.Queries(),
                      services_.windows, services_.prompts, parent);
  });
  Add(Tool::Craps, Showing::Fresh,
      [this](QWidget* parent) { return new TfmGame(game_, services_.prompts, parent); });
}

WindowHub::~WindowHub() = default;

void WindowHub::Add(Tool tool, Showing showing, std::function<QWidget*(QWidget*)> make) {
  entries_[tool] = Entry{showing, std::move(make), {}, false, {}};
}

void WindowHub::SetMainWindow(QWidget* main, MonitorSettings* settings,
                              std::function<char()> driveLetter) {
  main_ = main;
  settings_ = settings;
  driveLetter_ = std::move(driveLetter);
  fileInfo_ = new TFileInfo(services_.version, services_.ownPath, main);
}

void WindowHub::ShowFileInfo(const std::string& path) {
  if (fileInfo_ == nullptr) {
    return;
  }
  fileInfo_->InfoFileName = path;
  fileInfo_->exec();
}

bool WindowHub::Available(Tool tool) const {
  return entries_.count(tool) != 0;
}

QWidget* WindowHub::Window(Tool tool) const {
  const auto it = entries_.find(tool);
  return it == entries_.end() ? nullptr : it->second.window.data();
}

void WindowHub::MarkOpened(Tool tool) {
  switch (tool) {
    case Tool::AllDisks:
      opened_.allDisks = true;
      break;
    case Tool::DirectorySpace:
      opened_.directorySpace = true;
      break;
    case Tool::DirectoryTree:
      opened_.directoryTree = true;
      break;
    case Tool::FileSearch:
      opened_.fileSearch = true;
      break;
    case Tool::ProcessTree:
      opened_.processTree = true;
      break;
    case Tool::RunningWindows:
      opened_.runningWindows = true;
      break;
    case Tool::Craps:
      break;
  }
}

QPoint WindowHub::BesideMain(const QWidget& window) const {
  const QRect mainFrame = main_->frameGeometry();
  // Before its first showing a window has no frame yet: count the main
  // window's, which the window manager gives it too.
  const QSize frame = window.size() + (mainFrame.size() - main_->size());
  constexpr int kGap = 8;
  const QPoint right(mainFrame.x() + mainFrame.width() + kGap, mainFrame.y());
  const QScreen* screen = main_->screen();
  if (screen == nullptr) {
    return right;
  }
  // On the right, else on the left, else below or above the main window;
  // where none has room (a small screen), the one of them that, pushed
  // inside the screen, hides the least of the main window.
  const QRect free = screen->availableGeometry();
  const QPoint left(mainFrame.x() - kGap - frame.width(), mainFrame.y());
  const QPoint below(mainFrame.x(), mainFrame.y() + mainFrame.height() + kGap);
  const QPoint above(mainFrame.x(), mainFrame.y() - kGap - frame.height());
  const QPoint places[] = {right, left, below, above};
  for (const QPoint& place : places) {
    if (free.contains(QRect(place, frame))) {
      return place;
    }
  }
  const auto inside = [&](const QPoint& place) {
    return QPoint(
        std::clamp(place.x(), free.left(), std::max(free.left(), free.right() + 1 - frame.width())),
        std::clamp(place.y(), free.top(),
                   std::max(free.top(), free.bottom() + 1 - frame.height())));
  };
  const auto hidden = [&](const QPoint& place) {
    const QRect over = QRect(place, frame).intersected(mainFrame);
    return over.isEmpty() ? 0 : over.width() * over.height();
  };
  QPoint best = inside(right);
  for (const QPoint& place : places) {
    if (hidden(inside(place)) < hidden(best)) {
      best = inside(place);
    }
  }
  return best;
}

void WindowHub::Open(Tool tool) {
  const auto it = entries_.find(tool);
  if (it == entries_.end() || main_ == nullptr) {
    return;
  }
  Entry& entry = it->second;
  if (entry.showing == Showing::Fresh) {
    // A new window each time, modal while the main window stays visible.
    const std::unique_ptr<QWidget> window(entry.make(main_));
    if (auto* dialog = qobject_cast<QDialog*>(window.get())) {
      dialog->exec();
    }
    return;
  }
  if (entry.window == nullptr) {
    entry.window = entry.make(main_);
  }
  MarkOpened(tool);
  QWidget* window = entry.window;
  if (entry.showing == Showing::Beside) {
    // Not modal: beside the main window, which stays visible, as far as the
    // screen lets it. A place the user moved it to is kept.
    // A window manager may shift a placed window by its frame; a move
    // further than that was the user's.
    constexpr int kSettle = 40;
    if (!entry.placed || (window->pos() - entry.placedAt).manhattanLength() <= kSettle) {
      window->move(BesideMain(*window));
      entry.placed = true;
      entry.placedAt = window->pos();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return;
  }
  main_->hide();
  if (auto* dialog = qobject_cast<QDialog*>(window)) {
    dialog->exec();
  }
  if (main_ != nullptr) {
    main_->show();
  }
}

}  // namespace zub
