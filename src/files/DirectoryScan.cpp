#include "files/DirectoryScan.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>
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

// A child on another mount than its parent is that mount's root: never
// entered. Another device alone (a btrfs subvolume) is no mount.
bool CrossesMount(const OpenDirectory& parent, const OpenDirectory& child) {
  const MountFacts facts = child.Mount();
  if (facts.rootKnown) {
    return facts.root;
  }
  const MountFacts parentFacts = parent.Mount();
  if (facts.idKnown && parentFacts.idKnown) {
    return facts.mountId != parentFacts.mountId;
  }
  return !(child.Id().device == parent.Id().device);
}

// One entry of a directory's file pass: it matched the mask.
struct PassEntry {
  std::string name;
  EntryKind kind = EntryKind::Unknown;
  std::optional<EntryStat> stat;  // when the kind had to be asked for
};

// One directory as the reader hands it on: its path, its entries matching
// the mask, and the directory, kept open for the stats of its files.
struct DirectoryBatch {
  std::string path;
  std::shared_ptr<OpenDirectory> dir;
  std::vector<PassEntry> entries;
};

struct Frame {
  std::shared_ptr<OpenDirectory> dir;  // closed when too many are open
  DirectoryId id;
  std::string name;  // in its parent
  std::size_t pathLength = 0;
  std::vector<std::string> subdirectories;
  std::size_t next = 0;
};

// The directories of a walk in the order it enters them (each before its
// subdirectories, those in enumeration order), each read once. At most the
// source's budget of directories is held open: the shallow ones are closed
// and opened again from their nearest open ancestor (checked by identity)
// when the walk comes back to them, and when the system runs out of
// descriptors more are closed and the open is tried again, never skipped.
class DirectoryReader {
 public:
  DirectoryReader(DirectorySource& source, std::string start, const std::string& mask)
      : source_(source), start_(std::move(start)), mask_(mask) {}

  bool Next(DirectoryBatch& out) {
    out.dir.reset();  // done with: its descriptor may be needed here
    if (!started_) {
      started_ = true;
      budget_ = std::max<std::size_t>(source_.OpenBudget(), 2);
      path_ = start_;
      std::shared_ptr<OpenDirectory> root = source_.Open(path_);
      if (!root) {
        return false;  // unreadable: nothing to visit
      }
      const DirectoryId id = root->Id();
      frames_.push_back({std::move(root), id, "", path_.size(), {}, 0});
      ++open_;
      Read(frames_.back(), out);
      return true;
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
      const std::size_t index = frames_.size() - 1;
      const std::string name = top.subdirectories[top.next++];
      if (!frames_[index].dir && !Reopen(index)) {
        frames_[index].next = frames_[index].subdirectories.size();
        continue;
      }
      std::shared_ptr<OpenDirectory> child = OpenChild(index, name);
      if (!child || CrossesMount(*frames_[index].dir, *child)) {
        continue;
      }
      path_.append(name).push_back('/');
      const DirectoryId id = child->Id();
      frames_.push_back({std::move(child), id, name, path_.size(), {}, 0});
      ++open_;
      KeepOpenBounded(frames_.size() - 1);
      Read(frames_.back(), out);
      return true;
    }
    return false;
  }

 private:
  // One enumeration serves both passes: the entries matching the mask go
  // out for the file pass, the subdirectories stay for the walk.
  void Read(Frame& frame, DirectoryBatch& out) {
    out.path = path_;
    out.dir = frame.dir;
    out.entries.clear();
    frame.dir->ReadAll(raw_);
    for (RawEntry& raw : raw_) {
      PassEntry entry{std::move(raw.name), raw.kind, std::nullopt};
      if (entry.kind == EntryKind::Unknown) {
        entry.stat = frame.dir->Stat(entry.name);
        if (!entry.stat) {
          continue;  // vanished
        }
        entry.kind = entry.stat->kind;
      }
      if (entry.kind == EntryKind::Directory) {
        frame.subdirectories.push_back(entry.name);
      }
      if (MaskMatches(mask_, entry.name)) {
        out.entries.push_back(std::move(entry));
      }
    }
  }

