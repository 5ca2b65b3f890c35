// Runs in a process of its own: HOME and XDG_DATA_HOME point at a temporary
// folder before GLib reads them.
#include "platform/linux/XdgTrash.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/linux/LinuxDirectorySource.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::ReadFile;
using test_support::TempDir;

TempDir* home = nullptr;

TEST(XdgTrashTest, FileLandsInTheHomeTrashWithItsOriginalPathByExactBytes) {
  const std::string name = "odd\xFF name";
  home->Write("docs/" + name, "data");
  XdgTrash trash;
  const TrashResult result = trash.Move(*home / ("docs/" + name));
  ASSERT_EQ(result.outcome, TrashResult::Outcome::Done) << result.detail;
  LinuxDirectorySource files;
  EXPECT_EQ(files.StatPath(*home / ("docs/" + name)), PathState::Absent);
  EXPECT_EQ(ReadFile(*home / ("data/Trash/files/" + name)), "data");
  const std::string info = ReadFile(*home / ("data/Trash/info/" + name + ".trashinfo"));
  EXPECT_NE(info.find("Path=" + home->Path() + "/docs/odd%FF%20name"), std::string::npos) << info;
}

TEST(XdgTrashTest, AMissingFileFailsAndASystemMountRefusesKeepingTheFile) {
  XdgTrash trash;
  EXPECT_NE(trash.Move(*home / "none").outcome, TrashResult::Outcome::Done);

  struct stat shm {
  }, own{};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(home->Path().c_str(), &own) != 0 ||
      shm.st_dev == own.st_dev || ::access("/dev/shm", W_OK) != 0) {
    GTEST_SKIP() << "no separate /dev/shm here";
  }
  const std::string path = "/dev/shm/zub-trash-test-" + std::to_string(::getpid());
  {
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
  }
  const TrashResult result = trash.Move(path);
  LinuxDirectorySource files;
  EXPECT_NE(result.outcome, TrashResult::Outcome::Done);
  EXPECT_EQ(files.StatPath(path), PathState::File);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace zub

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  auto home = std::make_unique<zub::test_support::TempDir>();
  ::setenv("HOME", home->Path().c_str(), 1);
  ::setenv("XDG_DATA_HOME", (*home / "data").c_str(), 1);
  zub::home = home.get();
  return RUN_ALL_TESTS();
}
