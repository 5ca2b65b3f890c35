// The file search as a flow: the whole-drive question, "Scanning for files. ",
// the walk on a worker with its rows entering the grid a few times a second,
// the cancel message, "File list built sorting by size descending", the sort
// on a worker while the grid keeps its rows, the cancel message, the total.
// The sort commands run the same sort on their own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "files/FileFlow.h"
#include "files/FileSearch.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"
#include "ui/Prompts.h"

namespace zub {

class SearchFlow : public Flow {
 public:
  // Keeps references to everything; `rows` is the window's grid and total.
  SearchFlow(DirectorySource& source, Prompts& prompts, SearchRows& rows, FlowView& view,
             FlowClock clock = {}, WorkLimits limits = {});
  ~SearchFlow() override;

  // "Begin Search". False when the whole-drive question was answered No
  // (nothing changed) or a search or sort is running.
  bool Begin(const std::vector<DriveInfo>& drives, const std::string& start,
             const std::string& mask);
  // A sort command: the grid by `key` in `order`. False while busy.
  bool BeginSort(SortKey key, SortDirection order);

  bool Tick() override;
  void Escape() override;
  void Close() override;

  bool Running() const { return step_ != Step::Idle; }
  bool SearchBusy() const { return flags_->searchBusy; }
  bool CancelRequested() const { return flags_->cancelRequested; }
  // Workers given up on (a read that did not answer).
  int GivenUpCount() const { return work_.GivenUpCount(); }
  bool LeftBehindRunning() const { return work_.LeftBehindRunning(); }

 private:
  enum class Step { Idle, Walking, SortingFound, Sorting };
  struct WalkShare;

  // What the walk found since the last take; `final` once the walk has ended.
  void TakeRows(bool final);
  void WalkEnded(LongWork::Status status);
  void StartSort(SortKey key, SortDirection order, Step step);
  void SortEnded();
  void Finish();

  DirectorySource& source_;
  Prompts& prompts_;
  SearchRows& rows_;
  FlowView& view_;
  BatchTimer batches_;
  // Shared with the workers, which read the cancel at their cancel points.
  std::shared_ptr<SearchFlags> flags_ = std::make_shared<SearchFlags>();
  Step step_ = Step::Idle;
  bool closing_ = false;
  bool escaped_ = false;  // Escape reached the walk
  std::string unanswered_;
  std::shared_ptr<WalkShare> walk_;
  GridSort sort_;
  // Declared last, so gone first: it waits for a sort of the grid it reads.
  LongWork work_;
};

}  // namespace zub
