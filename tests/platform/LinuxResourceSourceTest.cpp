#include "platform/linux/LinuxResourceSource.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::ReadTestData;
using test_support::TempDir;
using Limit = LinuxResourceSource::Limit;
using Status = ResourceReading::Status;

TEST(ResourceParsers, LoadavgTaskTotal) {
  EXPECT_EQ(ParseLoadavgTasks(ReadTestData("proc/noswap/loadavg")), 118u);
  EXPECT_EQ(ParseLoadavgTasks("0.00 0.01 0.05 3/500 1234"), 500u);
  EXPECT_EQ(ParseLoadavgTasks("0.28 0.11 0.05"), std::nullopt);
  EXPECT_EQ(ParseLoadavgTasks("0.28 0.11 0.05 116 5459"), std::nullopt);
  EXPECT_EQ(ParseLoadavgTasks("0.28 0.11 0.05 1/x 5459"), std::nullopt);
  EXPECT_EQ(ParseLoadavgTasks("0.28 0.11 0.05 x/116 5459"), std::nullopt);
  EXPECT_EQ(ParseLoadavgTasks("0.28 0.11 0.05 1/99999999999999999999 5459"), std::nullopt);
  EXPECT_EQ(ParseLoadavgTasks(""), std::nullopt);
}

TEST(ResourceParsers, SingleNumberAndTaskOwner) {
  EXPECT_EQ(ParseSingleNumber(ReadTestData("proc/noswap/sys/kernel/threads-max")), 192735u);
  EXPECT_EQ(ParseSingleNumber(" 42 \n"), 42u);
  EXPECT_EQ(ParseSingleNumber("42 43"), std::nullopt);
  EXPECT_EQ(ParseSingleNumber(""), std::nullopt);

  const auto owner = ParseTaskOwner(ReadTestData("proc/swap/self/status"));
  ASSERT_TRUE(owner);
  EXPECT_EQ(owner->realUid, 1000u);
  EXPECT_EQ(owner->threads, 6u);
  // The real user id is the first of the four.
  const auto setuid = ParseTaskOwner("Uid:\t1000\t0\t0\t0\nThreads:\t2\n");
  ASSERT_TRUE(setuid);
  EXPECT_EQ(setuid->realUid, 1000u);
  EXPECT_FALSE(ParseTaskOwner("Uid:\t1000\t1000\t1000\t1000\n"));
  EXPECT_FALSE(ParseTaskOwner("Uid:\tann\nThreads:\t2\n"));
  EXPECT_FALSE(ParseTaskOwner("Threads:\t2\n"));
}

TEST(ResourceParsers, FreeShareRoundsHalfToEvenAndClamps) {
  struct Case {
    std::optional<std::uint64_t> used;
    std::optional<std::uint64_t> limit;
    Status status;
    int percent;
  };
  const Case cases[] = {
      {1, 8, Status::Ok, 88},  // 87.5 -> 88
      {3, 8, Status::Ok, 62},  // 62.5 -> 62
      {0, 10, Status::Ok, 100},
      {10, 10, Status::Ok, 0},
      {20, 10, Status::Ok, 0},  // more in use than the limit allows (root may)
      {1, std::uint64_t{1} << 63, Status::Ok, 100},
      {std::uint64_t{1} << 40, std::uint64_t{1} << 41, Status::Ok, 50},
      {std::nullopt, 10, Status::CountUnavailable, 0},
      {5, std::nullopt, Status::TableUnavailable, 0},
      {5, 0, Status::TableUnavailable, 0},
      {std::nullopt, std::nullopt, Status::TableUnavailable, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.used.value_or(999) << " of " << c.limit.value_or(999));
    const auto reading = FreeShare(c.used, c.limit);
    EXPECT_EQ(reading.status, c.status);
    if (c.status == Status::Ok) {
      EXPECT_EQ(reading.freePercent, c.percent);
    }
  }
}

// A proc tree with three processes and ten open descriptors.
class FakeProc {
 public:
  FakeProc() {
    dir_.Write("loadavg", "0.00 0.01 0.05 3/500 1234\n");
    dir_.Write("sys/kernel/threads-max", "1000\n");
    dir_.Write("100/status", "Name:\ta\nUid:\t1000\t1000\t1000\t1000\nThreads:\t6\n");
    dir_.Write("101/status", "Name:\tb\nUid:\t1000\t1000\t1000\t1000\nThreads:\t4\n");
    dir_.Write("102/status", "Name:\tc\nUid:\t0\t0\t0\t0\nThreads:\t50\n");
    dir_.Write("103/status", "garbage");
    dir_.MakeDirs("104");  // ended between listing and reading
    for (const char* fd : {"0", "1", "2", "1000", "1001", "1002", "1003", "1004", "1005", "1006"}) {
      dir_.Write(std::string("self/fd/") + fd, "");
    }
  }
  const TempDir& Dir() const { return dir_; }

