#include "platform/linux/XdgSettingsFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <thread>

#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::ReadFile;
using test_support::TempDir;
using State = StoredText::State;

std::set<std::string> NamesIn(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

TEST(XdgSettingsFile, UserFileFollowsTheBaseDirectoryRules) {
  EXPECT_EQ(XdgSettingsFile::UserFilePath("/x/cfg", "/home/ann"), "/x/cfg/zub97/registry.ini");
  EXPECT_EQ(XdgSettingsFile::UserFilePath("", "/home/ann"), "/home/ann/.config/zub97/registry.ini");
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  EXPECT_EQ(XdgSettingsFile::UserFilePath("cfg", "/home/ann"),
            "/home/ann/.config/zub97/registry.ini");
  EXPECT_EQ(XdgSettingsFile::UserFilePath("", "/home/ann/"),
            "/home/ann/.config/zub97/registry.ini");
  EXPECT_EQ(XdgSettingsFile::UserFilePath("", "/"), "/.config/zub97/registry.ini");

  const auto user = XdgSettingsFile::ForUser(nullptr, "/home/ann");
  EXPECT_EQ(user.Location(), "/home/ann/.config/zub97/registry.ini");
  EXPECT_TRUE(user.Writable());
  EXPECT_EQ(XdgSettingsFile::ForUser("/x/cfg", nullptr).Location(), "/x/cfg/zub97/registry.ini");

  const auto machine = XdgSettingsFile::ForMachine();
  EXPECT_EQ(machine.Location(), "/etc/xdg/zub97/registry.ini");
  EXPECT_FALSE(machine.Writable());
}

TEST(XdgSettingsFile, RoundTripCreatesAPrivateFolderAndFile) {
  const TempDir dir;
  XdgSettingsFile file(dir / "config/zub97/registry.ini", true);
  EXPECT_EQ(file.Load().state, State::Missing);

  std::string seen = "not called";
  ASSERT_TRUE(file.Rewrite([&](const std::string& current) {
    seen = current;
    return std::string("[Settings]\nPie1Color=255\n");
  }));
  EXPECT_EQ(seen, "");
  auto stored = file.Load();
  EXPECT_EQ(stored.state, State::Present);
  EXPECT_EQ(stored.text, "[Settings]\nPie1Color=255\n");
  EXPECT_EQ(ModeOf(file.Location()), 0600u);
  EXPECT_EQ(ModeOf(dir / "config/zub97"), 0700u);
  EXPECT_EQ(ModeOf(dir / "config"), 0700u);

  ASSERT_TRUE(file.Rewrite([&](const std::string& current) {
    seen = current;
    return current + "Pie2Color=1\n";
  }));
  EXPECT_EQ(seen, "[Settings]\nPie1Color=255\n");
  EXPECT_EQ(file.Load().text, "[Settings]\nPie1Color=255\nPie2Color=1\n");
  EXPECT_EQ(NamesIn(dir / "config/zub97"),
            (std::set<std::string>{"registry.ini", "registry.ini.lock"}));
}

TEST(XdgSettingsFile, ModeIsPrivateWhateverTheUmask) {
  const TempDir dir;
  XdgSettingsFile file(dir / "registry.ini", true);
  const mode_t old = ::umask(0);
  const bool ok = file.Rewrite([](const std::string&) { return std::string("x=1\n"); });
  ::umask(old);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ModeOf(file.Location()), 0600u);
}

TEST(XdgSettingsFile, AModeTheUserChoseIsKept) {
  const TempDir dir;
  dir.Write("registry.ini", "x=1\n");
  ASSERT_EQ(::chmod((dir / "registry.ini").c_str(), 0644), 0);
  XdgSettingsFile file(dir / "registry.ini", true);
  ASSERT_TRUE(file.Rewrite([](const std::string& current) { return current + "y=2\n"; }));
  EXPECT_EQ(ModeOf(file.Location()), 0644u);
  EXPECT_EQ(file.Load().text, "x=1\ny=2\n");
}

