#include "files/TreeFlow.h"

#include <mutex>
#include <vector>

#include "files/DirectoryScan.h"

namespace zub {

// The worker scans into a tree of its own, without a lock; what it made since
// it last published waits here for the window's tick. Publishing at each new
// node (and every few thousand files, for the totals) keeps the lock off the
// walk's path for almost every file.
struct TreeFlow::ScanShare {
  struct Node {
    int level;
    std::string text;
  };
  std::mutex lock;
  std::vector<Node> made;  // under lock
  TreeScanState state;     // under lock
};

class TreeFlow::PublishingScan {
 public:
  explicit PublishingScan(ScanShare& share) : share_(share) {}

  bool Visit(const std::string& directory, const FileEntry& entry) {
    const bool goOn = scan_.Visit(directory, entry);
    if (static_cast<std::int32_t>(tree_.NodeCount()) > published_ ||
        ++unpublished_ >= kFilesPerPublish) {
      Publish();
    }
    return goOn;
  }

  void Finish() {
    scan_.Finish();
    Publish();
  }

 private:
  static constexpr int kFilesPerPublish = 4096;

  void Publish() {
    const auto count = static_cast<std::int32_t>(tree_.NodeCount());
    const std::lock_guard<std::mutex> hold(share_.lock);
    for (std::int32_t node = published_; node < count; ++node) {
      share_.made.push_back({tree_.Level(node), std::string(tree_.Text(node))});
    }
    share_.state = scan_.State();
    published_ = count;
    unpublished_ = 0;
  }

  ScanShare& share_;
  DirectoryTree tree_;
  TreeScan scan_{tree_};
  std::int32_t published_ = 0;
  int unpublished_ = 0;
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
    PublishingScan publishing(*scan);
    // An empty start (a drive gone) is no directory, never the working one.
    if (!start.empty()) {
      WalkDirectoryTree(
          watched, start, "*.*",
          [&publishing, &state](const std::string& directory, const FileEntry& entry) {
            return !state.StopRequested() && publishing.Visit(directory, entry);
          });
    }
    publishing.Finish();
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
  std::vector<ScanShare::Node> made;
  {
    // While the walk runs, a lock it holds just now is left for the next
    // tick: waiting for it could keep the window from its events.
    std::unique_lock<std::mutex> hold(scan_->lock, std::defer_lock);
    if (!(final ? (hold.lock(), true) : hold.try_lock())) {
      return;
    }
    std::swap(made, scan_->made);
    state_ = scan_->state;
  }
  const std::size_t first = tree_.NodeCount();
  for (const ScanShare::Node& node : made) {
    tree_.AddLevelNode(node.level + 1, node.text);
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
