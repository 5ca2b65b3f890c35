// A directory source whose entry named `gate` does not answer: opening that
// directory, or asking about that file, holds the caller until the test
// releases it, as a mount that stopped answering would. Counts the calls
// made after the release.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/DirectorySource.h"

namespace zub::fakes {

class GatedDirectorySource : public DirectorySource {
 public:
  GatedDirectorySource(DirectorySource& inner, std::string gate)
      : inner_(inner), gate_(std::move(gate)) {}

  // Lets the held call and every later one through.
  void Release() {
    const std::lock_guard<std::mutex> hold(lock_);
    released_ = true;
    opened_.notify_all();
  }
  bool Reached() const { return reached_; }
  // Calls begun after the release (the held call's return not counted).
  int CallsAfterRelease() const { return callsAfter_; }

  std::unique_ptr<OpenDirectory> Open(const std::string& path) override {
    Count();
    Hold(path.substr(path.find_last_of('/') + 1));
    return Wrap(inner_.Open(path));
  }
  PathState StatPath(const std::string& path) override {
    Count();
    return inner_.StatPath(path);
  }

 private:
  class Dir : public OpenDirectory {
   public:
    Dir(GatedDirectorySource& owner, std::unique_ptr<OpenDirectory> inner)
        : owner_(owner), inner_(std::move(inner)) {}
    DirectoryId Id() const override { return inner_->Id(); }
    bool ReadAll(std::vector<RawEntry>& out) override {
      owner_.Count();
      return inner_->ReadAll(out);
    }
    std::optional<EntryStat> Stat(const std::string& name) override {
      owner_.Count();
      owner_.Hold(name);
      return inner_->Stat(name);
    }
    std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) override {
      owner_.Count();
      owner_.Hold(name);
      return owner_.Wrap(inner_->OpenChild(name));
    }

   private:
    GatedDirectorySource& owner_;
    std::unique_ptr<OpenDirectory> inner_;
  };

  void Count() {
    const std::lock_guard<std::mutex> hold(lock_);
    if (released_) {
      ++callsAfter_;
    }
  }
  void Hold(const std::string& name) {
    if (name != gate_) {
      return;
    }
    std::unique_lock<std::mutex> hold(lock_);
    reached_ = true;
    opened_.wait(hold, [this] { return released_; });
  }
  std::unique_ptr<OpenDirectory> Wrap(std::unique_ptr<OpenDirectory> dir) {
    return dir ? std::make_unique<Dir>(*this, std::move(dir)) : nullptr;
  }

  DirectorySource& inner_;
  std::string gate_;
  std::mutex lock_;
  std::condition_variable opened_;
  bool released_ = false;
  std::atomic<bool> reached_{false};
  std::atomic<int> callsAfter_{0};
};

}  // namespace zub::fakes
