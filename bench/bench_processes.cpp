// The cost of one process snapshot with every module turned into tree
// lines, beside plainly reading every process's maps (what `cat` does).
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "inspect/ProcessTree.h"
#include "platform/linux/LinuxProcessSource.h"

namespace {

void BM_SnapshotToTreeLines(benchmark::State& state) {
  zub::LinuxProcessSource source;
  zub::ProcessTree tree;
  std::size_t lines = 0;
  for (auto _ : state) {
    // Writable: newer Google Benchmark deprecates DoNotOptimize of a const.
    auto counters = zub::BuildMemTree(source, tree);
    benchmark::DoNotOptimize(counters);
    lines = tree.Size();
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_SnapshotToTreeLines)->Unit(benchmark::kMillisecond);

// Every /proc/<pid>/maps read once and thrown away.
void BM_ReadEveryMaps(benchmark::State& state) {
  std::vector<char> buffer(1 << 16);
  for (auto _ : state) {
    DIR* dir = ::opendir("/proc");
    std::size_t bytes = 0;
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] < '0' || entry->d_name[0] > '9') {
        continue;
      }
      const std::string path = std::string("/proc/") + entry->d_name + "/maps";
      const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      if (fd < 0) {
        continue;
      }
      ssize_t n = 0;
      while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) {
        bytes += static_cast<std::size_t>(n);
      }
      ::close(fd);
    }
    ::closedir(dir);
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_ReadEveryMaps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
