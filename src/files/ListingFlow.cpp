#include "files/ListingFlow.h"

#include <mutex>
#include <utility>
#include <vector>

#include "files/DirectoryTree.h"

namespace zub {

// What the reading worker hands over: files read since the last batch.
struct ListingFlow::ReadShare {
  std::mutex lock;
  std::vector<FileEntry> files;
  bool readable = false;
  bool missing = false;
};

ListingFlow::ListingFlow(DirectorySource& source, Prompts& prompts, FileGrid& grid, FlowView& view,
                         FlowClock clock, WorkLimits limits)
    : source_(source),
      prompts_(prompts),
      grid_(grid),
      view_(view),
      batches_(clock),
      work_(limits, clock) {}

ListingFlow::~ListingFlow() = default;

bool ListingFlow::BeginListing(const std::string& directory, SortKey key, SortDirection direction,
                               ListingPanel panel, ListingMode mode) {
  if (step_ != Step::Idle) {
    return false;
  }
  next_ = Listing{};
  next_.directory = directory;
  if (!directory.empty()) {
    next_.caption = "Directory " + directory;
  }
  shown_ = false;
  key_ = key;
  direction_ = direction;
  panel_ = std::move(panel);
  mode_ = mode;
  closing_ = false;
  listingRuns_ = true;
  unanswered_.clear();
  read_ = std::make_shared<ReadShare>();
  batches_.Restart();
  work_.Start(
      WorkKind::Reading, [read = read_, &source = source_, directory, mode](WorkState& state) {
        WatchedSource watched(source, state);
        if (mode == ListingMode::ChosenLine && NodeDirectoryMissing(watched.StatPath(directory))) {
          const std::lock_guard<std::mutex> hold(read->lock);
          read->missing = true;
          return;
        }
        const std::unique_ptr<OpenDirectory> dir = watched.Open(directory);
        if (!dir) {
          return;
        }
        std::vector<RawEntry> entries;
        const bool whole = dir->ReadAll(entries);
        {
          const std::lock_guard<std::mutex> hold(read->lock);
          read->readable = whole || !entries.empty();
        }
        for (const RawEntry& raw : entries) {
          if (state.StopRequested()) {
            return;
          }
          if (std::optional<FileEntry> file = ListedFile(*dir, raw)) {
            const std::lock_guard<std::mutex> hold(read->lock);
            read->files.push_back(std::move(*file));
          }
        }
      });
  step_ = Step::Reading;
  return true;
}

bool ListingFlow::BeginSort(SortKey key, SortDirection direction, std::size_t n) {
  if (step_ != Step::Idle) {
    return false;
  }
  closing_ = false;
  listingRuns_ = false;
  if (std::min(n, grid_.RowCount()) < 2) {
    return true;
  }
  sort_.Start(work_, grid_, key, direction, n, {});
  step_ = Step::Sorting;
  return true;
}

bool ListingFlow::Tick() {
  if (step_ == Step::Idle) {
    return false;
  }
  const LongWork::Status status = work_.Poll();
  if (status == LongWork::Status::Running) {
    if (step_ == Step::Reading && batches_.Due()) {
      TakeRows(false);
    }
    return true;
  }
  if (step_ == Step::Reading) {
    ReadEnded(status);
  } else {
    sort_.Finish(grid_);
    view_.GridReset();
    End();
  }
  return step_ != Step::Idle;
}

void ListingFlow::Escape() {
  work_.Stop();
}

void ListingFlow::Close() {
  closing_ = true;
  work_.Stop();
}

void ListingFlow::Show() {
  if (shown_) {
    return;
  }
  shown_ = true;
  listing_ = next_;
  if (mode_ == ListingMode::ChosenLine) {
    view_.MoveChooser(listing_.directory);
    view_.ShowTree(false);
  }
}

void ListingFlow::TakeRows(bool final) {
  std::vector<FileEntry> files;
  {
    // While the read runs, a lock it holds just now is left for the next
    // tick: waiting for it could keep the window from its events.
    std::unique_lock<std::mutex> hold(read_->lock, std::defer_lock);
    if (!(final ? (hold.lock(), true) : hold.try_lock())) {
      return;
    }
    std::swap(files, read_->files);
  }
  if (files.empty()) {
    return;
  }
  Show();
  const bool numbered = grid_.Kind() == GridKind::DirectorySpace;
  const bool first = listing_.count == 0;
  const std::size_t firstRow = grid_.RowCount();
  for (const FileEntry& file : files) {
    if (listing_.count == 0) {
      // The first file makes the grid one row long: no row of an earlier
      // listing survives below the new ones.
      grid_.ClearCells();
      grid_.SetRowCount(1);
      grid_.FillRow(0, file.name, file.size);
      grid_.SetNumbered(0, numbered);
    } else {
      grid_.AppendRow({}, file.name, file.size, numbered);
    }
    ++listing_.count;
    listing_.total += file.size;
  }
  if (first) {
    view_.GridReset();
  } else {
    view_.GridAppended(firstRow);
  }
}

void ListingFlow::ReadEnded(LongWork::Status status) {
  if (status == LongWork::Status::Finished) {
    if (read_->missing) {
      read_.reset();
      step_ = Step::Idle;
      listingRuns_ = false;
      if (!closing_) {
        prompts_.ShowMessage(NoSuchDirectoryText(next_.directory));
      }
      return;
    }
    TakeRows(true);
    next_.readable = read_->readable;
  } else {
    unanswered_ = work_.Unanswered();
  }
  read_.reset();
  Show();
  listing_.readable = next_.readable;
  if (listing_.count == 0) {
    // No file: the rows of the last listing stay, every cell cleared.
    grid_.ClearCells();
    view_.GridReset();
  } else if (listing_.count > 1 && !closing_) {
    sort_.Start(work_, grid_, key_, direction_, static_cast<std::size_t>(listing_.count), {});
    step_ = Step::Sorting;
    return;
  }
  End();
}

void ListingFlow::End() {
  step_ = Step::Idle;
  if (!listingRuns_) {
    return;
  }
  listingRuns_ = false;
  if (!listing_.caption.empty()) {
    view_.ShowCaption(listing_.caption);
  }
  if (!unanswered_.empty()) {
    view_.ShowPanel(NotAnsweringText(unanswered_));
  } else if (panel_) {
    if (const std::optional<std::string> text = panel_(listing_)) {
      view_.ShowPanel(*text);
    }
  }
}

}  // namespace zub
