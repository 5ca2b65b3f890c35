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
  SearchControl(SearchFlags& flags, const Pump& pump, const std::function<bool()>& stop)
      : flags_(flags), pump_(pump), stop_(stop) {}
  void EnteringDirectory(const std::string&) override { flags_.searchBusy = true; }
  bool ShouldStop() override {
    if (pump_) {
      pump_();
    }
    return flags_.cancelRequested || (stop_ && stop_());
  }

 private:
  SearchFlags& flags_;
  const Pump& pump_;
  const std::function<bool()>& stop_;
};

}  // namespace

SearchEnd SearchWalkInto(DirectorySource& source, const std::string& start, const std::string& mask,
                         SearchFlags& flags, const SearchSink& add, const Pump& pump,
                         const std::function<bool()>& stop) {
  SearchControl control(flags, pump, stop);
  // The start directory is entered even when it cannot be read; an empty
  // one (a drive gone) is no directory at all, never the working directory.
  control.EnteringDirectory(start);
  if (!start.empty()) {
    WalkDirectoryTree(
        source, start, mask,
        [&add](const std::string& directory, const FileEntry& entry) {
          add(directory, entry);
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

SearchEnd SearchWalk(DirectorySource& source, const std::string& start, const std::string& mask,
                     SearchRows& rows, SearchFlags& flags, const Pump& pump) {
  rows.grid.SetNumbered(0, true);
  return SearchWalkInto(
      source, start, mask, flags,
      [&rows](const std::string& directory, const FileEntry& entry) {
        AddSearchRow(rows, directory, entry);
      },
      pump);
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