  LinuxResourceSource Source(std::optional<std::uint64_t> openFiles,
                             std::optional<std::uint64_t> tasks) const {
    return LinuxResourceSource(dir_.Path(), 1000, [=](Limit limit) {
      return limit == Limit::OpenFiles ? openFiles : tasks;
    });
  }

 private:
  TempDir dir_;
};

TEST(LinuxResourceSource, ReadsTheThreeTablesOfAProcTree) {
  const FakeProc proc;
  auto source = proc.Source(40, 40);
  const auto system = source.Read(0);  // 500 of 1000 tasks
  EXPECT_EQ(system.status, Status::Ok);
  EXPECT_EQ(system.freePercent, 50);
  const auto gdi = source.Read(1);  // 10 of 40 descriptors
  EXPECT_EQ(gdi.status, Status::Ok);
  EXPECT_EQ(gdi.freePercent, 75);
  const auto user = source.Read(2);  // 10 tasks of uid 1000 of 40
  EXPECT_EQ(user.status, Status::Ok);
  EXPECT_EQ(user.freePercent, 75);
  EXPECT_EQ(source.Read(3).status, Status::TableUnavailable);
  EXPECT_EQ(source.Read(-1).status, Status::TableUnavailable);
}

TEST(LinuxResourceSource, UnlimitedTasksCountAgainstThreadsMax) {
  const FakeProc proc;
  auto source = proc.Source(40, std::nullopt);
  const auto user = source.Read(2);  // 10 of 1000
  EXPECT_EQ(user.status, Status::Ok);
  EXPECT_EQ(user.freePercent, 99);
}

TEST(LinuxResourceSource, MissingSourcesRaiseTheirOwnFailure) {
  const FakeProc proc;
  ASSERT_EQ(::unlink((proc.Dir() / "loadavg").c_str()), 0);
  EXPECT_EQ(proc.Source(40, 40).Read(0).status, Status::CountUnavailable);

  ASSERT_EQ(::unlink((proc.Dir() / "sys/kernel/threads-max").c_str()), 0);
  EXPECT_EQ(proc.Source(40, 40).Read(0).status, Status::TableUnavailable);
  EXPECT_EQ(proc.Source(40, std::nullopt).Read(2).status, Status::TableUnavailable);
  EXPECT_EQ(proc.Source(40, 40).Read(2).status, Status::Ok);
  // No soft limit on descriptors and no fs.nr_open to fall back on.
  EXPECT_EQ(proc.Source(std::nullopt, 40).Read(1).status, Status::TableUnavailable);

  std::filesystem::remove_all(proc.Dir() / "self/fd");
  EXPECT_EQ(proc.Source(40, 40).Read(1).status, Status::CountUnavailable);

  LinuxResourceSource gone("/nonexistent/proc", 1000,
                           [](Limit) { return std::optional<std::uint64_t>(40); });
  EXPECT_EQ(gone.Read(2).status, Status::CountUnavailable);
}

TEST(LinuxResourceSource, DescriptorsOfThisProcessAreCounted) {
  // With a limit of 1000, twenty more descriptors are two per cent less free.
  LinuxResourceSource source("/proc", ::getuid(),
                             [](Limit) { return std::optional<std::uint64_t>(1000); });
  const auto before = source.Read(1);
  ASSERT_EQ(before.status, Status::Ok);
  std::vector<int> fds;
  for (int i = 0; i < 20; ++i) {
    fds.push_back(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    ASSERT_GE(fds.back(), 0);
  }
  const auto after = source.Read(1);
  for (const int fd : fds) {
    ::close(fd);
  }
  ASSERT_EQ(after.status, Status::Ok);
  EXPECT_EQ(before.freePercent - after.freePercent, 2);
}

TEST(LinuxResourceSource, RealMachineTablesAreReadable) {
  LinuxResourceSource source;
  for (int index = 0; index < 3; ++index) {
    SCOPED_TRACE(index);
    const auto reading = source.Read(index);
    EXPECT_EQ(reading.status, Status::Ok);
    EXPECT_GE(reading.freePercent, 0);
    EXPECT_LE(reading.freePercent, 100);
  }
}

}  // namespace
}  // namespace zub
