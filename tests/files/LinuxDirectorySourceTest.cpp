#include "platform/linux/LinuxDirectorySource.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ReportTree.h"
#include "files/DirectoryScan.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::TempDir;

std::map<std::string, std::int64_t> Listed(LinuxDirectorySource& source, const std::string& dir) {
  FileGrid grid(GridKind::DirectorySpace);
  ListDirectory(source, dir, grid, SortKey::skSizeText, SortDirection::Descending);
  std::map<std::string, std::int64_t> rows;
  for (std::size_t row = 0; row < grid.RowCount(); ++row) {
    if (grid.State(row) == CellState::Filled) {
      rows[std::string(grid.ExactName(row))] = grid.Size(row);
    }
  }
  return rows;
}

void Sparse(const std::string& path, off_t size) {
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, size), 0);
  ::close(fd);
}

int OpenDescriptors() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (::readdir(dir) != nullptr) {
      ++count;
    }
    ::closedir(dir);
  }
  return count;
}

TEST(LinuxDirectorySourceTest, ListsApparentSizesLinksOddNamesAndSpecialFilesWithoutOpeningThem) {
  TempDir tmp;
  Sparse(tmp / "sparse", 3'000'000'000);    // over 2 GiB, no blocks
  Sparse(tmp / "huge", 2'000'000'000'000);  // over 1 TB
  tmp.Write("a", "12345");
  ASSERT_EQ(::link((tmp / "a").c_str(), (tmp / "hard").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (tmp / "broken").c_str()), 0);
  ASSERT_EQ(::symlink("/", (tmp / "root").c_str()), 0);
  ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0644), 0);  // opening it would block
  tmp.Write("bad\xFFname", "x");
  tmp.Write("new\nline\\back", "yy");
  tmp.MakeDirs("sub");
  LinuxDirectorySource source;
  const auto rows = Listed(source, tmp.Path());
  EXPECT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows.at("sparse"), 3'000'000'000);
  EXPECT_EQ(rows.at("huge"), 2'000'000'000'000);
  EXPECT_EQ(rows.at("a"), 5);
  EXPECT_EQ(rows.at("hard"), 5);  // hard links count twice, as listed
  EXPECT_EQ(rows.at("broken"), 7);
  EXPECT_EQ(rows.at("root"), 1);  // the link itself
  EXPECT_EQ(rows.at("fifo"), 0);
  EXPECT_EQ(rows.at("bad\xFFname"), 1);
  EXPECT_EQ(rows.at("new\nline\\back"), 2);
  EXPECT_EQ(rows.count("sub"), 0u);
  FileGrid grid(GridKind::DirectorySpace);
  ListDirectory(source, tmp.Path(), grid, SortKey::skSizeText, SortDirection::Descending);
  EXPECT_EQ(grid.ExactName(0), "huge");  // 13 digits: largest first, not last
  EXPECT_EQ(grid.ExactName(1), "sparse");
  // A gone drive's empty path is no directory, never the working one.
  EXPECT_EQ(source.Open(""), nullptr);
  EXPECT_EQ(source.StatPath(""), PathState::Absent);
  EXPECT_FALSE(
      ListDirectory(source, "", grid, SortKey::skSizeText, SortDirection::Descending).readable);
  EXPECT_TRUE(WalkDirectoryTree(source, "", "*", [](const std::string&, const FileEntry&) {
    ADD_FAILURE() << "walked the working directory";
    return false;
  }));
  EXPECT_EQ(source.StatPath(tmp / "broken"), PathState::File);
  EXPECT_EQ(source.StatPath(tmp / "gone"), PathState::Absent);
}

