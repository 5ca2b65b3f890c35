#include "platform/linux/StatvfsDiskSpace.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <limits>
#include <thread>

namespace zub {
namespace {

using namespace std::chrono_literals;

DriveInfo Drive(const std::string& mountPoint, DriveKind kind, const std::string& fsType = "ext4") {
  DriveInfo drive;
  drive.letter = 'D';
  drive.mountPoint = mountPoint;
  drive.kind = kind;
  drive.fsType = fsType;
  return drive;
}

TEST(StatvfsDiskSpace, RootFiguresAreWhatStatvfsAndDfReport) {
  struct statvfs direct {};
  ASSERT_EQ(::statvfs("/", &direct), 0);
  // Fixed runs on the caller's thread, Remote on a worker: same figures.
  for (const DriveKind kind : {DriveKind::Fixed, DriveKind::Remote}) {
    SCOPED_TRACE(static_cast<int>(kind));
    StatvfsDiskSpace space;
    const auto geometry = space.Query(Drive("/", kind));
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->sectorsPerCluster, 1);
    EXPECT_EQ(geometry->bytesPerSector, static_cast<std::int64_t>(direct.f_frsize));
    EXPECT_EQ(geometry->totalClusters, static_cast<std::int64_t>(direct.f_blocks));
    // Free space moves while tests run; it is df's "avail", never above the size.
    EXPECT_LE(geometry->freeClusters, geometry->totalClusters);
    EXPECT_GE(geometry->freeClusters, 0);
  }
}

TEST(StatvfsDiskSpace, FreeFiguresAreAvailableBlocksNotFreeBlocks) {
  struct statvfs figures {};
  figures.f_frsize = 4096;
  figures.f_bsize = 4096;
  figures.f_blocks = 1000;
  figures.f_bfree = 300;   // includes the blocks reserved for root
  figures.f_bavail = 250;  // what df shows as available
  StatvfsDiskSpace space(1s, [&](const char*, struct statvfs* out) {
    *out = figures;
    return 0;
  });
  const auto geometry = space.Query(Drive("/srv", DriveKind::Fixed));
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->bytesPerSector * geometry->freeClusters, 250 * 4096);
  EXPECT_EQ(geometry->bytesPerSector * geometry->totalClusters, 1000 * 4096);
}

TEST(StatvfsDiskSpace, OddFiguresStayUsable) {
  struct statvfs noFragment {};
  noFragment.f_bsize = 512;  // some FUSE file systems leave f_frsize at 0
  noFragment.f_blocks = 10;
  noFragment.f_bavail = 4;
  auto geometry = GeometryFrom(noFragment);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->bytesPerSector, 512);

  struct statvfs huge {};
  huge.f_frsize = 4096;
  huge.f_blocks = std::numeric_limits<fsblkcnt_t>::max();
  huge.f_bavail = std::numeric_limits<fsblkcnt_t>::max() / 2;
  geometry = GeometryFrom(huge);
  ASSERT_TRUE(geometry);
  const std::int64_t most = std::numeric_limits<std::int64_t>::max();
  EXPECT_LE(geometry->totalClusters, most / geometry->bytesPerSector);
  EXPECT_LE(geometry->freeClusters, most / geometry->bytesPerSector);
  EXPECT_GT(geometry->totalClusters, 0);

  const struct statvfs empty {};
  EXPECT_FALSE(GeometryFrom(empty));
}

TEST(StatvfsDiskSpace, FailedQueryGivesNothing) {
  StatvfsDiskSpace space;
  EXPECT_FALSE(space.Query(Drive("/nonexistent/mount/point", DriveKind::Fixed)));
  EXPECT_FALSE(space.Query(Drive("/nonexistent/mount/point", DriveKind::Remote)));
  EXPECT_FALSE(space.Query(Drive("", DriveKind::Fixed)));
}

