// Long work of the file windows (a listing, a chooser's read, a walk, a
// sort) on a worker thread, watched from the interface thread: it can be
// asked to stop, and a read stuck in the kernel (a network drive gone
// quiet) is given up on. A worker given up on keeps only what it shares
// with nobody any more; nothing it makes afterwards is looked at.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/DirectorySource.h"

namespace zub {

using WorkClock = std::chrono::steady_clock;

// What one worker shares with the interface thread.
class WorkState {
 public:
  // Escape or a close: the work ends at its next cancel point.
  bool StopRequested() const { return stop_.load(std::memory_order_relaxed); }
  void RequestStop() { stop_ = true; }

  // A read of the file system returned: the work is not stuck.
  void Progress() { progress_.fetch_add(1, std::memory_order_relaxed); }
  // The work goes into `path`: the directory named if it stops answering.
  void Entering(const std::string& path);

 private:
  friend class LongWork;
  std::atomic<bool> stop_{false};
  // Apart from stop_, which both walk threads read at every file: a beat
  // written there would send its cache line back and forth between cores.
  alignas(64) std::atomic<std::uint64_t> progress_{0};
  std::mutex lock_;
  std::condition_variable ended_;
  // Set under lock_ (for the waits on ended_), read without it by Poll, so
  // the interface never queues for a lock the worker takes often.
  std::atomic<bool> done_{false};
  std::string path_;  // under lock_
};

// Reads through `inner` for one piece of work: every read counts as
// progress for the stuck-read watch, and once the work is asked to stop,
// directories read as empty and none opens, so a walk that reaches no cancel
// point still ends at once.
class WatchedSource : public DirectorySource {
 public:
  WatchedSource(DirectorySource& inner, WorkState& state) : inner_(inner), state_(state) {}
  // An empty path names no directory here (never the working directory).
  std::unique_ptr<OpenDirectory> Open(const std::string& path) override;
  PathState StatPath(const std::string& path) override;
  std::size_t OpenBudget() override { return inner_.OpenBudget(); }
  bool ConcurrentReads() const override { return inner_.ConcurrentReads(); }
  bool Stopped() const override { return state_.StopRequested(); }

 private:
  DirectorySource& inner_;
  WorkState& state_;
};

enum class WorkKind : std::uint8_t {
  // Reads the file system into data of its own: given up on when a read
  // does not return, or when it does not stop soon after being asked.
  Reading,
  // Works on data of its own: given up on when it does not stop soon.
  Computing,
  // Reads data the interface shows (a sort of the shown grid): never left
  // behind, so it must look at StopRequested() often.
  ReadingShown,
};

struct WorkLimits {
  // Reading work that has made no progress for this long does not answer.
  std::chrono::milliseconds stuckRead{1500};
  // Work asked to stop that has not ended after this long is given up on.
  std::chrono::milliseconds stopGrace{300};
};

// One worker at a time, started and watched on the interface thread.
class LongWork {
 public:
  enum class Status { Idle, Running, Finished, GivenUp };

  explicit LongWork(WorkLimits limits = {}, std::function<WorkClock::time_point()> clock = {});
  // Stops the work and waits for it as long as its kind allows.
  ~LongWork();
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  // Runs `work` on a new thread (ending the work before it as the destructor
  // would). Unless it is ReadingShown, `work` must own or share everything it
  // touches: it may outlive this runner.
  void Start(WorkKind kind, std::function<void(WorkState&)> work);
  // Asks the work to stop at its next cancel point.
  void Stop();
  // Finished once the worker has returned (and is joined), GivenUp once it
  // was left behind; each is reported once, and the runner is then idle.
  Status Poll();
  bool Running() const { return static_cast<bool>(state_); }
  // The directory the work was in when it was given up on.
  const std::string& Unanswered() const { return unanswered_; }
  // Whether the work given up on had stopped answering (else it was slow to stop).
  bool GaveUpStuck() const { return stuck_; }
  // Workers left behind by this runner so far, and whether the last of them
  // is still running (it has let go of everything once it ends).
  int GivenUpCount() const { return givenUp_; }
  bool LeftBehindRunning() const { return !leftBehind_.expired(); }

 private:
  WorkClock::time_point Now() const;
  void Leave();
  // Stops the work and waits for it as long as its kind allows, else leaves it.
  void EndOrLeave();

  WorkLimits limits_;
  std::function<WorkClock::time_point()> clock_;
  std::shared_ptr<WorkState> state_;
  std::weak_ptr<WorkState> leftBehind_;
  std::thread thread_;
  WorkKind kind_ = WorkKind::Reading;
  std::uint64_t seenProgress_ = 0;
  WorkClock::time_point progressAt_{};
  std::optional<WorkClock::time_point> stopAt_;
  std::string unanswered_;
  bool stuck_ = false;
  int givenUp_ = 0;
};

}  // namespace zub
