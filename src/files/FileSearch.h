// The file search as logic: the rows a search finds (a blank row 0, then one
// numbered row per file), its total, the whole-drive question, the sort
// menus' check marks, and the two cancel points of a search.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "files/FileEntry.h"
#include "files/FileGrid.h"
#include "files/SortGrid.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"
#include "ui/Prompts.h"

namespace zub {

inline constexpr const char* kSearchCaption = "Zub Search by Filename or Extension";
inline constexpr const char* kSearchHint =
    "Enter a Dos type file mask for example *.* for all files;  con*.sys for config.sys and "
    "config2.sys; default is *.*";
inline constexpr const char* kWholeDriveQuestion =
    "Doing an entire Drive may take a few minutes do you still wish to Continue?";
inline constexpr const char* kScanningText = "Scanning for files. ";
inline constexpr const char* kSortingText = "File list built sorting by size descending";
inline constexpr const char* kSearchCancelled = "Zub File Seach Cancelled";
inline constexpr const char* kSortCancelled = "Zub File Sort has been Cancelled";

// Whether `directory` is a drive's mount point (a drive root here).
bool IsDriveRoot(const std::vector<DriveInfo>& drives, const std::string& directory);
// The question comes for a drive root searched with a mask of under 4
// characters (empty, "*.*", "*").
bool AsksWholeDrive(bool driveRoot, const std::string& mask);

// The check marks of "Sort" (none at first) and "Sort Order" (descending).
class SortMenus {
 public:
  void Choose(SortKey key) { key_ = key; }
  void SetOrder(SortDirection order) { order_ = order; }
  bool IsChecked(SortKey key) const { return key_ == key; }
  bool IsChecked(SortDirection order) const { return order_ == order; }
  // skNameText when no key is checked.
  SortKey Key() const { return key_.value_or(SortKey::skNameText); }
  SortDirection Order() const { return order_; }

 private:
  std::optional<SortKey> key_;
  SortDirection order_ = SortDirection::Descending;
};

// Read by the interface thread while a walk or a sort runs elsewhere.
struct SearchFlags {
  std::atomic<bool> searchBusy{false};
  std::atomic<bool> cancelRequested{false};
};

// What a search has found.
struct SearchRows {
  FileGrid grid{GridKind::FileSearch};
  std::int64_t total = 0;
};

// Every cell " ", then only the blank row 0; the total back to 0.
void ClearSearch(SearchRows& rows);
// The file as the next row: its full path, its size, the row number.
void AddSearchRow(SearchRows& rows, const std::string& directory, const FileEntry& entry);

enum class SearchEnd { Finished, Cancelled };

// At every cancel point, on the thread doing the work (lets input through).
using Pump = std::function<void()>;

// Called once per file a search finds, with its directory (ending in "/").
using SearchSink = std::function<void(const std::string& directory, const FileEntry& entry)>;

// The walk of a search from `start` with `mask`: each matching file to
// `add`, busy on entering each directory, the cancel (or `stop`, when given)
// looked at between file entries. A cancel clears both flags.
SearchEnd SearchWalkInto(DirectorySource& source, const std::string& start, const std::string& mask,
                         SearchFlags& flags, const SearchSink& add, const Pump& pump,
                         const std::function<bool()>& stop = {});
// The same walk into `rows` (cleared by the caller).
SearchEnd SearchWalk(DirectorySource& source, const std::string& start, const std::string& mask,
                     SearchRows& rows, SearchFlags& flags, const Pump& pump);
// SortGrid over every row, the cancel looked at before each pass; busy while
// it runs. A cancel clears both flags.
SearchEnd SearchSort(FileGrid& grid, SortKey key, SortDirection order, SearchFlags& flags,
                     const Pump& pump);

// " Total space 40 Mb"
std::string SearchTotalText(std::int64_t total);

// A search end to end on the calling thread: the question, the walk, the
// messages, the size sort; panel texts go to `panel`. False when the
// question was answered No (nothing changed).
bool RunSearch(DirectorySource& source, const std::vector<DriveInfo>& drives, Prompts& prompts,
               const std::string& start, const std::string& mask, SearchRows& rows,
               SearchFlags& flags, const Pump& pump,
               const std::function<void(const std::string&)>& panel);

}  // namespace zub
