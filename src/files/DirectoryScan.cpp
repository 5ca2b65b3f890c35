#include "files/DirectoryScan.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zub {
namespace {

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

// Who stats an entry when two threads share a directory's entries: the
// caller takes them from the front in order, a helper from the back, and
// each entry goes to whoever claims it first.
enum Claim : std::uint8_t { kFree, kHelperBusy, kDone, kCaller };

// One directory as the reader hands it on: its path, its entries matching
// the mask, and the directory, kept open for the stats of its files.
struct DirectoryBatch {
  std::string path;
  std::shared_ptr<OpenDirectory> dir;
  std::vector<PassEntry> entries;
  std::unique_ptr<std::atomic<std::uint8_t>[]> claims;  // only when a helper may stat
  bool helped = false;                                  // the helper's own mark

  // Entries that need no stat (or had one to learn their kind) start done.
  void ShareWithHelper() {
    claims = std::make_unique<std::atomic<std::uint8_t>[]>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      claims[i].store(NeedsFileStat(entries[i]) ? kFree : kDone, std::memory_order_relaxed);
    }
  }

  static bool NeedsFileStat(const PassEntry& entry) {
    return !entry.stat && entry.kind != EntryKind::Directory && entry.kind != EntryKind::Other;
  }

  // The stat of entry `i` for the caller: its own, or the helper's.
  const std::optional<EntryStat>& StatOf(std::size_t i) {
    PassEntry& entry = entries[i];
    if (claims) {
      std::uint8_t claim = kFree;
      if (!claims[i].compare_exchange_strong(claim, kCaller, std::memory_order_acquire)) {
        while (claim == kHelperBusy) {
          std::this_thread::yield();
          claim = claims[i].load(std::memory_order_acquire);
        }
        return entry.stat;
      }
    }
    if (NeedsFileStat(entry)) {
      entry.stat = dir->Stat(entry.name);
    }
    return entry.stat;
  }

  // The helper's part: stats from the back until it meets the caller or
  // `stop` is set.
  void Help(const std::atomic<bool>& stop) {
    helped = true;
    for (std::size_t i = entries.size(); i-- > 0;) {
      std::uint8_t claim = kFree;
      if (!claims[i].compare_exchange_strong(claim, kHelperBusy, std::memory_order_acquire)) {
        if (claim == kCaller) {
          return;
        }
        continue;
      }
      entries[i].stat = dir->Stat(entries[i].name);
      claims[i].store(kDone, std::memory_order_release);
      if (i % 256 == 0 && stop.load(std::memory_order_relaxed)) {
        return;
      }
    }
  }
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
  // `budget` bounds the directories it holds; `waitForDescriptors` runs
  // when descriptors ran out and none of its own is left to close.
  // What a wait for descriptors saw: the walk's own queued directories
  // still hold some (they come free as they are walked), none of the walk's
  // are held, or the walk is being stopped.
  enum class Waited { OursHeld, NoneOfOurs, Stopped };

  DirectoryReader(DirectorySource& source, std::string start, std::string mask, std::size_t budget,
                  std::function<Waited()> waitForDescriptors)
      : source_(source),
        start_(std::move(start)),
        mask_(std::move(mask)),
        budget_(std::max<std::size_t>(budget, 2)),
        waitForDescriptors_(std::move(waitForDescriptors)) {}

