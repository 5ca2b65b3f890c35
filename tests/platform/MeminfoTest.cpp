#include "platform/linux/Meminfo.h"

#include <gtest/gtest.h>

#include "platform/linux/LinuxMemorySource.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::ReadTestData;
using test_support::TestDataDir;

constexpr std::int64_t kKb = 1024;

TEST(Meminfo, CapturesGiveTheirFiguresInBytes) {
  struct Case {
    const char* file;
    MeminfoFigures figures;
  };
  const Case cases[] = {
      {"proc/noswap/meminfo", {24683772 * kKb, 24255344 * kKb, 0, 0}},
      {"proc/swap/meminfo", {16312852 * kKb, 9765432 * kKb, 2097148 * kKb, 1572860 * kKb}},
      // No MemAvailable before Linux 3.14: MemFree + Buffers + Cached.
      {"proc/old-kernel/meminfo",
       {4048024 * kKb, (512100 + 101200 + 1410700) * kKb, 4194300 * kKb, 4194300 * kKb}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(ParseMeminfo(ReadTestData(c.file)), c.figures);
  }
}

TEST(Meminfo, DamagedTextIsRejectedOrRepaired) {
  EXPECT_FALSE(ParseMeminfo(""));
  EXPECT_FALSE(ParseMeminfo("MemFree: 100 kB\nMemAvailable: 100 kB\n"));
  EXPECT_FALSE(ParseMeminfo("MemTotal: 1000 kB\n"));  // neither available nor free
  EXPECT_FALSE(ParseMeminfo("MemTotal: 99999999999999999999999 kB\nMemFree: 1 kB\n"));
  EXPECT_FALSE(ParseMeminfo("MemTotal: 17592186044417 kB\nMemFree: 1 kB\n"));  // 2^44 + 1
  EXPECT_FALSE(ParseMeminfo("MemTotal: 1000 MB\nMemFree: 1 kB\n"));
  EXPECT_FALSE(ParseMeminfo("MemTotal: 1000\nMemFree: 1 kB\n"));
  EXPECT_FALSE(ParseMeminfo("MemTotal: -1000 kB\nMemFree: 1 kB\n"));
  EXPECT_FALSE(ParseMeminfo("MemTotal: 1000 kB trailing\nMemFree: 1 kB\n"));

  // An absurd MemAvailable falls back to MemFree and friends.
  auto figures =
      ParseMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nMemAvailable: 99999999999999999999 kB\n");
  ASSERT_TRUE(figures);
  EXPECT_EQ(figures->memAvailable, 100 * kKb);

  // Available never above total, free swap never above total swap.
  figures =
      ParseMeminfo("MemTotal: 1000 kB\nMemAvailable: 1500 kB\nSwapTotal: 10 kB\nSwapFree: 20 kB\n");
  ASSERT_TRUE(figures);
  EXPECT_EQ(figures->memAvailable, 1000 * kKb);
  EXPECT_EQ(figures->swapFree, 10 * kKb);

  // No swap lines at all: no swap. The largest accepted figure is 2^44 kB.
  figures = ParseMeminfo("MemTotal:\t17592186044416 kB\r\nMemAvailable: 0 kB");
  ASSERT_TRUE(figures);
  EXPECT_EQ(figures->memTotal, std::int64_t{1} << 54);
  EXPECT_EQ(figures->swapTotal, 0);
  EXPECT_EQ(figures->swapFree, 0);
}

TEST(Meminfo, VmSizeOfStatusFiles) {
  EXPECT_EQ(ParseVmSize(ReadTestData("proc/swap/self/status")), 812344 * kKb);
  EXPECT_EQ(ParseVmSize(ReadTestData("proc/old-kernel/self/status")), 409600 * kKb);
  EXPECT_EQ(ParseVmSize("Name:\tkthreadd\nState:\tS (sleeping)\nThreads:\t1\n"), std::nullopt);
  EXPECT_EQ(ParseVmSize("VmSize:\tlots kB\n"), std::nullopt);
}

TEST(Meminfo, MemoryLoadRoundsHalfToEven) {
  const std::pair<std::int64_t, int> cases[] = {
      {75, 62},                      // 125 of 200 used: 62.5 -> 62
      {73, 64},                      // 63.5 -> 64
      {74, 63},                      // 63.0
      {0, 100}, {200, 0}, {199, 0},  // 0.5 -> 0
      {197, 2},                      // 1.5 -> 2
  };
  for (const auto& [available, load] : cases) {
    SCOPED_TRACE(available);
    const auto status = ComposeMemoryStatus({200, available, 0, 0}, 0, std::nullopt);
    EXPECT_EQ(status.memoryLoad, load);
  }
  // No memory reported at all: no division by zero.
  EXPECT_EQ(ComposeMemoryStatus({0, 0, 0, 0}, 0, std::nullopt).memoryLoad, 0);
}

TEST(Meminfo, VirtualSpaceIsTheAddressLimitLessWhatIsMapped) {
  const MeminfoFigures figures{1000, 500, 0, 0};
  auto status = ComposeMemoryStatus(figures, 300, std::uint64_t{1} << 30);
  EXPECT_EQ(status.totalVirtual, std::int64_t{1} << 30);
  EXPECT_EQ(status.availVirtual, (std::int64_t{1} << 30) - 300);

  status = ComposeMemoryStatus(figures, 300, std::nullopt);
  EXPECT_EQ(status.totalVirtual, ArchitectureAddressSpace());
  EXPECT_EQ(status.availVirtual, ArchitectureAddressSpace() - 300);
#if defined(__x86_64__)
  EXPECT_EQ(ArchitectureAddressSpace(), std::int64_t{1} << 47);
#endif

  // A limit beyond the architecture's space is no larger space; a mapping
  // beyond the limit leaves nothing, not a negative figure.
  EXPECT_EQ(ComposeMemoryStatus(figures, 0, ~std::uint64_t{0} - 1).totalVirtual,
            ArchitectureAddressSpace());
  EXPECT_EQ(ComposeMemoryStatus(figures, 5000, 4096).availVirtual, 0);
}

TEST(LinuxMemorySource, FillsTheStatusFromAProcTree) {
  const auto noLimit = [] { return std::optional<std::uint64_t>(); };
  LinuxMemorySource withSwap(TestDataDir() + "/proc/swap", noLimit);
  const auto status = withSwap.Read();
  ASSERT_TRUE(status);
  // (16312852 - 9765432) / 16312852 = 40.14 %
  EXPECT_EQ(status->memoryLoad, 40);
  EXPECT_EQ(status->totalPhys, 16312852 * kKb);
  EXPECT_EQ(status->availPhys, 9765432 * kKb);
  EXPECT_EQ(status->totalPageFile, 2097148 * kKb);
  EXPECT_EQ(status->availPageFile, 1572860 * kKb);
  EXPECT_EQ(status->totalVirtual, ArchitectureAddressSpace());
  EXPECT_EQ(status->availVirtual, ArchitectureAddressSpace() - 812344 * kKb);

  LinuxMemorySource noSwap(TestDataDir() + "/proc/noswap",
                           [] { return std::optional<std::uint64_t>(std::uint64_t{8} << 30); });
  const auto other = noSwap.Read();
  ASSERT_TRUE(other);
  EXPECT_EQ(other->memoryLoad, 2);  // 428428 of 24683772 kB in use: 1.74 %
  EXPECT_EQ(other->totalPageFile, 0);
  EXPECT_EQ(other->availPageFile, 0);
  EXPECT_EQ(other->totalVirtual, std::int64_t{8} << 30);
}

TEST(LinuxMemorySource, UnreadableFilesGiveNothing) {
  EXPECT_FALSE(LinuxMemorySource("/nonexistent/proc").Read());
  // meminfo without a status file beside it.
  test_support::TempDir dir;
  dir.Write("meminfo", ReadTestData("proc/swap/meminfo"));
  EXPECT_FALSE(LinuxMemorySource(dir.Path()).Read());
  dir.Write("self/status", "Name:\tx\n");
  EXPECT_FALSE(LinuxMemorySource(dir.Path()).Read());
  dir.Write("self/status", "VmSize:\t 100 kB\n");
  EXPECT_TRUE(LinuxMemorySource(dir.Path()).Read());
}

TEST(LinuxMemorySource, RealMachineFiguresHangTogether) {
  LinuxMemorySource source;
  const auto status = source.Read();
  ASSERT_TRUE(status);
  EXPECT_GT(status->totalPhys, 0);
  EXPECT_LE(status->availPhys, status->totalPhys);
  EXPECT_LE(status->availPageFile, status->totalPageFile);
  EXPECT_GT(status->availVirtual, 0);
  EXPECT_LT(status->availVirtual, status->totalVirtual);
  EXPECT_GE(status->memoryLoad, 0);
  EXPECT_LE(status->memoryLoad, 100);
}

}  // namespace
}  // namespace zub
