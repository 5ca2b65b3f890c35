#include "files/DirectoryScan.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

namespace zub {
namespace {

bool NeedsStat(EntryKind kind) {
  return kind == EntryKind::Regular || kind == EntryKind::Link || kind == EntryKind::Unknown;
}

// A file entry for `raw`, stat-ed when its size is needed; nothing when it
// turns out to be a directory or vanished before it could be asked about.
std::optional<FileEntry> FileOf(OpenDirectory& dir, const RawEntry& raw) {
  FileEntry entry{raw.name, 0, 0};
  if (!NeedsStat(raw.kind)) {
    entry.attributes = AttributesOf(raw.name, 0, false);
    return entry;
  }
  const std::optional<EntryStat> st = dir.Stat(raw.name);
  if (!st) {
    if (raw.kind == EntryKind::Unknown) {
      return std::nullopt;
    }
    // Listed but not askable (a directory we may read but not search):
    // shown with no size rather than hidden.
    entry.attributes = AttributesOf(raw.name, 0, false);
    return entry;
  }
  if (st->kind == EntryKind::Directory) {
    return std::nullopt;
  }
  entry.size = st->size;
  entry.attributes = AttributesOf(raw.name, st->mode, false);
  return entry;
}

bool IsHidden(const std::string& name) {
  return !name.empty() && name[0] == '.';
}

struct Frame {
  std::unique_ptr<OpenDirectory> dir;  // closed when too many are open
  DirectoryId id;
  std::string name;  // in its parent
  std::size_t pathLength = 0;
  std::vector<std::string> subdirectories;
  std::size_t next = 0;
};

class Walk {
 public:
  Walk(const std::string& mask, const FileVisitor& visitor, WalkControl* control)
      : mask_(mask), visitor_(visitor), control_(control) {}

  bool Run(DirectorySource& source, std::string start) {
    path_ = std::move(start);
    std::unique_ptr<OpenDirectory> root = source.Open(path_);
    if (!root) {
      return true;  // unreadable: nothing to visit
    }
    device_ = root->Id().device;
    frames_.push_back({std::move(root), {}, "", path_.size(), {}, 0});
    frames_.back().id = frames_.back().dir->Id();
    ++open_;
    if (!Files(frames_.back())) {
      return false;
    }
    while (!frames_.empty()) {
      Frame& top = frames_.back();
      if (top.next == top.subdirectories.size()) {
        if (top.dir) {
          --open_;
        }
        frames_.pop_back();
        lowestOpen_ = std::min(lowestOpen_, frames_.size());
        if (!frames_.empty()) {
          path_.resize(frames_.back().pathLength);
        }
        continue;
      }
      const std::string& name = top.subdirectories[top.next++];
      if (!top.dir && !Reopen(frames_.size() - 1)) {
        top.next = top.subdirectories.size();
        continue;
      }
      std::unique_ptr<OpenDirectory> child = top.dir->OpenChild(name);
      if (!child || child->Id().device != device_) {
        continue;
      }
      path_.append(name).push_back('/');
      const DirectoryId id = child->Id();
      frames_.push_back({std::move(child), id, name, path_.size(), {}, 0});
      ++open_;
      KeepOpenBounded();
      if (!Files(frames_.back())) {
        return false;
      }
    }
    return true;
  }

 private:
  // The file pass and the gathering of the subdirectories, from one enumeration.
  bool Files(Frame& frame) {
    if (control_ != nullptr) {
      control_->EnteringDirectory(path_);
    }
    frame.dir->ReadAll(entries_);
    for (const RawEntry& raw : entries_) {
      EntryKind kind = raw.kind;
      std::optional<EntryStat> st;
      if (kind == EntryKind::Unknown) {
        st = frame.dir->Stat(raw.name);
        if (!st) {
          continue;  // vanished
        }
        kind = st->kind;
      }
      const bool matches = MaskMatches(mask_, raw.name);
      if (kind == EntryKind::Directory) {
        if (!IsHidden(raw.name)) {
          frame.subdirectories.push_back(raw.name);
        }
      } else if (matches) {
        FileEntry entry{raw.name, 0, AttributesOf(raw.name, 0, false)};
        if (kind != EntryKind::Other) {
          if (!st) {
            st = frame.dir->Stat(raw.name);
          }
          if (st && st->kind == EntryKind::Directory) {
            continue;  // replaced by a directory meanwhile
          }
          if (st) {
            entry.size = st->size;
            entry.attributes = AttributesOf(raw.name, st->mode, false);
          }
        }
        if (!visitor_(path_, entry)) {
          return false;
        }
      }
      if (matches && control_ != nullptr && control_->ShouldStop()) {
        return false;
      }
    }
    return true;
  }

