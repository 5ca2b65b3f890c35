// Scripted stand-ins for the platform services.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"
#include "platform/InstanceMarker.h"
#include "platform/MemorySource.h"
#include "platform/ResourceSource.h"
#include "platform/SettingsFile.h"

namespace zub::fakes {

class FakeDriveTable : public DriveTable {
 public:
  std::vector<DriveInfo> drives;
  char currentLetter = 'C';
  int reads = 0;  // Drives() and CurrentDriveLetter() calls: each reads the mount table

  std::vector<DriveInfo> Drives() override {
    ++reads;
    return drives;
  }
  char CurrentDriveLetter() override {
    ++reads;
    return currentLetter;
  }
  void SetCurrentDirectory(char letter, const std::string& directory) override {
    for (auto& d : drives) {
      if (d.letter == letter) {
        d.currentDirectory = directory;
      }
    }
  }

  // Adds a drive with the next free letter from C: and returns it.
  DriveInfo& Add(const std::string& mountPoint, DriveKind kind = DriveKind::Fixed,
                 const std::string& label = "") {
    DriveInfo d;
    d.letter = static_cast<char>('C' + drives.size());
    d.mountPoint = mountPoint;
    d.kind = kind;
    d.label = label.empty() ? mountPoint : label;
    d.currentDirectory = mountPoint;
    d.fsType = kind == DriveKind::RamDisk ? "tmpfs" : "ext4";
    drives.push_back(d);
    return drives.back();
  }
};

// Free and total bytes per mount point; a mount point without an entry fails.
class FakeDiskSpace : public DiskSpace {
 public:
  struct Bytes {
    std::int64_t free = 0;
    std::int64_t total = 0;
  };
  std::map<std::string, Bytes> byMountPoint;
  int queries = 0;

  void Set(const std::string& mountPoint, std::int64_t freeBytes, std::int64_t totalBytes) {
    byMountPoint[mountPoint] = {freeBytes, totalBytes};
  }

  std::optional<DiskGeometry> Query(const DriveInfo& drive) override {
    ++queries;
    auto it = byMountPoint.find(drive.mountPoint);
    if (it == byMountPoint.end()) {
      return std::nullopt;
    }
    // One-byte sectors, one-sector clusters: the cluster counts are the bytes.
    return DiskGeometry{1, 1, it->second.free, it->second.total};
  }
};

class FakeMemorySource : public MemorySource {
 public:
  std::optional<MemoryStatus> status = MemoryStatus{};
  std::optional<MemoryStatus> Read() override { return status; }
};

class FakeResourceSource : public ResourceSource {
 public:
  ResourceReading readings[3] = {{ResourceReading::Status::Ok, 80},
                                 {ResourceReading::Status::Ok, 84},
                                 {ResourceReading::Status::Ok, 80}};
  ResourceReading Read(int index) override {
    if (index < 0 || index > 2) {
      return {ResourceReading::Status::TableUnavailable, 0};
    }
    return readings[index];
  }
};

// A settings file in memory; `failWrites` makes every rewrite fail.
class FakeSettingsFile : public SettingsFile {
 public:
  StoredText stored;
  bool failWrites = false;
  bool writable = true;
  int rewrites = 0;

  StoredText Load() override { return stored; }
  bool Rewrite(const std::function<std::string(const std::string&)>& edit) override {
    if (failWrites || !writable || stored.state == StoredText::State::Unreadable) {
      return false;
    }
    stored.text = edit(stored.state == StoredText::State::Present ? stored.text : "");
    stored.state = StoredText::State::Present;
    ++rewrites;
    return true;
  }
  std::string Location() const override { return "/fake/zub97/registry.ini"; }
  bool Writable() const override { return writable; }
};

// Markers of the whole "desktop" are shared between fakes through `held`.
class FakeInstanceMarker : public InstanceMarker {
 public:
  explicit FakeInstanceMarker(std::map<std::string, FakeInstanceMarker*>& held) : held_(&held) {}

  std::vector<std::pair<std::string, std::string>> raiseRequestsSent;

  bool Find(const std::string& name) override { return held_->count(name) != 0; }
  void AskToRaise(const std::string& name, const std::string& title) override {
    raiseRequestsSent.emplace_back(name, title);
    auto it = held_->find(name);
    if (it != held_->end() && it->second->handler_) {
      it->second->handler_(title);
    }
  }
  bool Add(const std::string& name) override {
    const auto [it, added] = held_->emplace(name, this);
    return added || it->second == this;
  }
  void Remove(const std::string& name) override {
    auto it = held_->find(name);
    if (it != held_->end() && it->second == this) {
      held_->erase(it);
    }
  }
  void OnRaiseRequest(std::function<void(const std::string&)> handler) override {
    handler_ = std::move(handler);
  }

 private:
  std::map<std::string, FakeInstanceMarker*>* held_;
  std::function<void(const std::string&)> handler_;
};

// Drives C: onwards mounted at /mnt/d0, /mnt/d1, ..., the n-th with n MB free of 100 MB.
inline void SetCountedDrives(FakeDriveTable& table, FakeDiskSpace& space, int count) {
  constexpr std::int64_t kMb = 1048576;
  table.drives.clear();
  space.byMountPoint.clear();
  for (int i = 0; i < count; ++i) {
    const std::string mount = "/mnt/d" + std::to_string(i);
    table.Add(mount);
    space.Set(mount, (i + 1) * kMb, 100 * kMb);
  }
}

}  // namespace zub::fakes