  // The child `name` of frame `index`; when descriptors run out, shallow
  // directories are closed and the open is tried again.
  std::shared_ptr<OpenDirectory> OpenChild(std::size_t index, const std::string& name) {
    for (int waits = 0;;) {
      OpenFailure why = OpenFailure::None;
      std::unique_ptr<OpenDirectory> child = frames_[index].dir->TryOpenChild(name, why);
      if (child || why != OpenFailure::TooManyOpen) {
        return child;
      }
      if (!CloseShallowest(index)) {
        // Only this directory of ours is open: the rest of the process holds
        // every descriptor. Wait for it a little rather than skip.
        if (++waits > kDescriptorWaits) {
          return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
    }
  }

  // Opens frame `index` again from its nearest open ancestor (the start by
  // its path), checking that every directory on the way is still the one
  // the walk entered.
  bool Reopen(std::size_t index) {
    std::size_t from = index + 1;
    while (from > 0 && !frames_[from - 1].dir) {
      --from;
    }
    if (from == 0) {
      std::unique_ptr<OpenDirectory> root = source_.Open(start_);
      if (!root || !(root->Id() == frames_[0].id)) {
        return false;
      }
      frames_[0].dir = std::move(root);
      ++open_;
      lowestOpen_ = 0;
      from = 1;
    }
    for (std::size_t at = from; at <= index; ++at) {
      std::shared_ptr<OpenDirectory> dir = OpenChild(at - 1, frames_[at].name);
      if (!dir || !(dir->Id() == frames_[at].id)) {
        return false;
      }
      frames_[at].dir = std::move(dir);
      ++open_;
      lowestOpen_ = std::min(lowestOpen_, at);
      KeepOpenBounded(at);
    }
    return true;
  }

  // Closes the shallowest open directory other than frame `keep`; false
  // when there is none.
  bool CloseShallowest(std::size_t keep) {
    while (lowestOpen_ < frames_.size() && !frames_[lowestOpen_].dir) {
      ++lowestOpen_;
    }
    std::size_t at = lowestOpen_;
    if (at == keep) {
      ++at;
      while (at < frames_.size() && !frames_[at].dir) {
        ++at;
      }
    }
    if (at >= frames_.size()) {
      return false;
    }
    frames_[at].dir.reset();
    --open_;
    return true;
  }

  void KeepOpenBounded(std::size_t keep) {
    while (open_ > budget_ && CloseShallowest(keep)) {
    }
  }

  static constexpr int kDescriptorWaits = 200;

  DirectorySource& source_;
  const std::string start_;
  const std::string& mask_;
  bool started_ = false;
  std::size_t budget_ = 0;
  std::string path_;
  std::vector<Frame> frames_;
  std::vector<RawEntry> raw_;
  std::size_t open_ = 0;
  std::size_t lowestOpen_ = 0;
};

// The file pass of one directory: each matching entry in enumeration
// order, files stat-ed and handed to the visitor, the control asked after
// each. False when the visitor or the control stopped the walk.
bool FilePass(DirectoryBatch& batch, const FileVisitor& visitor, WalkControl* control) {
  if (control != nullptr) {
    control->EnteringDirectory(batch.path);
  }
  for (PassEntry& pass : batch.entries) {
    if (pass.kind != EntryKind::Directory) {
      FileEntry entry{std::move(pass.name), 0, 0};
      if (pass.kind != EntryKind::Other && !pass.stat) {
        pass.stat = batch.dir->Stat(entry.name);
      }
      if (pass.stat && pass.stat->kind == EntryKind::Directory) {
        continue;  // replaced by a directory meanwhile
      }
      entry.size = pass.stat ? pass.stat->size : 0;
      entry.attributes = AttributesOf(entry.name, pass.stat ? pass.stat->mode : 0, false);
      if (!visitor(batch.path, entry)) {
        return false;
      }
    }
    if (control != nullptr && control->ShouldStop()) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<FileEntry> ListedFile(OpenDirectory& dir, const RawEntry& raw) {
  return raw.kind == EntryKind::Directory ? std::nullopt : FileOf(dir, raw);
}

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
  DirectoryReader reader(source, path, effectiveMask);
  DirectoryBatch batch;
  while (reader.Next(batch)) {
    if (!FilePass(batch, visitor, control)) {
      return false;
    }
  }
  return true;
}

}  // namespace zub

namespace zub {

std::vector<std::string> SubdirectoryNames(DirectorySource& source, const std::string& path) {
  std::vector<std::string> names;
  const std::unique_ptr<OpenDirectory> dir = source.Open(path);
  if (!dir) {
    return names;
  }
  std::vector<RawEntry> entries;
  dir->ReadAll(entries);
  for (const RawEntry& raw : entries) {
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