TEST(StatvfsDiskSpace, OnlyDrivesThatMayHangAreAskedOnAWorker) {
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<bool> onCaller{false};
  StatvfsDiskSpace space(10s, [&](const char*, struct statvfs* out) {
    onCaller = std::this_thread::get_id() == caller;
    out->f_frsize = 4096;
    return 0;
  });
  struct Case {
    DriveInfo drive;
    bool worker;
  };
  const Case cases[] = {
      {Drive("/", DriveKind::Fixed), false},
      {Drive("/tmp", DriveKind::RamDisk, "tmpfs"), false},
      {Drive("/mnt/nas", DriveKind::Remote, "nfs4"), true},
      {Drive("/media/stick", DriveKind::Removable, "vfat"), true},
      {Drive("/cdrom", DriveKind::CdRom, "iso9660"), true},
      {Drive("/win", DriveKind::Fixed, "fuseblk"), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive.mountPoint);
    ASSERT_TRUE(space.Query(c.drive));
    EXPECT_EQ(onCaller, !c.worker);
  }
}

// A mount that answers only when the test lets it. Its state is shared with
// the query function, which a detached worker may still hold after the test.
class HangingMount {
 public:
  StatvfsDiskSpace::QueryFn Query() const {
    return [state = state_](const char* path, struct statvfs* out) {
      ++state->calls;
      if (std::string(path) == "/mnt/dead") {
        if (!state->startedOnce.exchange(true)) {
          state->started.set_value();
        }
        state->released.wait();
      }
      out->f_frsize = 1024;
      out->f_blocks = 100;
      out->f_bavail = 40;
      ++state->finished;
      return 0;
    };
  }
  void Release() const { state_->release.set_value(); }
  void WaitUntilStarted() const { state_->started.get_future().wait(); }
  int Calls() const { return state_->calls; }
  int Finished() const { return state_->finished; }

 private:
  struct State {
    std::atomic<int> calls{0};
    std::atomic<int> finished{0};
    std::atomic<bool> startedOnce{false};
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// Asks until the mount answers; a worker that outlived its wait has to
// finish before the next query starts.
std::optional<DiskGeometry> QueryUntilAnswered(StatvfsDiskSpace& space, const DriveInfo& drive) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto geometry = space.Query(drive)) {
      return geometry;
    }
    std::this_thread::yield();
  }
  return std::nullopt;
}

TEST(StatvfsDiskSpace, HangingMountTimesOutAndIsNotAskedAgainWhileStuck) {
  HangingMount mount;
  StatvfsDiskSpace space(50ms, mount.Query());
  const DriveInfo dead = Drive("/mnt/dead", DriveKind::Remote, "nfs4");

  EXPECT_FALSE(space.Query(dead));
  mount.WaitUntilStarted();
  EXPECT_EQ(mount.Calls(), 1);

  // Still stuck: answered at once, without a second query.
  EXPECT_FALSE(space.Query(dead));
  EXPECT_FALSE(space.Query(dead));
  EXPECT_EQ(mount.Calls(), 1);

  // Other mounts are not held up by it.
  EXPECT_TRUE(space.Query(Drive("/mnt/alive", DriveKind::Remote, "nfs4")));
  EXPECT_EQ(mount.Calls(), 2);

  // Once the server answers again, a fresh query runs and succeeds.
  mount.Release();
  const auto geometry = QueryUntilAnswered(space, dead);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->bytesPerSector * geometry->freeClusters, 40 * 1024);
  EXPECT_GE(mount.Calls(), 3);
}

TEST(StatvfsDiskSpace, StuckWorkerMayOutliveTheDiskSpace) {
  const HangingMount mount;
  {
    StatvfsDiskSpace space(10ms, mount.Query());
    EXPECT_FALSE(space.Query(Drive("/mnt/dead", DriveKind::Remote, "nfs4")));
    mount.WaitUntilStarted();
  }
  mount.Release();
  // The worker finishes into state it shares; its DiskSpace is gone.
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (mount.Finished() < 1 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  EXPECT_EQ(mount.Finished(), 1);
}

}  // namespace
}  // namespace zub
