#include "files/FileSearch.h"

#include "files/DirectoryScan.h"

namespace zub {

bool IsDriveRoot(const std::vector<DriveInfo>& drives, const std::string& directory) {
  std::string path = directory;
  while (path.size() > 1 && path.back() == '/') {
    path.pop_back();
  }
  for (const DriveInfo& drive : drives) {
    if (drive.mountPoint == path) {
      return true;
    }
  }
  return false;
}

bool AsksWholeDrive(bool driveRoot, const std::string& mask) {
  return driveRoot && mask.size() < 4;
}

void ClearSearch(SearchRows& rows) {
  rows.total = 0;
  rows.grid.ClearCells();
  rows.grid.SetRowCount(0);
  rows.grid.Compact();
}

void AddSearchRow(SearchRows& rows, const std::string& directory, const FileEntry& entry) {
  // Every path here holds a name after its directory, so the rule that
  // stopped the walk on texts of 3 characters or fewer never applies.
  rows.grid.AppendRow(directory, entry.name, entry.size, true);
  rows.total += entry.size;
}

namespace {

class SearchControl : public WalkControl {
 public:
  SearchControl(SearchRows& rows, SearchFlags& flags, const Pump& pump, std::mutex* lock)
      : rows_(rows), flags_(flags), pump_(pump), lock_(lock) {}
  void EnteringDirectory(const std::string&) override {
    flags_.searchBusy = true;
    if (lock_ != nullptr) {
      const std::lock_guard<std::mutex> hold(*lock_);
      rows_.grid.SetNumbered(0, true);
    } else {
      rows_.grid.SetNumbered(0, true);
    }
  }
  bool ShouldStop() override {
    if (pump_) {
      pump_();
    }
    return flags_.cancelRequested;
  }

 private:
  SearchRows& rows_;
  SearchFlags& flags_;
  const Pump& pump_;
  std::mutex* lock_;
};

class StoppableDirectory : public OpenDirectory {
 public:
  StoppableDirectory(std::unique_ptr<OpenDirectory> inner, const std::atomic<bool>& stop)
      : inner_(std::move(inner)), stop_(stop) {}
  DirectoryId Id() const override { return inner_->Id(); }
  bool ReadAll(std::vector<RawEntry>& out) override {
    if (stop_) {
      out.clear();
      return false;
    }
    return inner_->ReadAll(out);
  }
  std::optional<EntryStat> Stat(const std::string& name) override { return inner_->Stat(name); }
  MountFacts Mount() const override { return inner_->Mount(); }
  std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) override {
    OpenFailure why = OpenFailure::None;
    return TryOpenChild(name, why);
  }
  std::unique_ptr<OpenDirectory> TryOpenChild(const std::string& name, OpenFailure& why) override {
    why = OpenFailure::Unavailable;
    if (stop_) {
      return nullptr;
    }
    std::unique_ptr<OpenDirectory> child = inner_->TryOpenChild(name, why);
    return child ? std::make_unique<StoppableDirectory>(std::move(child), stop_) : nullptr;
  }

 private:
  std::unique_ptr<OpenDirectory> inner_;
  const std::atomic<bool>& stop_;
};

}  // namespace

std::unique_ptr<OpenDirectory> StoppableSource::Open(const std::string& path) {
  if (stop_) {
    return nullptr;
  }
  std::unique_ptr<OpenDirectory> dir = inner_.Open(path);
  return dir ? std::make_unique<StoppableDirectory>(std::move(dir), stop_) : nullptr;
}

SearchEnd SearchWalk(DirectorySource& source, const std::string& start, const std::string& mask,
                     SearchRows& rows, SearchFlags& flags, const Pump& pump, std::mutex* lock) {
  SearchControl control(rows, flags, pump, lock);
  // The start directory is entered even when it cannot be read; an empty
  // one (a drive gone) is no directory at all, never the working directory.
  control.EnteringDirectory(start);
  if (!start.empty()) {
    WalkDirectoryTree(
        source, start, mask,
        [&](const std::string& directory, const FileEntry& entry) {
          if (lock != nullptr) {
            const std::lock_guard<std::mutex> hold(*lock);
            AddSearchRow(rows, directory, entry);
          } else {
            AddSearchRow(rows, directory, entry);
          }
          return true;
        },
        &control);
  }
  flags.searchBusy = false;
  if (flags.cancelRequested) {
    flags.cancelRequested = false;
    return SearchEnd::Cancelled;
  }
  return SearchEnd::Finished;
}

SearchEnd SearchSort(FileGrid& grid, SortKey key, SortDirection order, SearchFlags& flags,
                     const Pump& pump) {
  flags.searchBusy = true;
  const bool finished = SortGrid(grid, key, order, grid.RowCount(), [&] {
    if (pump) {
      pump();
    }
    return flags.cancelRequested.load();
  });
  flags.searchBusy = false;
  if (!finished) {
    flags.cancelRequested = false;
    return SearchEnd::Cancelled;
  }
  return SearchEnd::Finished;
}

std::string SearchTotalText(std::int64_t total) {
  return " Total space " + std::to_string(MbFigure(total)) + " Mb";
}

bool RunSearch(DirectorySource& source, const std::vector<DriveInfo>& drives, Prompts& prompts,
               const std::string& start, const std::string& mask, SearchRows& rows,
               SearchFlags& flags, const Pump& pump,
               const std::function<void(const std::string&)>& panel) {
  if (AsksWholeDrive(IsDriveRoot(drives, start), mask) &&
      prompts.Ask(kWholeDriveQuestion, false) != Answer::Yes) {
    return false;
  }
  flags.cancelRequested = false;
  flags.searchBusy = false;
  ClearSearch(rows);
  panel(kScanningText);
  if (SearchWalk(source, start, mask, rows, flags, pump) == SearchEnd::Cancelled) {
    prompts.ShowMessage(kSearchCancelled);
  }
  panel(kSortingText);
  if (SearchSort(rows.grid, SortKey::skSizeText, SortDirection::Descending, flags, pump) ==
      SearchEnd::Cancelled) {
    prompts.ShowMessage(kSortCancelled);
  }
  panel(SearchTotalText(rows.total));
  return true;
}

}  // namespace zub
