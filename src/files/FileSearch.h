// The file search as logic: the rows a search finds (a blank row 0, then one
// numbered row per file), its total, the whole-drive question, the sort
// menus' check marks, and the two cancel points of a search.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
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

// The walk from `start` with `mask` into `rows` (cleared by the caller):
// busy on entering each directory, the cancel looked at between file
// entries. `lock`, when given, is held while a row is added, so another
// thread may copy what was found so far. A cancel clears both flags.
SearchEnd SearchWalk(DirectorySource& source, const std::string& start, const std::string& mask,
                     SearchRows& rows, SearchFlags& flags, const Pump& pump,
                     std::mutex* lock = nullptr);
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

// A source whose directories read as empty and unopenable once `stop` is
// set, so a walk that has found no cancel point yet still ends soon.
class StoppableSource : public DirectorySource {
 public:
  StoppableSource(DirectorySource& inner, const std::atomic<bool>& stop)
      : inner_(inner), stop_(stop) {}
  std::unique_ptr<OpenDirectory> Open(const std::string& path) override;
  PathState StatPath(const std::string& path) override { return inner_.StatPath(path); }
  std::size_t OpenBudget() override { return inner_.OpenBudget(); }
  bool ConcurrentReads() const override { return inner_.ConcurrentReads(); }
  bool Stopped() const override { return stop_; }

 private:
  DirectorySource& inner_;
  const std::atomic<bool>& stop_;
};

}  // namespace zub