TEST(LinuxDirectorySourceTest, WalkEntersDotDirectoriesButNoLinkedDirectory) {
  TempDir tmp;
  tmp.Write("top/f", "1");
  tmp.Write("top/.cache/c", "1");
  ASSERT_EQ(::symlink("..", (tmp / "top/loop").c_str()), 0);
  ASSERT_EQ(::symlink("/", (tmp / "top/root").c_str()), 0);
  LinuxDirectorySource source;
  std::vector<std::string> visited;
  EXPECT_TRUE(WalkDirectoryTree(source, tmp / "top", "*",
                                [&visited](const std::string& dir, const FileEntry& e) {
                                  visited.push_back(dir + e.name);
                                  return true;
                                }));
  std::sort(visited.begin(), visited.end());
  EXPECT_EQ(visited, (std::vector<std::string>{tmp / "top/.cache/c", tmp / "top/f",
                                               tmp / "top/loop", tmp / "top/root"}));
  EXPECT_EQ(SubdirectoryNames(source, tmp / "top"), (std::vector<std::string>{".cache"}));

  // A link given as the start is the user's choice: followed, and named as given.
  ASSERT_EQ(::symlink("top", (tmp / "start").c_str()), 0);
  visited.clear();
  WalkDirectoryTree(source, tmp / "start", "c",
                    [&visited](const std::string& dir, const FileEntry& e) {
                      visited.push_back(dir + e.name);
                      return true;
                    });
  EXPECT_EQ(visited, (std::vector<std::string>{tmp / "start/.cache/c"}));
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(WriteTreeReport({tmp / "start"}, source, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("Number of Files = 4\n"), std::string::npos);
}

// Ten thousand directories made and removed on a disk take a minute here; in
// memory, a moment.
std::unique_ptr<TempDir> InMemoryTempDir() {
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old != nullptr ? old : "";
  if (::access("/dev/shm", W_OK) == 0) {
    ::setenv("TMPDIR", "/dev/shm", 1);
  }
  auto dir = std::make_unique<TempDir>();
  if (old != nullptr) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  return dir;
}

TEST(LinuxDirectorySourceTest, WalksTenThousandLevelsPastPathMaxWithFewDescriptors) {
  const std::unique_ptr<TempDir> holder = InMemoryTempDir();
  const TempDir& tmp = *holder;
  const int base = ::open(tmp.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(base, 0);
  int fd = base;
  for (int level = 0; level < 10000; ++level) {
    ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
    if (level % 1000 == 0) {
      ASSERT_EQ(::mkdirat(fd, "side", 0755), 0);  // the walk comes back for it
      const int side = ::openat(fd, "side", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      ::close(::openat(side, "s", O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
      ::close(side);
    }
    const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(next, 0);
    if (fd != base) {
      ::close(fd);
    }
    fd = next;
  }
  ::close(::openat(fd, "leaf", O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
  ::close(fd);
  ::close(base);

  LinuxDirectorySource source;
  const int before = OpenDescriptors();
  int most = 0;
  std::size_t longest = 0;
  int files = 0;
  EXPECT_TRUE(
      WalkDirectoryTree(source, tmp.Path(), "*", [&](const std::string& dir, const FileEntry&) {
        most = std::max(most, OpenDescriptors() - before);
        longest = std::max(longest, dir.size());
        ++files;
        return true;
      }));
  EXPECT_EQ(files, 11);
  EXPECT_GT(longest, 20000u);
  EXPECT_LE(most, static_cast<int>(kWalkOpenDirectories) + 2);

  // The long path can still be asked about and listed.
  std::string deep = tmp.Path();
  for (int level = 0; level < 10000; ++level) {
    deep += "/d";
  }
  EXPECT_EQ(source.StatPath(deep + "/leaf"), PathState::File);
  EXPECT_EQ(Listed(source, deep).size(), 1u);

  // Let TempDir remove it: std::filesystem copes with the depth only slowly.
  ASSERT_EQ(::system(("rm -rf '" + tmp.Path() + "/d' '" + tmp.Path() + "/side'").c_str()), 0);
}

// Under a low open-file limit, and with the rest of the process taking every
// descriptor left mid-walk, a deep walk still counts every file.
TEST(LinuxDirectorySourceTest, ALowOpenFileLimitDropsNoSubtree) {
  const std::unique_ptr<TempDir> holder = InMemoryTempDir();
  const TempDir& tmp = *holder;
  constexpr int kLevels = 10000;
  int fd = ::open(tmp.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < kLevels; ++level) {
    ::close(::openat(fd, "f", O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
    const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(next, 0);
    ::close(fd);
    fd = next;
  }
  ::close(fd);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const struct rlimit limit { 40, 40 };
    ::setrlimit(RLIMIT_NOFILE, &limit);
    LinuxDirectorySource source;
    std::vector<int> hoard;
    int files = 0;
    WalkDirectoryTree(source, tmp.Path(), "*", [&](const std::string&, const FileEntry&) {
      if (++files == kLevels / 2) {
        for (int taken = 0; (taken = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) {
          hoard.push_back(taken);
        }
      }
      return true;
    });
    ::_exit(files == kLevels && !hoard.empty() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(::system(("rm -rf '" + tmp.Path() + "/d'").c_str()), 0);
}

TEST(LinuxDirectorySourceTest, UnreadableDirectoriesAreSkippedQuietly) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root reads every directory";
  }
  TempDir tmp;
  tmp.Write("top/closed/f", "1");
  tmp.Write("top/g", "1");
  ASSERT_EQ(::chmod((tmp / "top/closed").c_str(), 0), 0);
  LinuxDirectorySource source;
  int files = 0;
  EXPECT_TRUE(
      WalkDirectoryTree(source, tmp / "top", "*", [&files](const std::string&, const FileEntry&) {
        ++files;
        return true;
      }));
  EXPECT_EQ(files, 1);
  EXPECT_TRUE(Listed(source, tmp / "top/closed").empty());
  ::chmod((tmp / "top/closed").c_str(), 0755);
}

}  // namespace
}  // namespace zub
