// Resident size of a grid of 1,000,000 rows of 60-byte paths, beyond the
// texts themselves: read from /proc/self/statm before and after filling.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "files/FileGrid.h"

namespace {

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

}  // namespace

int main() {
  constexpr std::size_t kRows = 1'000'000;
  constexpr std::size_t kPathBytes = 60;
  const long before = ResidentBytes();
  zub::FileGrid grid(zub::GridKind::FileSearch);
  std::string path(kPathBytes, 'p');
  for (std::size_t i = 0; i < kRows; ++i) {
    const std::string number = std::to_string(i);
    path.replace(kPathBytes - number.size(), number.size(), number);
    grid.SetRowCount(i + 1);
    grid.FillRow(i, path, static_cast<std::int64_t>(i));
  }
  grid.Compact();
  const long after = ResidentBytes();
  const double perRow = static_cast<double>(after - before) / kRows;
  std::printf(
      "grid of %zu rows of %zu-byte paths: %.1f resident bytes a row, %.1f beyond the text"
      " (target: at most 150)\n",
      kRows, kPathBytes, perRow, perRow - static_cast<double>(kPathBytes));
  return perRow - static_cast<double>(kPathBytes) <= 150.0 ? 0 : 1;
}
