// A directory's listing as a flow: its files read on a worker and entering
// the grid a few times a second, then sorted on a worker while the grid
// shows them as read; Escape keeps what was read. Also the plain sort of the
// grid as it stands.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "files/DirectoryScan.h"
#include "files/FileFlow.h"
#include "platform/DirectorySource.h"
#include "ui/Prompts.h"

namespace zub {

// The panel's text after a listing; nothing leaves the panel as it is.
using ListingPanel = std::function<std::optional<std::string>(const Listing&)>;

enum class ListingMode {
  Listing,
  // A line chosen in the tree: a directory gone is said in a message and
  // changes nothing; else the chooser moves there and the grid is shown.
  ChosenLine,
};

class ListingFlow : public Flow {
 public:
  // Keeps references to everything; `grid` is the window's grid.
  ListingFlow(DirectorySource& source, Prompts& prompts, FileGrid& grid, FlowView& view,
              FlowClock clock = {}, WorkLimits limits = {});
  ~ListingFlow() override;

  // ListDirectory of `directory`, sorted by `key` in `direction` when two or
  // more files were read. An empty directory (a drive gone) reads nothing and
  // keeps the caption. The panel then shows what `panel` says.
  bool BeginListing(const std::string& directory, SortKey key, SortDirection direction,
                    ListingPanel panel, ListingMode mode = ListingMode::Listing);
  // SortGrid of the grid's first `n` rows as they stand.
  bool BeginSort(SortKey key, SortDirection direction, std::size_t n);

  bool Tick() override;
  void Escape() override;
  void Close() override;

  bool Running() const { return step_ != Step::Idle; }
  // The last listing (the window's ListedDirectory, count and total).
  const Listing& Last() const { return listing_; }
  int GivenUpCount() const { return work_.GivenUpCount(); }
  bool LeftBehindRunning() const { return work_.LeftBehindRunning(); }

 private:
  enum class Step { Idle, Reading, Sorting };
  struct ReadShare;

  // The listing is real (the directory is there): it becomes the window's.
  void Show();
  // Files read since the last take; `final` once the read has ended.
  void TakeRows(bool final);
  void ReadEnded(LongWork::Status status);
  void End();

  DirectorySource& source_;
  Prompts& prompts_;
  FileGrid& grid_;
  FlowView& view_;
  BatchTimer batches_;
  Step step_ = Step::Idle;
  Listing listing_;
  Listing next_;  // the listing being read
  bool shown_ = false;
  SortKey key_ = SortKey::skSizeText;
  SortDirection direction_ = SortDirection::Descending;
  ListingPanel panel_;
  ListingMode mode_ = ListingMode::Listing;
  bool closing_ = false;
  bool listingRuns_ = false;  // a listing runs (else a sort command)
  std::string unanswered_;
  std::shared_ptr<ReadShare> read_;
  GridSort sort_;
  LongWork work_;
};

}  // namespace zub
