// A directory tree held in memory: paths to entries, with a device per
// directory and counts of what the code under test asked for. Safe to read
// from two threads at once (the tree itself must not change meanwhile).
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/DirectorySource.h"
#include "platform/Trash.h"

namespace zub::fakes {

class FakeDirectorySource : public DirectorySource {
 public:
  struct Node {
    EntryKind kind = EntryKind::Regular;
    EntryKind reported = EntryKind::Regular;  // what the enumeration says (Unknown allowed)
    std::int64_t size = 0;
    std::uint32_t mode = 0644;
    std::uint64_t device = 1;
    std::uint64_t inode = 0;
    std::vector<std::string> children;  // names, in enumeration order
    bool readable = true;
    bool mountRoot = false;      // a directory: the root of a mount
    bool tellsMountRoot = true;  // whether the system says so
    std::uint64_t mountId = 0;   // 0: the system gives no mount id
    bool vanishes = false;       // listed, then gone before it is asked about
  };

  std::map<std::string, Node> nodes;  // "/a", "/a/b"; "/" is the root
  int stats = 0;
  int open = 0;
  int mostOpen = 0;
  int openLimit = 0;  // when set, opening more fails as with EMFILE
  int tooManyOpenFailures = 0;
  std::size_t budget = 64;
  bool concurrent = true;  // let the walk read it from two threads
  std::set<std::string> statted;
  std::vector<std::string> opened;  // every path given to Open

  FakeDirectorySource() { nodes["/"] = Dir(); }

  static Node Dir(std::uint64_t device = 1) {
    Node n;
    n.kind = n.reported = EntryKind::Directory;
    n.mode = 040755;
    n.device = device;
    return n;
  }

  // Adds `path` (parents must exist) to its parent's enumeration.
  Node& Add(const std::string& path, Node node) {
    const std::size_t slash = path.find_last_of('/');
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    nodes[parent].children.push_back(path.substr(slash + 1));
    node.inode = ++inodes_;
    return nodes[path] = node;
  }
  Node& AddDir(const std::string& path, std::uint64_t device = 1) { return Add(path, Dir(device)); }
  Node& AddFile(const std::string& path, std::int64_t size) {
    Node n;
    n.size = size;
    return Add(path, n);
  }

  std::unique_ptr<OpenDirectory> Open(const std::string& path) override {
    opened.push_back(path);
    std::string key = path;
    while (key.size() > 1 && key.back() == '/') {
      key.pop_back();
    }
    return OpenNode(key);
  }

  std::size_t OpenBudget() override { return budget; }
  bool ConcurrentReads() const override { return concurrent; }

  PathState StatPath(const std::string& path) override {
    const auto it = nodes.find(path);
    if (it == nodes.end()) {
      return PathState::Absent;
    }
    return it->second.kind == EntryKind::Directory ? PathState::Directory : PathState::File;
  }

 private:
  class Dir_ : public OpenDirectory {
   public:
    Dir_(FakeDirectorySource& owner, std::string path) : owner_(owner), path_(std::move(path)) {
      const std::lock_guard<std::mutex> hold(owner_.lock_);
      owner_.mostOpen = std::max(owner_.mostOpen, ++owner_.open);
    }
    ~Dir_() override {
      const std::lock_guard<std::mutex> hold(owner_.lock_);
      --owner_.open;
    }
    DirectoryId Id() const override {
      const Node& n = owner_.nodes.at(path_);
      return {n.device, n.inode};
    }
    bool ReadAll(std::vector<RawEntry>& out) override {
      out.clear();
      for (const std::string& name : owner_.nodes.at(path_).children) {
        const auto it = owner_.nodes.find(Child(name));
        if (it != owner_.nodes.end()) {
          out.push_back({name, it->second.reported});
        }
      }
      return true;
    }
    std::optional<EntryStat> Stat(const std::string& name) override {
      {
        const std::lock_guard<std::mutex> hold(owner_.lock_);
        ++owner_.stats;
        owner_.statted.insert(Child(name));
      }
      const auto it = owner_.nodes.find(Child(name));
      if (it == owner_.nodes.end() || it->second.vanishes) {
        return std::nullopt;
      }
      const Node& n = it->second;
      return EntryStat{n.kind, n.size, n.mode, n.device, n.inode};
    }
    MountFacts Mount() const override {
      const Node& n = owner_.nodes.at(path_);
      return {n.tellsMountRoot, n.mountRoot, n.mountId != 0, n.mountId};
    }
    std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) override {
      return owner_.OpenNode(Child(name));
    }
    std::unique_ptr<OpenDirectory> TryOpenChild(const std::string& name,
                                                OpenFailure& why) override {
      {
        const std::lock_guard<std::mutex> hold(owner_.lock_);
        if (owner_.openLimit > 0 && owner_.open >= owner_.openLimit) {
          ++owner_.tooManyOpenFailures;
          why = OpenFailure::TooManyOpen;
          return nullptr;
        }
      }
      std::unique_ptr<OpenDirectory> child = owner_.OpenNode(Child(name));
      why = child ? OpenFailure::None : OpenFailure::Unavailable;
      return child;
    }

   private:
    std::string Child(const std::string& name) const {
      return path_ == "/" ? "/" + name : path_ + "/" + name;
    }
    FakeDirectorySource& owner_;
    std::string path_;
  };

  std::unique_ptr<OpenDirectory> OpenNode(const std::string& key) {
    const auto it = nodes.find(key);
    if (it == nodes.end() || it->second.kind != EntryKind::Directory || !it->second.readable ||
        it->second.vanishes) {
      return nullptr;
    }
    return std::make_unique<Dir_>(*this, key);
  }

  std::uint64_t inodes_ = 1;
  std::mutex lock_;  // the counters, when the walk reads from two threads
};

// A trash that records every path and removes it from a fake tree when it takes it.
class FakeTrash : public Trash {
 public:
  explicit FakeTrash(FakeDirectorySource* files = nullptr) : files_(files) {}
  std::vector<std::string> moved;
  TrashResult::Outcome answer = TrashResult::Outcome::Done;

  TrashResult Move(const std::string& path) override {
    moved.push_back(path);
    if (answer == TrashResult::Outcome::Done && files_ != nullptr) {
      files_->nodes.erase(path);
    }
    return {answer, answer == TrashResult::Outcome::Done ? "" : "refused"};
  }

 private:
  FakeDirectorySource* files_;
};

}  // namespace zub::fakes
