// The directory tree's long work as a flow: "Execute" walks on a worker and
// its nodes enter the window's tree a few times a second; Escape stops it
// with the directories walked so far and their totals. "Sort" orders a copy
// of the tree on a worker while the window shows the tree as it is.
#pragma once

#include <memory>
#include <string>

#include "files/DirectoryTree.h"
#include "files/FileFlow.h"
#include "platform/DirectorySource.h"

namespace zub {

class TreeFlow : public Flow {
 public:
  // Keeps references to everything; `tree` is the window's tree.
  TreeFlow(DirectorySource& source, DirectoryTree& tree, FlowView& view, FlowClock clock = {},
           WorkLimits limits = {});
  ~TreeFlow() override;

  bool BeginExecute(const std::string& start);
  bool BeginSort();

  bool Tick() override;
  void Escape() override;
  void Close() override;

  bool Running() const { return step_ != Step::Idle; }
  // What the last Execute saw (so far, while it runs).
  const TreeScanState& ScanState() const { return state_; }
  int GivenUpCount() const { return work_.GivenUpCount(); }
  bool LeftBehindRunning() const { return work_.LeftBehindRunning(); }

 private:
  enum class Step { Idle, Scanning, Sorting };
  struct ScanShare;
  // The worker's own scan, publishing what it made to the share.
  class PublishingScan;

  // Nodes made since the last take; `final` once the walk has ended.
  void TakeNodes(bool final);
  void ScanEnded(LongWork::Status status);

  DirectorySource& source_;
  DirectoryTree& tree_;
  FlowView& view_;
  BatchTimer batches_;
  Step step_ = Step::Idle;
  TreeScanState state_;
  std::shared_ptr<ScanShare> scan_;
  std::shared_ptr<DirectoryTree> sorted_;
  LongWork work_;
};

}  // namespace zub