  // Opens frame `index` again from its nearest open ancestor, checking that
  // every directory on the way is still the one the walk entered.
  bool Reopen(std::size_t index) {
    std::size_t from = index;
    while (!frames_[from].dir) {
      --from;
    }
    for (std::size_t at = from + 1; at <= index; ++at) {
      std::unique_ptr<OpenDirectory> dir = frames_[at - 1].dir->OpenChild(frames_[at].name);
      if (!dir || !(dir->Id() == frames_[at].id)) {
        return false;
      }
      frames_[at].dir = std::move(dir);
      ++open_;
      lowestOpen_ = std::min(lowestOpen_, at);
      KeepOpenBounded();
    }
    return true;
  }

  // Closes the shallowest open directories (never the start, never the
  // deepest) until the bound holds.
  void KeepOpenBounded() {
    while (open_ > kWalkOpenDirectories) {
      lowestOpen_ = std::max<std::size_t>(lowestOpen_, 1);
      while (lowestOpen_ + 1 < frames_.size() && !frames_[lowestOpen_].dir) {
        ++lowestOpen_;
      }
      if (lowestOpen_ + 1 >= frames_.size()) {
        return;
      }
      frames_[lowestOpen_].dir.reset();
      --open_;
    }
  }

  const std::string& mask_;
  const FileVisitor& visitor_;
  WalkControl* control_;
  std::string path_;
  std::uint64_t device_ = 0;
  std::vector<Frame> frames_;
  std::vector<RawEntry> entries_;
  std::size_t open_ = 0;
  std::size_t lowestOpen_ = 1;
};

}  // namespace

Listing ListDirectory(DirectorySource& source, const std::string& directory, FileGrid& grid,
                      SortKey key, SortDirection direction) {
  Listing listing;
  listing.directory = directory;
  listing.caption = "Directory " + directory;
  grid.ClearCells();
  if (std::unique_ptr<OpenDirectory> dir = source.Open(directory)) {
    std::vector<RawEntry> entries;
    listing.readable = dir->ReadAll(entries) || !entries.empty();
    std::size_t textBytes = 0;
    for (const RawEntry& raw : entries) {
      textBytes += raw.name.size();
    }
    grid.Reserve(entries.size(), textBytes);
    for (const RawEntry& raw : entries) {
      if (raw.kind == EntryKind::Directory) {
        continue;
      }
      const std::optional<FileEntry> file = FileOf(*dir, raw);
      if (!file) {
        continue;
      }
      const auto row = static_cast<std::size_t>(listing.count);
      grid.SetRowCount(row + 1);
      grid.FillRow(row, file->name, file->size);
      if (grid.Kind() == GridKind::DirectorySpace) {
        grid.SetNumbered(row, true);
      }
      ++listing.count;
      listing.total += file->size;
    }
    if (listing.count > 0) {
      // The first file makes the grid one row long: no row of an earlier
      // listing survives below the new ones.
      grid.SetRowCount(static_cast<std::size_t>(listing.count));
    }
    grid.Compact();
  }
  if (listing.count > 1) {
    SortGrid(grid, key, direction, static_cast<std::size_t>(listing.count));
  }
  return listing;
}

TimedWalkControl::TimedWalkControl(std::function<void()> pump, std::function<bool()> stop,
                                   std::chrono::milliseconds interval, Clock clock)
    : pump_(std::move(pump)),
      stop_(std::move(stop)),
      interval_(interval),
      clock_(std::move(clock)),
      last_(clock_()) {}

bool TimedWalkControl::ShouldStop() {
  const auto now = clock_();
  if (now - last_ >= interval_) {
    last_ = now;
    ++pumps_;
    if (pump_) {
      pump_();
    }
  }
  return stop_ && stop_();
}

bool WalkDirectoryTree(DirectorySource& source, const std::string& start, const std::string& mask,
                       const FileVisitor& visitor, WalkControl* control) {
  std::string path = start;
  if (path.empty()) {
    std::error_code error;
    path = std::filesystem::current_path(error).string();
  }
  if (path.empty() || path.back() != '/') {
    path.push_back('/');
  }
  const std::string effectiveMask = mask.empty() ? "*.*" : mask;
  Walk walk(effectiveMask, visitor, control);
  return walk.Run(source, path);
}

}  // namespace zub

namespace zub {

std::vector<std::string> VisibleSubdirectories(DirectorySource& source, const std::string& path) {
  std::vector<std::string> names;
  const std::unique_ptr<OpenDirectory> dir = source.Open(path);
  if (!dir) {
    return names;
  }
  std::vector<RawEntry> entries;
  dir->ReadAll(entries);
  for (const RawEntry& raw : entries) {
    if (IsHidden(raw.name)) {
      continue;
    }
    EntryKind kind = raw.kind;
    if (kind == EntryKind::Unknown) {
      const std::optional<EntryStat> st = dir->Stat(raw.name);
      kind = st ? st->kind : EntryKind::Other;
    }
    if (kind == EntryKind::Directory) {
      names.push_back(raw.name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zub
