// Long work on a worker thread while its window waits in a local loop that
// lets through painting and timers only, and Escape when asked: the window
// repaints and the desktop never sees a hung program.
#pragma once

#include <chrono>
#include <functional>

class QWidget;

namespace zub {

struct BusyOptions {
  // Escape pressed anywhere in the program while the work runs; nothing lets
  // Escape through.
  std::function<void()> onEscape;
  // The window asked to close while the work runs (the close is refused).
  std::function<void()> onClose;
  // Asked every few milliseconds; true stops waiting for work that does not
  // end (a read stuck in the kernel), which then runs on detached.
  std::function<bool()> giveUp;
};

struct BusyOutcome {
  bool finished = true;  // false: given up, still running
  // The longest the interface thread went without handling its events.
  std::chrono::milliseconds longestGap{0};
};

// Runs `work` on a new thread and waits for it. `work` must own or share
// everything it touches, since it may outlive the wait when given up.
BusyOutcome RunBusy(QWidget* window, std::function<void()> work, const BusyOptions& options);

}  // namespace zub
