// The long flows of the file windows (a search, a tree scan, a listing, a
// sort) as plain objects: a window's handler starts one, then drives it on
// the interface thread with ticks, Escape and a close until it ends, and
// shows what it reports through a FlowView.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "files/FileGrid.h"
#include "files/LongWork.h"
#include "files/SortGrid.h"

namespace zub {

// What a flow shows; the window renders it. Every call comes on the
// interface thread, from the flow's start or from a tick.
class FlowView {
 public:
  virtual ~FlowView() = default;
  virtual void ShowPanel(const std::string& text) { (void)text; }
  virtual void ShowCaption(const std::string& text) { (void)text; }
  // The grid's rows were replaced, cleared or put in another order.
  virtual void GridReset() {}
  // Rows from `first` to the end of the grid are new.
  virtual void GridAppended(std::size_t first) { (void)first; }
  virtual void FocusGrid() {}
  // The tree was replaced, cleared or put in another order.
  virtual void TreeReset() {}
  // Nodes from `first` on are new (the first of them may be the top node).
  virtual void TreeAppended(std::size_t first) { (void)first; }
  // The scan is over: the whole tree is to be shown expanded.
  virtual void TreeDone() {}
  // The tree (true) or the grid is to be shown.
  virtual void ShowTree(bool tree) { (void)tree; }
  // The directory chooser is to show `directory` (without reading it as a change).
  virtual void MoveChooser(const std::string& directory) { (void)directory; }
};

class Flow {
 public:
  virtual ~Flow() = default;
  // Every few tens of milliseconds while the flow runs; false once it has
  // ended (and at once when it is not running).
  virtual bool Tick() = 0;
  // The user pressed Escape.
  virtual void Escape() = 0;
  // The window is closing: end as soon as possible, asking and telling nothing.
  virtual void Close() = 0;
};

// How often results found by a worker are handed to the window: a few times
// a second, so that rows and nodes appear as they are found without costing
// the walk a signal per row.
inline constexpr std::chrono::milliseconds kBatchInterval{250};

// The clock of the flows and their runner (tests move it by hand).
using FlowClock = std::function<WorkClock::time_point()>;

// Whether a batch is due: true when `interval` has passed since the last one.
class BatchTimer {
 public:
  explicit BatchTimer(FlowClock clock, std::chrono::milliseconds interval = kBatchInterval)
      : clock_(std::move(clock)), interval_(interval) {}
  WorkClock::time_point Now() const { return clock_ ? clock_() : WorkClock::now(); }
  void Restart() { last_ = Now(); }
  bool Due() {
    const WorkClock::time_point now = Now();
    if (now - last_ < interval_) {
      return false;
    }
    last_ = now;
    return true;
  }

 private:
  FlowClock clock_;
  std::chrono::milliseconds interval_;
  WorkClock::time_point last_{};
};

// A sort of the shown grid on a worker: the grid keeps its rows and their
// order on screen until the sort is over, then takes the order it reached.
class GridSort {
 public:
  // SortGrid of the first `n` rows of `grid`, which must not change until
  // Finish; `cancel` is asked before each pass, on the worker.
  void Start(LongWork& work, const FileGrid& grid, SortKey key, SortDirection direction,
             std::size_t n, std::function<bool()> cancel);
  // Once the work has finished: the order goes into the grid. True when the
  // sort ran to its end.
  bool Finish(FileGrid& grid);

 private:
  struct Share;
  std::shared_ptr<Share> share_;
};

// The panel's text when a directory's read was given up on.
std::string NotAnsweringText(const std::string& directory);

}  // namespace zub
