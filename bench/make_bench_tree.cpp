// Makes the benchmark trees out of sparse files (ftruncate: sizes without
// blocks), so anyone can rebuild them in a temporary folder in seconds.
//   make_bench_tree flat DIR FILES         one directory of FILES files
//   make_bench_tree tree DIR FILES FANOUT  FILES files spread over nested directories
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

bool Sparse(const std::string& path, off_t size) {
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  const bool ok = ::ftruncate(fd, size) == 0;
  ::close(fd);
  return ok;
}

// Sizes with many repeats, as real directories have (0-byte files, equal builds).
off_t SizeOf(std::mt19937_64& random) {
  const unsigned pick = random() % 10;
  if (pick == 0) {
    return 0;
  }
  if (pick < 4) {
    return static_cast<off_t>(4096 * (random() % 8));
  }
  return static_cast<off_t>(random() % 50'000'000);
}

const char* const kExtensions[] = {".txt", ".so", ".h", ".cpp", ".png", "", ".TXT", ".tar.gz"};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s flat DIR FILES | tree DIR FILES FANOUT\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  const std::string root = argv[2];
  const long files = std::atol(argv[3]);
  const long fanout = argc > 4 ? std::max(2L, std::atol(argv[4])) : 10;
  std::mt19937_64 random(97);
  ::mkdir(root.c_str(), 0755);
  for (long i = 0; i < files; ++i) {
    std::string dir = root;
    if (mode == "tree") {
      // File i lives in a directory path made from the digits of i / 20 in
      // base FANOUT: about 20 files a directory, a few levels deep.
      for (long rest = i / 20; rest > 0; rest /= fanout) {
        dir += "/d" + std::to_string(rest % fanout);
        ::mkdir(dir.c_str(), 0755);
      }
    }
    const std::string name =
        dir + "/File_" + std::to_string(i) + kExtensions[random() % std::size(kExtensions)];
    if (!Sparse(name, SizeOf(random))) {
      std::perror(name.c_str());
      return 1;
    }
  }
  return 0;
}
