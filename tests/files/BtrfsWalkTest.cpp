// The walk on a real btrfs image: nested subvolumes (other device numbers,
// no mount) are walked; a tmpfs and a bind mount inside it are not. Needs
// root, a loop device, btrfs in the kernel and mkfs.btrfs; skipped with its
// reason elsewhere.
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/ReportTree.h"
#include "files/DirectoryScan.h"
#include "platform/linux/LinuxDirectorySource.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::TempDir;

bool Shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string WhyNot() {
  if (::geteuid() != 0) {
    return "mounting needs root";
  }
  std::ifstream filesystems("/proc/filesystems");
  const std::string known((std::istreambuf_iterator<char>(filesystems)),
                          std::istreambuf_iterator<char>());
  if (known.find("btrfs") == std::string::npos && !Shell("modprobe btrfs")) {
    return "no btrfs in this kernel";
  }
  if (!Shell("command -v mkfs.btrfs") || !Shell("command -v btrfs")) {
    return "mkfs.btrfs and btrfs (btrfs-progs) are not installed";
  }
  return "";
}

// Unmounts whatever it was told about, deepest first, however the test ends.
class Mounts {
 public:
  ~Mounts() {
    for (auto it = points_.rbegin(); it != points_.rend(); ++it) {
      if (::umount(it->c_str()) != 0) {
        ::umount2(it->c_str(), MNT_DETACH);
      }
    }
  }
  bool Mount(const std::string& command, const std::string& point) {
    if (!Shell(command)) {
      return false;
    }
    points_.push_back(point);
    return true;
  }

 private:
  std::vector<std::string> points_;
};

TEST(BtrfsWalkTest, NestedSubvolumesAreWalkedMountsInsideAreNot) {
  if (const std::string reason = WhyNot(); !reason.empty()) {
    GTEST_SKIP() << reason;
  }
  TempDir tmp;
  const std::string image = tmp / "image";
  const std::string m = tmp / "m";
  tmp.MakeDirs("m");
  ASSERT_TRUE(Shell("truncate -s 128M '" + image + "' && mkfs.btrfs -q '" + image + "'"));
  Mounts mounts;
  if (!mounts.Mount("mount -o loop '" + image + "' '" + m + "'", m)) {
    GTEST_SKIP() << "the image cannot be mounted here (no free loop device?)";
  }
  ASSERT_TRUE(Shell("btrfs subvolume create '" + m + "/sub'"));
  ASSERT_TRUE(Shell("btrfs subvolume create '" + m + "/sub/inner'"));
  tmp.Write("m/a", "1");
  tmp.Write("m/.dot/d", "22");
  tmp.Write("m/sub/s", "333");
  tmp.Write("m/sub/inner/i", "4444");
  tmp.Write("m/bound-source/b", "55555");
  tmp.MakeDirs("m/t");
  tmp.MakeDirs("m/sub/bound");
  ASSERT_TRUE(mounts.Mount("mount -t tmpfs none '" + m + "/t'", m + "/t"));
  tmp.Write("m/t/x", "666666");
  ASSERT_TRUE(mounts.Mount("mount --bind '" + m + "/bound-source' '" + m + "/sub/bound'",
                           m + "/sub/bound"));

  LinuxDirectorySource source;
  std::vector<std::string> seen;
  EXPECT_TRUE(WalkDirectoryTree(source, m, "*", [&](const std::string& dir, const FileEntry& e) {
    seen.push_back(dir.substr(m.size()) + e.name);
    return true;
  }));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"/.dot/d", "/a", "/bound-source/b", "/sub/inner/i",
                                            "/sub/s"}));

  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteTreeReport({m}, source, out, err), 0);
  EXPECT_NE(out.str().find("Number of Files = 5\n"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace zub
