// The file search and the directory tree end to end, for side-by-side runs
// against find, and their peak resident size:
//   bench_search walk DIR MASK    the search's walk into its grid
//   bench_search search DIR MASK  walk, grid and the exact size sort
//   bench_search tree DIR         Execute: the walk with every size, the nodes
//   bench_search rows N           a search grid of N found files, sorted
//   bench_search nodes N          a tree of N directories, sorted
//   bench_search                  each of them once, on /usr (as make bench runs it)
// Compare with find DIR -xdev -iname MASK ! -type d (walk),
// find DIR -xdev ! -type d -printf '%s %p\n' (tree) and that piped into sort -rn (search).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "files/DirectoryTree.h"
#include "files/FileSearch.h"
#include "platform/linux/LinuxDirectorySource.h"

namespace {

std::string PeakResident() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return line;
    }
  }
  return "VmHWM: unknown";
}

}  // namespace

int Run(int argc, char** argv);

int main(int argc, char** argv) {
  if (argc == 1) {
    // As `make bench` runs it: every mode once, each in a process of its own
    // so each peak is its own.
    const std::string self = argv[0];
    for (const char* args :
         {"walk /usr '*.txt'", "search /usr '*.*'", "tree /usr", "rows 1000000", "nodes 100000"}) {
      std::printf("%s: ", args);
      std::fflush(stdout);
      if (std::system((self + " " + args).c_str()) != 0) {
        return 1;
      }
    }
    return 0;
  }
  return Run(argc, argv);
}

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s walk|search DIR MASK | tree DIR | rows N | nodes N\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  zub::LinuxDirectorySource source;
  zub::SearchRows rows;
  zub::SearchFlags flags;
  if (mode == "walk" || mode == "search") {
    const std::string mask = argc > 3 ? argv[3] : "";
    zub::SearchWalk(source, argv[2], mask, rows, flags, {});
    if (mode == "search") {
      zub::SearchSort(rows.grid, zub::SortKey::skSizeText, zub::SortDirection::Descending, flags,
                      {});
    }
    std::printf("%zu rows, %lld bytes\n", rows.grid.RowCount(), static_cast<long long>(rows.total));
  } else if (mode == "tree") {
    zub::DirectoryTree tree;
    zub::TreeScan scan(tree);
    zub::ExecuteTree(source, argv[2], scan);
    std::printf("%zu nodes, %s\n", tree.NodeCount(), zub::TreePanelText(scan.State()).c_str());
  } else if (mode == "rows") {
    const long n = std::atol(argv[2]);
    const std::string directory = "/home/someone/projects/zub97/build/tests/files/data/";
    for (long i = 0; i < n; ++i) {
      zub::AddSearchRow(rows, directory,
                        {"file_" + std::to_string(i) + ".txt", (i * 7919) % 100000, 0});
    }
    zub::SearchSort(rows.grid, zub::SortKey::skSizeText, zub::SortDirection::Descending, flags, {});
    std::printf("%zu rows\n", rows.grid.RowCount());
  } else if (mode == "nodes") {
    const long n = std::atol(argv[2]);
    zub::DirectoryTree tree;
    tree.AddLevelNode(1, "/home/someone/");
    for (long i = 0; i < n; ++i) {
      tree.AddLevelNode(2, zub::ChildNodeText((i * 7919) % 100000000,
                                              "/home/someone/projects/zub97/build/directory_" +
                                                  std::to_string(i) + "/"));
    }
    tree.SortSiblings(zub::TreeOrder());
    std::printf("%zu nodes, %zu bytes\n", tree.NodeCount(), tree.Bytes());
  }
  std::printf("%s\n", PeakResident().c_str());
  return 0;
}
