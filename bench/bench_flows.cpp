// The search and the tree scan as the windows run them (a worker streaming
// its results to a tick every 15 ms, as the window's loop does) against the
// same work done in one go as zub97-report does it, interleaved:
//   bench_flows [DIR [MASK [ROUNDS]]]    default /usr, *.*, 5 rounds
// Prints the median of each and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include "files/DirectoryTree.h"
#include "files/SearchFlow.h"
#include "files/TreeFlow.h"
#include "platform/linux/LinuxDirectorySource.h"

namespace {

using Clock = std::chrono::steady_clock;

class Silent : public zub::Prompts {
 public:
  void ShowMessage(const std::string&) override {}
  zub::Answer Ask(const std::string&, bool) override { return zub::Answer::Yes; }
  std::optional<zub::ColorRef> ChooseColor(zub::ColorRef) override { return std::nullopt; }
  std::optional<zub::Font> ChooseFont(const zub::Font&) override { return std::nullopt; }
};

// Ticks as the window's loop does, every 15 ms.
void Drive(zub::Flow& flow) {
  while (flow.Tick()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
  }
}

// Wall seconds, and the process's processor seconds (user and system, both
// threads): the second is what the streaming itself costs, less swayed by a
// loaded machine.
struct Cost {
  double wall = 0;
  double cpu = 0;
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Cost Measure(const std::function<void()>& work) {
  const auto start = Clock::now();
  const double cpu = CpuSeconds();
  work();
  return {std::chrono::duration<double>(Clock::now() - start).count(), CpuSeconds() - cpu};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Compare(const char* what, const std::function<void()>& oneGo,
             const std::function<void()>& asWindow, int rounds) {
  std::vector<Cost> plain;
  std::vector<Cost> streamed;
  // Each goes first every other round, so neither always finds a warmer cache.
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) {
      plain.push_back(Measure(oneGo));
      streamed.push_back(Measure(asWindow));
    } else {
      streamed.push_back(Measure(asWindow));
      plain.push_back(Measure(oneGo));
    }
  }
  const auto median = [](const std::vector<Cost>& costs, double Cost::*part) {
    std::vector<double> values;
    for (const Cost& cost : costs) {
      values.push_back(cost.*part);
    }
    return Median(values);
  };
  const double wallA = median(plain, &Cost::wall);
  const double wallB = median(streamed, &Cost::wall);
  const double cpuA = median(plain, &Cost::cpu);
  const double cpuB = median(streamed, &Cost::cpu);
  std::printf("%s: wall report %.3f s, window %.3f s, ratio %.3f; cpu %.3f s, %.3f s, ratio %.3f\n",
              what, wallA, wallB, wallB / wallA, cpuA, cpuB, cpuB / cpuA);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "/usr";
  const std::string mask = argc > 2 ? argv[2] : "*.*";
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  zub::LinuxDirectorySource source;
  Silent prompts;
  zub::FlowView view;

  Compare(
      "search",
      [&] {
        zub::SearchRows rows;
        zub::SearchFlags flags;
        zub::RunSearch(source, {}, prompts, dir, mask, rows, flags, {}, [](const std::string&) {});
      },
      [&] {
        zub::SearchRows rows;
        zub::SearchFlow flow(source, prompts, rows, view);
        flow.Begin({}, dir, mask);
        Drive(flow);
      },
      rounds);
  Compare(
      "tree",
      [&] {
        zub::DirectoryTree tree;
        zub::TreeScan scan(tree);
        zub::ExecuteTree(source, dir, scan);
      },
      [&] {
        zub::DirectoryTree tree;
        zub::TreeFlow flow(source, tree, view);
        flow.BeginExecute(dir);
        Drive(flow);
      },
      rounds);
  return 0;
}
