#include "files/SearchFlow.h"

#include <mutex>
#include <utility>

namespace zub {

// What the walk's worker hands over: rows found since the last batch.
struct SearchFlow::WalkShare {
  std::mutex lock;
  RowBatch rows;
  std::int64_t total = 0;  // of `rows`
  SearchEnd end = SearchEnd::Finished;
};

SearchFlow::SearchFlow(DirectorySource& source, Prompts& prompts, SearchRows& rows, FlowView& view,
                       FlowClock clock, WorkLimits limits)
    : source_(source),
      prompts_(prompts),
      rows_(rows),
      view_(view),
      batches_(clock),
      work_(limits, clock) {}

SearchFlow::~SearchFlow() = default;

bool SearchFlow::Begin(const std::vector<DriveInfo>& drives, const std::string& start,
                       const std::string& mask) {
  if (step_ != Step::Idle || (AsksWholeDrive(IsDriveRoot(drives, start), mask) &&
                              prompts_.Ask(kWholeDriveQuestion, false) != Answer::Yes)) {
    return false;
  }
  flags_->cancelRequested = false;
  flags_->searchBusy = false;
  closing_ = false;
  escaped_ = false;
  unanswered_.clear();
  ClearSearch(rows_);
  rows_.grid.SetNumbered(0, true);
  view_.GridReset();
  view_.ShowPanel(kScanningText);
  view_.FocusGrid();

  walk_ = std::make_shared<WalkShare>();
  flags_->searchBusy = true;
  batches_.Restart();
  work_.Start(WorkKind::Reading,
              [walk = walk_, flags = flags_, &source = source_, start, mask](WorkState& state) {
                WatchedSource watched(source, state);
                const SearchEnd end = SearchWalkInto(
                    watched, start, mask, *flags,
                    [&walk](const std::string& directory, const FileEntry& entry) {
                      const std::lock_guard<std::mutex> hold(walk->lock);
                      walk->rows.Add(directory, entry.name, entry.size);
                      walk->total += entry.size;
                    },
                    {}, [&state] { return state.StopRequested(); });
                const std::lock_guard<std::mutex> hold(walk->lock);
                walk->end = end;
              });
  step_ = Step::Walking;
  return true;
}

bool SearchFlow::BeginSort(SortKey key, SortDirection order) {
  if (step_ != Step::Idle) {
    return false;
  }
  closing_ = false;
  StartSort(key, order, Step::Sorting);
  return true;
}

bool SearchFlow::Tick() {
  switch (step_) {
    case Step::Idle:
      return false;
    case Step::Walking: {
      const LongWork::Status status = work_.Poll();
      if (status == LongWork::Status::Running) {
        if (batches_.Due()) {
          TakeRows(false);
        }
        return true;
      }
      WalkEnded(status);
      break;
    }
    case Step::SortingFound:
    case Step::Sorting:
      if (work_.Poll() == LongWork::Status::Running) {
        return true;
      }
      SortEnded();
      break;
  }
  return step_ != Step::Idle;
}

void SearchFlow::Escape() {
  // Escape counts only while a walk or a sort runs.
  if (step_ != Step::Idle && flags_->searchBusy) {
    flags_->cancelRequested = true;
    escaped_ = escaped_ || step_ == Step::Walking;
    work_.Stop();
  }
}

void SearchFlow::Close() {
  if (step_ != Step::Idle) {
    closing_ = true;
    work_.Stop();
  }
}

void SearchFlow::TakeRows(bool final) {
  RowBatch batch;
  std::int64_t total = 0;
  {
    // While the walk runs, a lock it holds just now is left for the next
    // tick: waiting for it could keep the window from its events.
    std::unique_lock<std::mutex> hold(walk_->lock, std::defer_lock);
    if (!(final ? (hold.lock(), true) : hold.try_lock())) {
      return;
    }
    std::swap(batch, walk_->rows);
    total = std::exchange(walk_->total, 0);
  }
  if (batch.Empty()) {
    return;
  }
  rows_.total += total;
  view_.GridAppended(rows_.grid.Append(std::move(batch), true));
}

void SearchFlow::WalkEnded(LongWork::Status status) {
  SearchEnd end = SearchEnd::Cancelled;
  if (status == LongWork::Status::Finished) {
    TakeRows(true);
    end = walk_->end;
  } else {
    // The worker left behind keeps its flags and rows; nothing of it is read again.
    unanswered_ = work_.Unanswered();
    flags_ = std::make_shared<SearchFlags>();
    end = escaped_ ? SearchEnd::Cancelled : SearchEnd::Finished;
  }
  walk_.reset();
  flags_->searchBusy = false;
  flags_->cancelRequested = false;
  if (closing_) {
    view_.ShowPanel(SearchTotalText(rows_.total));
    step_ = Step::Idle;
    return;
  }
  if (end == SearchEnd::Cancelled) {
    prompts_.ShowMessage(kSearchCancelled);
  }
  view_.ShowPanel(kSortingText);
  StartSort(SortKey::skSizeText, SortDirection::Descending, Step::SortingFound);
}

void SearchFlow::StartSort(SortKey key, SortDirection order, Step step) {
  step_ = step;
  flags_->searchBusy = true;
  view_.FocusGrid();
  const std::size_t n = rows_.grid.RowCount();
  if (n < 2 || closing_) {  // closing_: closed as the sort began
    SortEnded();
    return;
  }
  sort_.Start(work_, rows_.grid, key, order, n,
              [flags = flags_] { return flags->cancelRequested.load(); });
}

void SearchFlow::SortEnded() {
  const bool finished = sort_.Finish(rows_.grid);
  view_.GridReset();
  flags_->searchBusy = false;
  flags_->cancelRequested = false;
  if (!finished && !closing_) {
    prompts_.ShowMessage(kSortCancelled);
  }
  if (step_ == Step::SortingFound) {
    view_.ShowPanel(unanswered_.empty() ? SearchTotalText(rows_.total)
                                        : NotAnsweringText(unanswered_));
  }
  step_ = Step::Idle;
}

}  // namespace zub