// A settings file linked into a dotfiles folder: the file there is updated
// (in its own folder, keeping its mode) and the link stays a link.
TEST(XdgSettingsFile, ALinkedFileIsUpdatedThroughItsLink) {
  namespace fs = std::filesystem;
  const TempDir dir;
  dir.Write("dotfiles/zub97.ini", "old=1\n");
  ASSERT_EQ(::chmod((dir / "dotfiles/zub97.ini").c_str(), 0644), 0);
  dir.MakeDirs("config/zub97");
  fs::create_symlink("../../dotfiles/zub97.ini", dir / "config/zub97/hop");  // relative
  fs::create_symlink(dir / "config/zub97/hop", dir / "config/zub97/registry.ini");
  dir.MakeDirs("elsewhere");
  fs::create_symlink(dir / "elsewhere/none.ini", dir / "config/zub97/dangling.ini");

  XdgSettingsFile file(dir / "config/zub97/registry.ini", true);
  ASSERT_TRUE(file.Rewrite([](const std::string& current) { return current + "new=1\n"; }));
  EXPECT_TRUE(fs::is_symlink(dir / "config/zub97/registry.ini"));
  EXPECT_TRUE(fs::is_symlink(dir / "config/zub97/hop"));
  EXPECT_EQ(ReadFile(dir / "dotfiles/zub97.ini"), "old=1\nnew=1\n");
  EXPECT_EQ(ModeOf(dir / "dotfiles/zub97.ini"), 0644u);
  EXPECT_EQ(NamesIn(dir / "dotfiles"), std::set<std::string>{"zub97.ini"});

  // A dangling link names the file to make.
  XdgSettingsFile dangling(dir / "config/zub97/dangling.ini", true);
  ASSERT_TRUE(dangling.Rewrite([](const std::string&) { return std::string("x=1\n"); }));
  EXPECT_TRUE(fs::is_symlink(dir / "config/zub97/dangling.ini"));
  EXPECT_EQ(ReadFile(dir / "elsewhere/none.ini"), "x=1\n");
  EXPECT_EQ(ModeOf(dir / "elsewhere/none.ini"), 0600u);

  // A loop of links is refused, and left as it is.
  fs::create_symlink(dir / "config/zub97/b", dir / "config/zub97/a");
  fs::create_symlink(dir / "config/zub97/a", dir / "config/zub97/b");
  EXPECT_FALSE(XdgSettingsFile(dir / "config/zub97/a", true).Rewrite([](const std::string&) {
    return std::string("x=1\n");
  }));
  EXPECT_TRUE(fs::is_symlink(dir / "config/zub97/a"));
}

// Root reads files whatever their permission bits, so an unreadable file is
// made of a folder in its place, a path through a file, or a FIFO.
TEST(XdgSettingsFile, UnreadableFileIsNeverOverwritten) {
  const TempDir dir;
  dir.MakeDirs("folder/registry.ini/inside");
  dir.Write("plain", "a file, not a folder\n");
  ASSERT_EQ(::mkfifo((dir / "registry.fifo").c_str(), 0600), 0);

  for (const std::string& path :
       {dir / "folder/registry.ini", dir / "plain/registry.ini", dir / "registry.fifo"}) {
    SCOPED_TRACE(path);
    XdgSettingsFile file(path, true);
    EXPECT_EQ(file.Load().state, State::Unreadable);
    bool called = false;
    EXPECT_FALSE(file.Rewrite([&](const std::string&) {
      called = true;
      return std::string("x=1\n");
    }));
    EXPECT_FALSE(called);
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder/registry.ini/inside"));
  EXPECT_EQ(ReadFile(dir / "plain"), "a file, not a folder\n");
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "registry.fifo"));
  EXPECT_FALSE(std::filesystem::exists(dir / "folder/registry.ini.new"));
}

TEST(XdgSettingsFile, UnreadableByPermissionIsNotMissing) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root reads files without read permission";
  }
  const TempDir dir;
  dir.Write("registry.ini", "[Settings]\nPie1Color=255\n");
  ASSERT_EQ(::chmod((dir / "registry.ini").c_str(), 0), 0);
  XdgSettingsFile file(dir / "registry.ini", true);
  EXPECT_EQ(file.Load().state, State::Unreadable);
  EXPECT_FALSE(file.Rewrite([](const std::string&) { return std::string(); }));
  ASSERT_EQ(::chmod((dir / "registry.ini").c_str(), 0600), 0);
  EXPECT_EQ(ReadFile(dir / "registry.ini"), "[Settings]\nPie1Color=255\n");
}

TEST(XdgSettingsFile, ReadOnlyStoreIsNeverWritten) {
  const TempDir dir;
  XdgSettingsFile file(dir / "zub97/registry.ini", false);
  EXPECT_FALSE(file.Rewrite([](const std::string&) { return std::string("x=1\n"); }));
  EXPECT_FALSE(std::filesystem::exists(dir / "zub97"));
}

