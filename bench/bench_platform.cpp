// Costs of the platform reads the main window repeats on every activation and timer tick.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/linux/LinuxDriveTable.h"
#include "platform/linux/LinuxMemorySource.h"
#include "platform/linux/LinuxResourceSource.h"
#include "platform/linux/Mountinfo.h"

namespace {

// A busy desktop's table: pseudo file systems, snaps, binds, a few disks.
std::string MountinfoOf200Lines() {
  const char* const kinds[] = {
      " 0:%d / /sys/fs/cgroup/x%d rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw",
      " 7:%d / /snap/app%d/1 ro,nodev,relatime shared:33 - squashfs /dev/loop3 ro,errors=continue",
      " 8:%d / /mnt/disk%d rw,relatime shared:35 - ext4 /dev/sdb1 rw,errors=remount-ro",
      " 0:%d / /run/user/1000/x%d rw,nosuid,nodev,relatime shared:246 - tmpfs tmpfs rw,mode=700",
      " 8:%d /srv/share /media/ann/My\\040Disk%d rw,relatime shared:41 - ext4 /dev/sda1 rw",
  };
  std::string text = "29 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n";
  char line[256];
  for (int i = 1; i < 200; ++i) {
    const int n = std::snprintf(line, sizeof line, kinds[i % 5], 40 + i, i);
    text += std::to_string(100 + i) + " 29" + std::string(line, static_cast<std::size_t>(n)) + "\n";
  }
  return text;
}

void BM_ParseMountinfo200Lines(benchmark::State& state) {
  const std::string text = MountinfoOf200Lines();
  for (auto _ : state) {
    benchmark::DoNotOptimize(zub::ParseMountinfo(text));
  }
  state.counters["entries"] = static_cast<double>(zub::ParseMountinfo(text).size());
}
BENCHMARK(BM_ParseMountinfo200Lines);

void BM_SelectDrivesOf200Lines(benchmark::State& state) {
  const auto entries = zub::ParseMountinfo(MountinfoOf200Lines());
  for (auto _ : state) {
    benchmark::DoNotOptimize(zub::SelectDrives(entries));
  }
  state.counters["drives"] = static_cast<double>(zub::SelectDrives(entries).size());
}
BENCHMARK(BM_SelectDrivesOf200Lines);

void BM_DrivesOfThisMachine(benchmark::State& state) {
  zub::LinuxDriveTable table;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.Drives());
  }
}
BENCHMARK(BM_DrivesOfThisMachine);

void BM_MemoryStatusOfThisMachine(benchmark::State& state) {
  zub::LinuxMemorySource source;
  for (auto _ : state) {
    benchmark::DoNotOptimize(source.Read());
  }
}
BENCHMARK(BM_MemoryStatusOfThisMachine);

// The title summary reads all three on every 6000 ms tick; User walks /proc.
void BM_ResourceReading(benchmark::State& state) {
  zub::LinuxResourceSource source;
  const int index = static_cast<int>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(source.Read(index));
  }
}
BENCHMARK(BM_ResourceReading)->Arg(0)->Arg(1)->Arg(2);

}  // namespace

BENCHMARK_MAIN();