  bool Next(DirectoryBatch& out) {
    out.dir.reset();  // done with: its descriptor may be needed here
    if (!started_) {
      started_ = true;
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
        // Only this directory of ours is open here. Directories queued for
        // the walk free theirs as they are walked, however long that takes;
        // when the rest of the process holds every descriptor, wait a while
        // for some rather than skip.
        const Waited waited = waitForDescriptors_();
        if (waited == Waited::Stopped ||
            (waited == Waited::NoneOfOurs && ++waits > kDescriptorWaits)) {
          return nullptr;
        }
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
  const std::string mask_;
  const std::size_t budget_;
  const std::function<Waited()> waitForDescriptors_;
  bool started_ = false;
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
  FileEntry entry;
  for (std::size_t i = 0; i < batch.entries.size(); ++i) {
    PassEntry& pass = batch.entries[i];
    if (pass.kind != EntryKind::Directory) {
      const std::optional<EntryStat>& st = batch.StatOf(i);
      if (st && st->kind == EntryKind::Directory) {
        continue;  // replaced by a directory meanwhile
      }
      entry.name.swap(pass.name);
      entry.size = st ? st->size : 0;
      entry.attributes = AttributesOf(entry.name, st ? st->mode : 0, false);
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

// What the reader thread and the calling thread share. The reader never
// outlives the walk: every way out of it stops the reader and joins it.
struct WalkPipe {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::shared_ptr<DirectoryBatch>> queue;  // read, not yet walked
  std::size_t capacity = 16;
  bool finished = false;  // the reader has no more
  // Who waits for the other: a wake-up costs a system call, so only a
  // waiting side is woken.
  bool readerWaits = false;
  bool walkerWaits = false;
  bool walking = false;  // the walker holds a batch taken off the queue
  std::atomic<bool> stop{false};
  std::exception_ptr failure;
};

// A batch this long is helped with as soon as it is queued: reading further
// ahead gains little while it is walked.
constexpr std::size_t kLargeBatch = 1024;
// A waiting walker is woken once this many directories are queued; it also
// looks by itself every kWalkerLooks, so nothing read waits on a slow read.
constexpr std::size_t kWakeWalker = 4;
constexpr std::chrono::milliseconds kWalkerLooks{2};

// The reader thread: reads directories ahead of the walk, and stats files
// of the queued ones (newest first) while the queue is full or the
// directories are all read.
void ReadAhead(WalkPipe& pipe, DirectoryReader& reader) {
  try {
    // The newest queued batch not yet helped with, if any.
    const auto target = [&pipe] {
      for (auto it = pipe.queue.rbegin(); it != pipe.queue.rend(); ++it) {
        if ((*it)->claims && !(*it)->helped) {
          return *it;
        }
      }
      return std::shared_ptr<DirectoryBatch>();
    };
    for (;;) {
      auto batch = std::make_shared<DirectoryBatch>();
      if (pipe.stop || !reader.Next(*batch)) {
        break;
      }
      batch->ShareWithHelper();
      const bool large = batch->entries.size() >= kLargeBatch;
      std::unique_lock<std::mutex> lock(pipe.mutex);
      // Full: help, else sleep until the walker has taken half the queue,
      // so that one wake-up serves several directories.
      while (!pipe.stop && pipe.queue.size() >= pipe.capacity) {
        if (const std::shared_ptr<DirectoryBatch> help = target()) {
          lock.unlock();
          help->Help(pipe.stop);
          lock.lock();
        } else {
          pipe.readerWaits = true;
          pipe.changed.wait(
              lock, [&pipe] { return pipe.stop || pipe.queue.size() <= pipe.capacity / 2; });
          pipe.readerWaits = false;
        }
      }
      if (pipe.stop) {
        break;
      }
      pipe.queue.push_back(batch);
      if (pipe.walkerWaits && pipe.queue.size() >= kWakeWalker) {
        pipe.changed.notify_all();
      }
      if (large) {
        lock.unlock();
        batch->Help(pipe.stop);
      }
    }
    std::unique_lock<std::mutex> lock(pipe.mutex);
    pipe.finished = true;
    pipe.changed.notify_all();
    // All read: help with what is still queued, then end.
    while (!pipe.stop) {
      const std::shared_ptr<DirectoryBatch> help = target();
      if (!help) {
        break;
      }
      lock.unlock();
      help->Help(pipe.stop);
      lock.lock();
    }
  } catch (...) {
    const std::lock_guard<std::mutex> lock(pipe.mutex);
    pipe.failure = std::current_exception();
    pipe.finished = true;
    pipe.changed.notify_all();
  }
}

// Stops and joins the reader however the walk ends.
class ReaderGuard {
 public:
  ReaderGuard(WalkPipe& pipe, std::thread& thread) : pipe_(pipe), thread_(thread) {}
  ~ReaderGuard() {
    {
      const std::lock_guard<std::mutex> lock(pipe_.mutex);
      pipe_.stop = true;
      pipe_.changed.notify_all();
    }
    thread_.join();
  }
  ReaderGuard(const ReaderGuard&) = delete;
  ReaderGuard& operator=(const ReaderGuard&) = delete;

 private:
  WalkPipe& pipe_;
  std::thread& thread_;
};

// Two cores: the reader thread opens and reads directories and shares the
// stats; this thread stats, visits and answers the control, in the order
// of the walk on one thread.
bool WalkOnTwoThreads(DirectorySource& source, const std::string& path, const std::string& mask,
                      const FileVisitor& visitor, WalkControl* control) {
  const auto pipe = std::make_shared<WalkPipe>();
  const std::size_t budget = std::max<std::size_t>(source.OpenBudget(), 4);
  // Queued directories stay open until walked, and so do the one being
  // walked and the one waiting for room: they share the budget.
  pipe->capacity = std::clamp<std::size_t>(budget / 4, 1, 16);
  DirectoryReader reader(source, path, mask, budget - pipe->capacity - 2, [pipe] {
    std::unique_lock<std::mutex> lock(pipe->mutex);
    const bool held = !pipe->queue.empty() || pipe->walking;
    pipe->readerWaits = true;
    pipe->changed.wait_for(lock, std::chrono::milliseconds(10),
                           [&pipe] { return pipe->queue.empty() || pipe->stop; });
    pipe->readerWaits = false;
    if (pipe->stop) {
      return DirectoryReader::Waited::Stopped;
    }
    return held ? DirectoryReader::Waited::OursHeld : DirectoryReader::Waited::NoneOfOurs;
  });
  std::thread thread([pipe, &reader] { ReadAhead(*pipe, reader); });
  bool finished = true;
  {
    const ReaderGuard guard(*pipe, thread);
    for (;;) {
      std::shared_ptr<DirectoryBatch> batch;
      if (source.Stopped()) {
        break;
      }
      {
        std::unique_lock<std::mutex> lock(pipe->mutex);
        pipe->walking = false;
        pipe->walkerWaits = true;
        while (pipe->queue.empty() && !pipe->finished) {
          pipe->changed.wait_for(lock, kWalkerLooks);
        }
        pipe->walkerWaits = false;
        if (pipe->queue.empty()) {
          break;
        }
        batch = std::move(pipe->queue.front());
        pipe->queue.pop_front();
        pipe->walking = true;
        if (pipe->readerWaits && pipe->queue.size() <= pipe->capacity / 2) {
          pipe->changed.notify_all();
        }
      }
      if (!FilePass(*batch, visitor, control)) {
        finished = false;
        break;
      }
    }
  }
  if (pipe->failure) {
    std::rethrow_exception(pipe->failure);
  }
  return finished;
}

bool WalkOnOneThread(DirectorySource& source, const std::string& path, const std::string& mask,
                     const FileVisitor& visitor, WalkControl* control) {
  DirectoryReader reader(source, path, mask, source.OpenBudget(), [] {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return DirectoryReader::Waited::NoneOfOurs;
  });
  DirectoryBatch batch;
  while (reader.Next(batch)) {
    if (!FilePass(batch, visitor, control)) {
      return false;
    }
  }
  return true;
}

}  // namespace

Listing ListDirectory(DirectorySource& source, const std::string& directory, FileGrid& grid,
                      SortKey key, SortDirection direction) {
  Listing listing;
  listing.directory = directory;
  listing.caption = "Directory " + directory;
  grid.ClearCells();
  if (std::unique_ptr<OpenDirectory> opened = source.Open(directory)) {
    DirectoryBatch batch;
    batch.dir = std::move(opened);
    std::vector<RawEntry> entries;
    listing.readable = batch.dir->ReadAll(entries) || !entries.empty();
    std::size_t textBytes = 0;
    for (RawEntry& raw : entries) {
      if (raw.kind != EntryKind::Directory) {
        textBytes += raw.name.size();
        batch.entries.push_back({std::move(raw.name), raw.kind, std::nullopt});
      }
    }
    entries = {};
    grid.Reserve(batch.entries.size(), textBytes);
    // A large directory's stats are shared with a second thread.
    std::atomic<bool> stop{false};
    std::thread helper;
    if (source.ConcurrentReads() && batch.entries.size() >= kLargeBatch) {
      batch.ShareWithHelper();
      helper = std::thread([&batch, &stop] { batch.Help(stop); });
    }
    struct Join {
      std::thread& thread;
      std::atomic<bool>& stop;
      ~Join() {
        stop = true;
        if (thread.joinable()) {
          thread.join();
        }
      }
    } join{helper, stop};
    for (std::size_t i = 0; i < batch.entries.size(); ++i) {
      const PassEntry& pass = batch.entries[i];
      const std::optional<EntryStat>& st = batch.StatOf(i);
      if (st ? st->kind == EntryKind::Directory : pass.kind == EntryKind::Unknown) {
        continue;  // a directory after all, or gone before it could be asked about
      }
      // A file listed but not askable (in a directory we may read but not
      // search) is shown with no size rather than hidden.
      const auto row = static_cast<std::size_t>(listing.count);
      grid.SetRowCount(row + 1);
      grid.FillRow(row, pass.name, st ? st->size : 0);
      if (grid.Kind() == GridKind::DirectorySpace) {
        grid.SetNumbered(row, true);
      }
      ++listing.count;
      listing.total += st ? st->size : 0;
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
  // An empty start (a gone drive's directory) is no directory: the working
  // directory is never walked in its place.
  if (start.empty()) {
    return true;
  }
  std::string path = start;
  if (path.back() != '/') {
    path.push_back('/');
  }
  const std::string effectiveMask = mask.empty() ? "*.*" : mask;
  return source.ConcurrentReads() ? WalkOnTwoThreads(source, path, effectiveMask, visitor, control)
                                  : WalkOnOneThread(source, path, effectiveMask, visitor, control);
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
