#include "platform/linux/StatvfsDiskSpace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <thread>

#include "platform/linux/PosixFile.h"
#include "support/TempDir.h"

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
  // Fixed is asked in the program, Remote by the helper: same figures.
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
  StatvfsDiskSpace noHelper(1s, ::statvfs, {"/nonexistent/helper"});
  EXPECT_FALSE(noHelper.Query(Drive("/", DriveKind::Remote)));

  const auto parsed = GeometryFromText("4096 10 4\n");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->bytesPerSector * parsed->freeClusters, 4 * 4096);
  for (const char* odd : {"", "4096 10\n", "4096 10 4", "4096 10 4 5\n", "-1 10 4\n", "? 10 4\n"}) {
    EXPECT_FALSE(GeometryFromText(odd)) << odd;
  }
}

// A helper that runs `script` in sh, with the mount point as $1.
std::vector<std::string> Script(const std::string& script, const std::string& zero = "sh") {
  return {"/bin/sh", "-c", script, zero};
}

TEST(StatvfsDiskSpace, OnlyDrivesThatMayHangAreLeftToTheHelper) {
  StatvfsDiskSpace space(
      10s,
      [](const char*, struct statvfs* out) {
        out->f_frsize = 4096;
        out->f_blocks = 1;
        return 0;
      },
      Script("echo 4096 2 0"));
  struct Case {
    DriveInfo drive;
    bool helper;
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
    const auto geometry = space.Query(c.drive);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->totalClusters, c.helper ? 2 : 1);
  }
}

// A mount whose /mnt/dead answers only when the test opens the gate (a FIFO)
// for writing. Its helper counts its calls and ends in files.
class HangingMount {
 public:
  HangingMount() { ::mkfifo((dir_ / "gate").c_str(), 0600); }
  ~HangingMount() { Release(); }  // no helper of this test is left waiting
  HangingMount(const HangingMount&) = delete;
  HangingMount& operator=(const HangingMount&) = delete;

  std::vector<std::string> Helper() const {
    return Script(R"(if [ "$1" = /mnt/dead ]; then
                       echo >>"$0/calls"; : <"$0/gate"; echo >>"$0/finished"
                     fi
                     echo 1024 100 40)",
                  dir_.Path());
  }
  void Release() {
    if (!released_.Valid()) {
      released_ = linux_platform::UniqueFd(::open((dir_ / "gate").c_str(), O_RDWR | O_CLOEXEC));
    }
  }
  // Queries of /mnt/dead started, and ended.
  std::uintmax_t Calls() const { return Counted("calls"); }
  std::uintmax_t Finished() const { return Counted("finished"); }
  // Helpers run in their own time: waits up to 20 s for `count` to reach `n`.
  static bool Reaches(const std::function<std::uintmax_t()>& count, std::uintmax_t n) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (count() < n && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(5ms);
    }
    return count() >= n;
  }

 private:
  std::uintmax_t Counted(const std::string& name) const {
    std::error_code error;
    const auto size = std::filesystem::file_size(dir_ / name, error);
    return error ? 0 : size;
  }

  test_support::TempDir dir_;
  linux_platform::UniqueFd released_;
};

// Asks until the mount answers; a helper that outlived its wait has to
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
  StatvfsDiskSpace space(1s, ::statvfs, mount.Helper());
  const DriveInfo dead = Drive("/mnt/dead", DriveKind::Remote, "nfs4");

  EXPECT_FALSE(space.Query(dead));
  ASSERT_TRUE(HangingMount::Reaches([&] { return mount.Calls(); }, 1));

  // Still stuck: answered at once, without a second query.
  EXPECT_FALSE(space.Query(dead));
  EXPECT_FALSE(space.Query(dead));
  EXPECT_EQ(mount.Calls(), 1u);

  // Other mounts are not held up by it.
  EXPECT_TRUE(QueryUntilAnswered(space, Drive("/mnt/alive", DriveKind::Remote, "nfs4")));

  // Once the server answers again, a fresh query runs and succeeds.
  mount.Release();
  const auto geometry = QueryUntilAnswered(space, dead);
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->bytesPerSector * geometry->freeClusters, 40 * 1024);
  EXPECT_GE(mount.Calls(), 2u);
}

TEST(StatvfsDiskSpace, AStuckQueryHoldsNothingOfTheProgramAndMayOutliveIt) {
  HangingMount mount;
  int output[2];  // stands for the report's standard output: inherited across exec
  ASSERT_EQ(::pipe2(output, O_NONBLOCK), 0);
  const linux_platform::UniqueFd reader(output[0]);
  // Held also at a number above whatever the query opens.
  const int highWriter = ::fcntl(output[1], F_DUPFD, 500);
  ASSERT_GE(highWriter, 500);
  {
    StatvfsDiskSpace space(10ms, ::statvfs, mount.Helper());
    EXPECT_FALSE(space.Query(Drive("/mnt/dead", DriveKind::Remote, "nfs4")));
    ASSERT_TRUE(HangingMount::Reaches([&] { return mount.Calls(); }, 1));
  }
  // Only the program held the write end: closing it ends the reader's input.
  ::close(output[1]);
  ::close(highWriter);
  char byte = 0;
  EXPECT_EQ(::read(reader.Get(), &byte, 1), 0) << "a helper holds the program's output open";

  mount.Release();
  EXPECT_TRUE(HangingMount::Reaches([&] { return mount.Finished(); }, 1));
}

}  // namespace
}  // namespace zub
