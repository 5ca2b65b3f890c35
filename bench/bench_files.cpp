// The grid sort against std::stable_sort of the same keys, and the grid's
// memory for a whole disk's worth of rows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "files/FileEntry.h"
#include "files/FileGrid.h"
#include "files/SortGrid.h"

namespace {

using zub::FileGrid;

constexpr std::size_t kRows = 1'000'000;

struct Rows {
  std::vector<std::string> paths;  // 60 bytes each
  std::vector<std::int64_t> sizes;
};

const Rows& TestRows() {
  static const Rows rows = [] {
    Rows r;
    std::mt19937_64 random(97);
    for (std::size_t i = 0; i < kRows; ++i) {
      std::string path = "/home/ann/projects/" + std::to_string(random() % 5000) + "/src/File" +
                         std::to_string(random());
      path.resize(60, 'x');
      r.paths.push_back(path);
      // Many equal sizes, as on a real disk.
      r.sizes.push_back(random() % 3 == 0 ? 4096
                                          : static_cast<std::int64_t>(random() % 100'000'000));
    }
    return r;
  }();
  return rows;
}

FileGrid Filled() {
  const Rows& rows = TestRows();
  FileGrid grid(zub::GridKind::FileSearch);
  grid.SetRowCount(kRows);
  for (std::size_t i = 0; i < kRows; ++i) {
    grid.FillRow(i, rows.paths[i], rows.sizes[i]);
  }
  return grid;
}

void BM_SortGridBySizeDescending(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    FileGrid grid = Filled();
    state.ResumeTiming();
    zub::SortGrid(grid, zub::SortKey::skSizeText, zub::SortDirection::Descending);
    benchmark::DoNotOptimize(grid.Size(0));
  }
}

void BM_StableSortSizeTexts(benchmark::State& state) {
  std::vector<std::string> keys;
  for (const std::int64_t size : TestRows().sizes) {
    keys.push_back(zub::SizeText(size));
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = keys;
    state.ResumeTiming();
    std::stable_sort(copy.begin(), copy.end(), std::greater<>());
    benchmark::DoNotOptimize(copy.data());
  }
}

void BM_StableSortSizeValues(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::int64_t> copy = TestRows().sizes;
    state.ResumeTiming();
    std::stable_sort(copy.begin(), copy.end(), std::greater<>());
    benchmark::DoNotOptimize(copy.data());
  }
}

void BM_SortGridByNameAscending(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    FileGrid grid = Filled();
    state.ResumeTiming();
    zub::SortGrid(grid, zub::SortKey::skNameText, zub::SortDirection::Ascending);
    benchmark::DoNotOptimize(grid.Size(0));
  }
}

void BM_StableSortNameTexts(benchmark::State& state) {
  std::vector<std::string> keys;
  for (const std::string& path : TestRows().paths) {
    keys.push_back(zub::NameText(path));
  }
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> copy = keys;
    state.ResumeTiming();
    std::stable_sort(copy.begin(), copy.end());
    benchmark::DoNotOptimize(copy.data());
  }
}

void BM_GridOverheadPerRow(benchmark::State& state) {
  for (auto _ : state) {
    FileGrid grid = Filled();
    grid.Compact();
    state.counters["overhead_bytes_per_row"] =
        static_cast<double>(grid.OverheadBytes()) / static_cast<double>(kRows);
  }
}

}  // namespace

BENCHMARK(BM_SortGridBySizeDescending)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StableSortSizeTexts)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StableSortSizeValues)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortGridByNameAscending)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StableSortNameTexts)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridOverheadPerRow)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
