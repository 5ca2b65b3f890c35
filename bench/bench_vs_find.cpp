// The walk, search, tree and listing against find, side by side: each pair
// of commands runs in turn (ours, then the peer, five times each after a
// warm-up), and the ratio of the median wall times is printed with its
// target, then the ratio of the median CPU times (user and system, every
// process of the command): steadier than wall time on a shared machine.
// Output goes to /dev/null for both.
//   bench_vs_find                 on trees made (once) under $TMPDIR/zub97-bench
//   bench_vs_find TREE FLAT [ROOT]  on given trees; ROOT adds the whole-drive search
// TREE is a nested tree (make_bench_tree tree DIR 300000 10), FLAT one
// directory of many files (make_bench_tree flat DIR 200000).
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Times {
  double wall = 0;
  double cpu = 0;
};

double CpuOfChildren() {
  struct rusage usage {};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Times Run(const std::string& command) {
  const double cpu = CpuOfChildren();
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(("exec >/dev/null 2>&1; " + command).c_str());
  const auto end = std::chrono::steady_clock::now();
  if (status != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
  }
  return {std::chrono::duration<double>(end - start).count(), CpuOfChildren() - cpu};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// Ours against the peer, interleaved; prints the medians and their ratio.
void Compare(const char* what, const std::string& ours, const std::string& peer, double target,
             int runs = 5) {
  Run(ours);
  Run(peer);
  std::vector<double> a;
  std::vector<double> b;
  std::vector<double> aCpu;
  std::vector<double> bCpu;
  for (int i = 0; i < runs; ++i) {
    const Times mine = Run(ours);
    const Times theirs = Run(peer);
    a.push_back(mine.wall);
    b.push_back(theirs.wall);
    aCpu.push_back(mine.cpu);
    bCpu.push_back(theirs.cpu);
  }
  const double ratio = Median(a) / Median(b);
  std::printf("%-34s ours %7.3f s  peer %7.3f s  ratio %.2f (target <= %.2f)%s  CPU ratio %.2f\n",
              what, Median(a), Median(b), ratio, target, ratio <= target ? "" : "  MISSED",
              Median(aCpu) / Median(bCpu));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string self = argv[0];
  const std::string here = self.substr(0, self.find_last_of('/') + 1);
  const std::string report = here + "../src/app/zub97-report";
  std::string tree = argc > 2 ? argv[1] : "";
  std::string flat = argc > 2 ? argv[2] : "";
  const std::string root = argc > 3 ? argv[3] : "";
  if (tree.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = std::string(tmp != nullptr ? tmp : "/tmp") + "/zub97-bench";
    ::mkdir(base.c_str(), 0755);
    tree = base + "/tree";
    flat = base + "/flat";
    if (!Exists(tree)) {
      std::printf("making %s (300,000 files)...\n", tree.c_str());
      std::fflush(stdout);
      Run(Quoted(here + "make_bench_tree") + " tree " + Quoted(tree) + " 300000 10");
    }
    if (!Exists(flat)) {
      std::printf("making %s (200,000 files)...\n", flat.c_str());
      std::fflush(stdout);
      Run(Quoted(here + "make_bench_tree") + " flat " + Quoted(flat) + " 200000");
    }
  }
  const std::string r = Quoted(report);
  const std::string t = Quoted(tree);
  const std::string f = Quoted(flat);
  Compare("search '*.*' vs find | sort -rn", r + " search " + t + " '*.*'",
          "find " + t + " -xdev ! -type d -printf '%s %p\\n' | sort -rn", 0.6);
  Compare("tree vs find -printf", r + " tree " + t,
          "find " + t + " -xdev ! -type d -printf '%s %p\\n'", 0.5);
  Compare("search '*.txt' vs find -iname", r + " search " + t + " '*.txt'",
          "find " + t + " -xdev ! -type d -iname '*.txt'", 0.6);
  Compare("list 200,000 vs find -maxdepth 1 | sort", r + " list " + f,
          "find " + f + " -maxdepth 1 ! -type d -printf '%s %f\\n' | sort -rn", 0.7);
  if (!root.empty()) {
    Compare("whole drive search vs find | sort", r + " search " + Quoted(root) + " '*.*'",
            "find " + Quoted(root) + " -xdev ! -type d -printf '%s %p\\n' | sort -rn", 0.6, 5);
  }
  return 0;
}
