// File version information: ReadVersionInfo of a small and a half-gigabyte PE
// file, and the package owner lookup on a database of 2,000 packages.
#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "inspect/ExecutableBuilder.h"
#include "inspect/Version.h"
#include "platform/linux/DpkgDatabase.h"
#include "platform/linux/LinuxElfSource.h"
#include "platform/linux/PeVersionFile.h"
#include "support/TempDir.h"

namespace {

using namespace zub;
using namespace zub::test_support;

std::string WritePe(const TempDir& dir, const std::string& name, std::uint32_t gap) {
  const std::string block =
      VersionInfoNode({}, {{"040904E4", {{"CompanyName", "Zub"}, {"ProductVersion", "3.0"}}}})
          .Bytes();
  const PeImage image = BuildPe(block, true, gap);
  const std::string path = dir / name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const bool ok =
      ::pwrite(fd, image.head.data(), image.head.size(), 0) ==
          static_cast<ssize_t>(image.head.size()) &&
      ::pwrite(fd, image.resource.data(), image.resource.size(),
               static_cast<off_t>(image.resourceOffset)) ==
          static_cast<ssize_t>(image.resource.size()) &&
      ::ftruncate(fd, static_cast<off_t>(image.resourceOffset + image.resource.size() + gap)) == 0;
  ::close(fd);
  return ok ? path : "";
}

void ReadVersionInfo(benchmark::State& state, std::uint32_t gap) {
  const TempDir dir;
  const std::string path = WritePe(dir, "file.dll", gap);
  linux_platform::PeVersionFile pe;
  linux_platform::LinuxElfSource elf;
  linux_platform::DpkgDatabase none("/nonexistent", "/nonexistent");
  TVersionResource resource({pe, elf, none}, path);
  if (resource.VersionInfo().CompanyName != "Zub") {
    state.SkipWithError("the built file did not read");
    return;
  }
  for (auto _ : state) {
    resource.ReadVersionInfo();
    benchmark::DoNotOptimize(resource.VersionInfo().CompanyName.data());
  }
}

void BM_ReadVersionInfoSmallPe(benchmark::State& state) {
  ReadVersionInfo(state, 0);
}
BENCHMARK(BM_ReadVersionInfoSmallPe)->Unit(benchmark::kMicrosecond);

// 500 MB of other sections (a hole on disk) before the resources.
void BM_ReadVersionInfoHalfGigabytePe(benchmark::State& state) {
  ReadVersionInfo(state, 500U << 20);
}
BENCHMARK(BM_ReadVersionInfoHalfGigabytePe)->Unit(benchmark::kMicrosecond);

// 2,000 packages of 175 paths each, as many as a full desktop installs; each
// iteration is a new database's first answer, index included.
void BM_PackageOwnerFirstLookup2000Packages(benchmark::State& state) {
  const TempDir dir;
  std::ofstream status(dir / "dpkg/status");
  dir.MakeDirs("dpkg/info");
  std::string last;
  for (int p = 0; p < 2000; ++p) {
    const std::string name = "package" + std::to_string(p);
    status << "Package: " << name << "\nStatus: install ok installed\nArchitecture: amd64\n"
           << "Version: 1." << p << "-1\nDescription: package number " << p << "\n long text\n\n";
    std::ofstream list(dir / ("dpkg/info/" + name + ":amd64.list"));
    for (int f = 0; f < 175; ++f) {
      last = "/lib/x86_64-linux-gnu/" + name + "/module" + std::to_string(f) + ".so.1";
      list << last << '\n';
    }
  }
  status.close();
  const std::string asked = "/usr" + last;
  for (auto _ : state) {
    linux_platform::DpkgDatabase db(dir / "dpkg", dir / "doc");
    const auto owner = db.Owner(asked);
    if (!owner || owner->name != "package1999") {
      state.SkipWithError("the owner was not found");
      return;
    }
  }
}
BENCHMARK(BM_PackageOwnerFirstLookup2000Packages)->Unit(benchmark::kMillisecond);

void BM_PackageOwnerNextLookupThisMachine(benchmark::State& state) {
  linux_platform::DpkgDatabase db("/var/lib/dpkg", "/usr/share/doc");
  if (!db.Owner("/usr/lib/x86_64-linux-gnu/libc.so.6")) {
    state.SkipWithError("no dpkg database with libc6 here");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(db.Owner("/usr/bin/ls"));
  }
}
BENCHMARK(BM_PackageOwnerNextLookupThisMachine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