TEST(XdgSettingsFile, FailedReplacementKeepsTheOldFile) {
  const TempDir dir;
  dir.Write("registry.ini", "old=1\n");
  // Something that cannot be removed sits where the new content would go.
  dir.MakeDirs("registry.ini.new/blocker");
  XdgSettingsFile file(dir / "registry.ini", true);
  EXPECT_FALSE(file.Rewrite([](const std::string&) { return std::string("new=1\n"); }));
  EXPECT_EQ(file.Load().text, "old=1\n");
}

TEST(XdgSettingsFile, StaleTemporaryFileOfADeadWriterIsCleanedUp) {
  const TempDir dir;
  dir.Write("registry.ini", "old=1\n");
  dir.Write("registry.ini.new", "half a fi");
  XdgSettingsFile file(dir / "registry.ini", true);
  EXPECT_EQ(file.Load().text, "old=1\n");
  ASSERT_TRUE(file.Rewrite([](const std::string& current) { return current + "new=1\n"; }));
  EXPECT_EQ(file.Load().text, "old=1\nnew=1\n");
  EXPECT_EQ(NamesIn(dir.Path()), (std::set<std::string>{"registry.ini", "registry.ini.lock"}));
}

TEST(XdgSettingsFile, ConcurrentWritersLoseNoUpdate) {
  const TempDir dir;
  const std::string path = dir / "zub97/registry.ini";
  constexpr int kEach = 25;
  const auto append = [&](const std::string& who) {
    XdgSettingsFile file(path, true);
    for (int i = 0; i < kEach; ++i) {
      if (!file.Rewrite([&](const std::string& current) {
            return current + who + " " + std::to_string(i) + "\n";
          })) {
        return false;
      }
    }
    return true;
  };

  // Another copy of the program (a process) and a second thread of this one.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::_exit(append("process") ? 0 : 1);
  }
  bool threadOk = false;
  std::thread other([&] { threadOk = append("thread"); });
  const bool ok = append("main");
  other.join();
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(threadOk);

  std::vector<std::string> lines = Lines(XdgSettingsFile(path, false).Load().text);
  std::vector<std::string> expected;
  for (const char* who : {"main", "process", "thread"}) {
    for (int i = 0; i < kEach; ++i) {
      expected.push_back(std::string(who) + " " + std::to_string(i));
    }
  }
  std::sort(lines.begin(), lines.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(lines, expected);
}

// Content whose every line names its generation, so a torn file shows.
std::string Generation(int generation) {
  std::string text;
  for (int i = 0; i < 4000; ++i) {
    text += "gen" + std::to_string(generation) + "_line" + std::to_string(i) + "=some value\n";
  }
  return text + "end=" + std::to_string(generation) + "\n";
}

bool IsWholeGeneration(const std::string& text) {
  const std::size_t end = text.rfind("end=");
  if (end == std::string::npos) {
    return false;
  }
  return text == Generation(std::stoi(text.substr(end + 4)));
}

TEST(XdgSettingsFile, WriterKilledMidRewriteLeavesAWholeFile) {
  const TempDir dir;
  const std::string path = dir / "zub97/registry.ini";
  ASSERT_TRUE(
      XdgSettingsFile(path, true).Rewrite([](const std::string&) { return Generation(0); }));

  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(pipeFds[0]);
      XdgSettingsFile file(path, true);
      for (int generation = 1;; ++generation) {
        const bool ok = file.Rewrite([&](const std::string&) {
          // From the third rewrite on, tell the parent that new content is
          // about to be written: its kill lands while the file is replaced.
          const char writing = 'w';
          if (generation >= 3 && ::write(pipeFds[1], &writing, 1) != 1) {
            ::_exit(1);
          }
          return Generation(generation);
        });
        if (!ok) {
          ::_exit(1);
        }
      }
    }
    ::close(pipeFds[1]);
    char writing = 0;
    ASSERT_EQ(::read(pipeFds[0], &writing, 1), 1);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(pipeFds[0]);
    ASSERT_TRUE(WIFSIGNALED(status));

    XdgSettingsFile file(path, true);
    const auto stored = file.Load();
    ASSERT_EQ(stored.state, State::Present);
    EXPECT_TRUE(IsWholeGeneration(stored.text));
    // At most the killed writer's temporary file is left over.
    std::set<std::string> names = NamesIn(dir / "zub97");
    names.erase("registry.ini.new");
    EXPECT_EQ(names, (std::set<std::string>{"registry.ini", "registry.ini.lock"}));

    // The next rewrite clears it away.
    ASSERT_TRUE(file.Rewrite([](const std::string& current) { return current; }));
    EXPECT_EQ(NamesIn(dir / "zub97"), (std::set<std::string>{"registry.ini", "registry.ini.lock"}));
  }
}

}  // namespace
}  // namespace zub
