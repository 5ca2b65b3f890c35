// One walk over a tree with a mask, as the file search does it: prints the
// number of matching files and their bytes. Compare it with
//   find DIR -xdev -iname MASK ! -type d
//   bench_walk [DIR [MASK]]   (default: /usr and *.txt)
#include <cstdio>
#include <string>

#include "files/DirectoryScan.h"
#include "platform/linux/LinuxDirectorySource.h"

int main(int argc, char** argv) {
  const std::string start = argc > 1 ? argv[1] : "/usr";
  const std::string mask = argc > 2 ? argv[2] : "*.txt";
  zub::LinuxDirectorySource source;
  long long files = 0;
  long long bytes = 0;
  zub::WalkDirectoryTree(source, start, mask,
                         [&](const std::string& directory, const zub::FileEntry& entry) {
                           // The search makes each row's text from the path; so does this.
                           const std::string text = zub::NameText(directory + entry.name);
                           files += text.empty() ? 0 : 1;
                           bytes += entry.size;
                           return true;
                         });
  std::printf("%s %s: %lld files, %lld bytes\n", start.c_str(), mask.c_str(), files, bytes);
  return 0;
}
