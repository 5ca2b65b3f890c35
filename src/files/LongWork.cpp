#include "files/LongWork.h"

#include <vector>

namespace zub {

void WorkState::Entering(const std::string& path) {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    path_ = path;
  }
  Progress();
}

namespace {

// Stats count as progress once every so many, so that watching costs a walk
// next to nothing.
constexpr std::uint32_t kStatsPerBeat = 32;

class WatchedDirectory : public OpenDirectory {
 public:
  WatchedDirectory(std::unique_ptr<OpenDirectory> inner, WorkState& state, std::string path)
      : inner_(std::move(inner)), state_(state), path_(std::move(path)) {}

  DirectoryId Id() const override { return inner_->Id(); }
  MountFacts Mount() const override { return inner_->Mount(); }
  bool ReadAll(std::vector<RawEntry>& out) override {
    if (state_.StopRequested()) {
      out.clear();
      return false;
    }
    state_.Entering(path_);
    const bool whole = inner_->ReadAll(out);
    state_.Progress();
    return whole;
  }
  std::optional<EntryStat> Stat(const std::string& name) override {
    if (state_.StopRequested()) {
      return std::nullopt;
    }
    std::optional<EntryStat> st = inner_->Stat(name);
    if (stats_.fetch_add(1, std::memory_order_relaxed) % kStatsPerBeat == 0) {
      state_.Progress();
    }
    return st;
  }
  std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) override {
    OpenFailure why = OpenFailure::None;
    return TryOpenChild(name, why);
  }
  std::unique_ptr<OpenDirectory> TryOpenChild(const std::string& name, OpenFailure& why) override {
    why = OpenFailure::Unavailable;
    if (state_.StopRequested()) {
      return nullptr;
    }
    std::string path = path_;
    if (path.empty() || path.back() != '/') {
      path.push_back('/');
    }
    path.append(name);
    state_.Entering(path);
    std::unique_ptr<OpenDirectory> child = inner_->TryOpenChild(name, why);
    state_.Progress();
    return child ? std::make_unique<WatchedDirectory>(std::move(child), state_, std::move(path))
                 : nullptr;
  }

 private:
  std::unique_ptr<OpenDirectory> inner_;
  WorkState& state_;
  const std::string path_;
  // Both walk threads stat here: the count they write keeps off the line of
  // the fields they only read.
  alignas(64) std::atomic<std::uint32_t> stats_{0};
};

}  // namespace

std::unique_ptr<OpenDirectory> WatchedSource::Open(const std::string& path) {
  if (path.empty() || state_.StopRequested()) {
    return nullptr;
  }
  state_.Entering(path);
  std::unique_ptr<OpenDirectory> dir = inner_.Open(path);
  state_.Progress();
  return dir ? std::make_unique<WatchedDirectory>(std::move(dir), state_, path) : nullptr;
}

PathState WatchedSource::StatPath(const std::string& path) {
  if (path.empty()) {
    return PathState::Absent;
  }
  state_.Entering(path);
  const PathState answer = inner_.StatPath(path);
  state_.Progress();
  return answer;
}

LongWork::LongWork(WorkLimits limits, std::function<WorkClock::time_point()> clock)
    : limits_(limits), clock_(std::move(clock)) {}

LongWork::~LongWork() {
  EndOrLeave();
}

void LongWork::EndOrLeave() {
  if (!state_) {
    return;
  }
  Stop();
  std::unique_lock<std::mutex> hold(state_->lock_);
  if (kind_ == WorkKind::ReadingShown) {
    state_->ended_.wait(hold, [this] { return state_->done_.load(); });
  } else {
    state_->ended_.wait_for(hold, limits_.stopGrace, [this] { return state_->done_.load(); });
  }
  const bool done = state_->done_;
  hold.unlock();
  if (done) {
    thread_.join();
    state_.reset();
  } else {
    Leave();
  }
}

WorkClock::time_point LongWork::Now() const {
  return clock_ ? clock_() : WorkClock::now();
}

void LongWork::Start(WorkKind kind, std::function<void(WorkState&)> work) {
  EndOrLeave();
  state_ = std::make_shared<WorkState>();
  kind_ = kind;
  seenProgress_ = 0;
  progressAt_ = Now();
  stopAt_.reset();
  unanswered_.clear();
  stuck_ = false;
  thread_ = std::thread([state = state_, work = std::move(work)] {
    work(*state);
    const std::lock_guard<std::mutex> hold(state->lock_);
    state->done_ = true;
    state->ended_.notify_all();
  });
}

void LongWork::Stop() {
  if (state_ && !stopAt_) {
    state_->RequestStop();
    stopAt_ = Now();
  }
}

void LongWork::Leave() {
  leftBehind_ = state_;
  thread_.detach();
  state_.reset();
  ++givenUp_;
}

LongWork::Status LongWork::Poll() {
  if (!state_) {
    return Status::Idle;
  }
  if (state_->done_) {
    thread_.join();
    state_.reset();
    return Status::Finished;
  }
  if (kind_ == WorkKind::ReadingShown) {
    return Status::Running;
  }
  const WorkClock::time_point now = Now();
  const std::uint64_t progress = state_->progress_.load(std::memory_order_relaxed);
  if (progress != seenProgress_) {
    seenProgress_ = progress;
    progressAt_ = now;
  }
  stuck_ = kind_ == WorkKind::Reading && now - progressAt_ >= limits_.stuckRead;
  const bool slowToStop = stopAt_ && now - *stopAt_ >= limits_.stopGrace;
  if (!stuck_ && !slowToStop) {
    return Status::Running;
  }
  {
    const std::lock_guard<std::mutex> hold(state_->lock_);
    unanswered_ = state_->path_;
  }
  // Whatever it still reads ends at once, and what it makes goes nowhere.
  state_->RequestStop();
  Leave();
  return Status::GivenUp;
}

}  // namespace zub
