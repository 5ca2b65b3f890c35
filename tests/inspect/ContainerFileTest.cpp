// A process in another mount namespace (a container, a sandbox) names files
// of its own view: the tree's line opens that file, not this machine's file
// of the same path.
#include <unistd.h>

#include <gtest/gtest.h>

#include "fakes/FakeVersionSources.h"
#include "inspect/ExecutableBuilder.h"
#include "inspect/ProcessTree.h"
#include "inspect/Version.h"
#include "platform/linux/LinuxElfSource.h"
#include "platform/linux/LinuxProcessSource.h"
#include "platform/linux/PeVersionFile.h"
#include "support/TempDir.h"

namespace zub {
namespace {

constexpr const char* kLibc = "/usr/lib/x86_64-linux-gnu/libc.so.6";
constexpr const char* kStat = " (app) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1\n";

TEST(ContainerFiles, LinesOfAProcessInAnotherNamespaceOpenItsOwnFiles) {
  test_support::TempDir proc;
  proc.MakeDirs("self/ns");
  ASSERT_EQ(::symlink("mnt:[4026531841]", (proc / "self/ns/mnt").c_str()), 0);
  // 42 runs in a container, 43 beside this program.
  for (const std::string pid : {"42", "43"}) {
    proc.Write(pid + "/stat", pid + kStat);
    proc.Write(pid + "/maps", std::string("1000-2000 r-xp 00000000 08:01 77 ") + kLibc + "\n");
    proc.MakeDirs(pid + "/ns");
    ASSERT_EQ(::symlink("/usr/bin/app", (proc / (pid + "/exe")).c_str()), 0);
  }
  ASSERT_EQ(::symlink("mnt:[4026532500]", (proc / "42/ns/mnt").c_str()), 0);
  ASSERT_EQ(::symlink("mnt:[4026531841]", (proc / "43/ns/mnt").c_str()), 0);
  // The container's libc is another file than any host's: its own soname.
  proc.Write(std::string("42/root") + kLibc, test_support::BuildElf({}));

  LinuxProcessSource source(proc.Path());
  ProcessTree tree;
  BuildMemTree(source, tree);
  // 0 heading; 1 container app, 2 header, 3 libc, ...; 6 host app, 7 header, 8 libc.
  ASSERT_EQ(tree.Text(3), std::string(kLibc) + " * size is 4096 bytes has been used 2 times");
  EXPECT_EQ(tree.Text(1), "/usr/bin/app * has been used 1 times ");
  EXPECT_EQ(tree.FilePath(1), proc / "42/root/usr/bin/app");
  EXPECT_EQ(tree.FilePath(3), proc / "42/root" + kLibc);
  EXPECT_EQ(tree.FilePath(8), kLibc);

  linux_platform::PeVersionFile pe;
  linux_platform::LinuxElfSource elf;
  fakes::FakePackageDatabase packages;
  packages.owners[kLibc] = {"libc6", "2.36-9", "GNU C Library: Shared libraries", ""};
  TVersionResource resource({pe, elf, packages}, "/proc/self/exe");
  resource.SetFileName(tree.FilePath(3));
  EXPECT_EQ(resource.VersionInfo().InternalName, "libzub.so.1");
  // This machine's package database does not describe the container's file.
  EXPECT_EQ(resource.VersionInfo().ProductName, "");
}

}  // namespace
}  // namespace zub
