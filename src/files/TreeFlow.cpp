#include "files/TreeFlow.h"

#include <mutex>

#include "files/DirectoryScan.h"

namespace zub {

// The worker's own tree and scan, copied from under the lock.
struct TreeFlow::ScanShare {
  std::mutex lock;
  DirectoryTree tree;
  TreeScan scan{tree};
};

TreeFlow::TreeFlow(DirectorySource& source, DirectoryTree& tree, FlowView& view, FlowClock clock,
                   WorkLimits limits)
    : source_(source), tree_(tree), view_(view), batches_(clock), work_(limits, clock) {}

TreeFlow::~TreeFlow() = default;

bool TreeFlow::BeginExecute(const std::string& start) {
  if (step_ != Step::Idle) {
    return false;
  }
  tree_.Clear();
  state_ = TreeScanState{};
  view_.TreeReset();
  view_.ShowTree(true);
  scan_ = std::make_shared<ScanShare>();
  batches_.Restart();
  work_.Start(WorkKind::Reading, [scan = scan_, &source = source_, start](WorkState& state) {
    WatchedSource watched(source, state);
    // An empty start (a drive gone) is no directory, never the working one.
    if (!start.empty()) {
      WalkDirectoryTree(watched, start, "*.*",
                        [&scan, &state](const std::string& directory, const FileEntry& entry) {
                          if (state.StopRequested()) {
                            return false;
                          }
                          const std::lock_guard<std::mutex> hold(scan->lock);
                          return scan->scan.Visit(directory, entry);
                        });
    }
    const std::lock_guard<std::mutex> hold(scan->lock);
    scan->scan.Finish();
  });
  step_ = Step::Scanning;
  return true;
}

bool TreeFlow::BeginSort() {
  if (step_ != Step::Idle) {
    return false;
  }
  sorted_ = std::make_shared<DirectoryTree>(tree_);
  work_.Start(WorkKind::Computing,
              [sorted = sorted_](WorkState&) { sorted->SortSiblings(TreeOrder()); });
  step_ = Step::Sorting;
  return true;
}

bool TreeFlow::Tick() {
  if (step_ == Step::Idle) {
    return false;
  }
  const LongWork::Status status = work_.Poll();
  if (status == LongWork::Status::Running) {
    if (step_ == Step::Scanning && batches_.Due()) {
      TakeNodes(false);
    }
    return true;
  }
  if (step_ == Step::Scanning) {
    ScanEnded(status);
  } else {
    if (status == LongWork::Status::Finished) {
      tree_ = std::move(*sorted_);
      view_.TreeReset();
      view_.TreeDone();
    }
    sorted_.reset();
  }
  step_ = Step::Idle;
  return false;
}

void TreeFlow::Escape() {
  work_.Stop();
}

void TreeFlow::Close() {
  work_.Stop();
}

void TreeFlow::TakeNodes(bool final) {
  const std::size_t first = tree_.NodeCount();
  {
    // While the walk runs, a lock it holds just now is left for the next
    // tick: waiting for it could keep the window from its events.
    std::unique_lock<std::mutex> hold(scan_->lock, std::defer_lock);
    if (!(final ? (hold.lock(), true) : hold.try_lock())) {
      return;
    }
    const DirectoryTree& made = scan_->tree;
    for (auto node = static_cast<std::int32_t>(first);
         node < static_cast<std::int32_t>(made.NodeCount()); ++node) {
      tree_.AddLevelNode(made.Level(node) + 1, made.Text(node));
    }
    state_ = scan_->scan.State();
  }
  if (tree_.NodeCount() > first) {
    view_.TreeAppended(first);
  }
}

void TreeFlow::ScanEnded(LongWork::Status status) {
  std::string panel;
  if (status == LongWork::Status::Finished) {
    TakeNodes(true);
    panel = TreePanelText(state_);
  } else {
    // Left behind: the tree ends with what was taken, as a stopped scan would.
    const std::size_t first = tree_.NodeCount();
    AddLastChild(tree_, state_);
    if (tree_.NodeCount() > first) {
      view_.TreeAppended(first);
    }
    panel = NotAnsweringText(work_.Unanswered());
  }
  scan_.reset();
  view_.ShowPanel(panel);
  view_.TreeDone();
}

}  // namespace zub
