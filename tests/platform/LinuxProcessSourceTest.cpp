#include "platform/linux/LinuxProcessSource.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::TestDataDir;

std::vector<ProcessRecord> AllProcesses(ProcessSource& source) {
  std::vector<ProcessRecord> records;
  for (auto record = source.FirstProcess(); record; record = source.NextProcess()) {
    records.push_back(*record);
  }
  return records;
}

TEST(ProcStat, CommEndsAtTheLastParenthesis) {
  const auto pam = ParseProcStat(
      "812 ((sd-pam)) S 811 811 811 0 -1 1077936448 48 0 0 0 0 0 0 0 20 0 1 0 1862 "
      "170545152 1389 18446744073709551615 1 1 0 0 0 0 0 4096 0 0 0 0 17 1 0 0 0 0 0");
  ASSERT_TRUE(pam);
  EXPECT_EQ(pam->comm, "(sd-pam)");
  EXPECT_EQ(pam->threads, 1u);
  EXPECT_EQ(pam->policy, 0u);

  const auto odd = ParseProcStat(
      "1200 (a) b) R 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 10 -10 4 0 1 1 1 1 1 1 1 1 1 0 0 0 0 0 0 0 17 0 "
      "99 2 0");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->comm, "a) b");
  EXPECT_EQ(odd->nice, -10);
  EXPECT_EQ(odd->threads, 4u);
  EXPECT_EQ(odd->policy, 2u);
}

TEST(ProcStat, DamagedLinesAreRejected) {
  EXPECT_FALSE(ParseProcStat(""));
  EXPECT_FALSE(ParseProcStat("12 (x"));
  EXPECT_FALSE(ParseProcStat("12 )x( S 1"));
  EXPECT_FALSE(ParseProcStat("12 (x) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20"));  // cut before nice
  EXPECT_FALSE(ParseProcStat("12 (x) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 many"));
  EXPECT_FALSE(ParseProcStat("12 (x) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 99 1"));  // no such nice
  EXPECT_FALSE(ParseProcStat("12 (x) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 99999999999"));  // threads
  // A line that stops after the thread count is an old kernel's: normal policy.
  const auto old = ParseProcStat("12 (x) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 25 5 3");
  ASSERT_TRUE(old);
  EXPECT_EQ(old->nice, 5);
  EXPECT_EQ(old->policy, 0u);
}

TEST(ProcStat, PriorityFollowsPolicyThenNice) {
  const struct {
    std::uint32_t policy;
    std::int32_t nice;
    std::int32_t priority;
  } cases[] = {
      {1, 0, 24},   {2, 19, 24},  {6, 0, 24},  // FIFO, RR, DEADLINE
      {0, -20, 13}, {0, -10, 13}, {0, -9, 10}, {0, -1, 10}, {0, 0, 8},
      {0, 1, 6},    {0, 9, 6},    {0, 10, 4},  {3, 19, 4},  {5, 0, 8},  // BATCH, IDLE
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.policy) + "/" + std::to_string(c.nice));
    EXPECT_EQ(BasePriorityOf(c.policy, c.nice), c.priority);
  }
}

TEST(ProcStat, ExecutablePathFallsBackToAbsoluteArgumentThenComm) {
  EXPECT_EQ(ExecutablePathOf(std::string("/usr/bin/bash"), "", "bash"), "/usr/bin/bash");
  using namespace std::string_literals;
  EXPECT_EQ(ExecutablePathOf(std::nullopt, "/usr/bin/pipewire\0-c\0"s, "pipewire"),
            "/usr/bin/pipewire");
  EXPECT_EQ(ExecutablePathOf(std::nullopt, "./run\0"s, "run"), "[run]");
  EXPECT_EQ(ExecutablePathOf(std::nullopt, "", "kthreadd"), "[kthreadd]");
  EXPECT_EQ(ExecutablePathOf(std::string(), "", "x"), "[x]");
}

TEST(Maps, PathsKeepBlanksAndTheDeletedMark) {
  const auto line = ParseMapsLine(
      "7f0000100000-7f0000200000 rw-s 00000000 00:05 1234                       "
      "/dev/shm/my cache file (deleted)");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->path, "/dev/shm/my cache file (deleted)");
  EXPECT_EQ(line->size, 0x100000u);
  EXPECT_EQ(line->inode, 1234u);
  EXPECT_EQ(line->device, 5u);
  const auto major = ParseMapsLine("1000-2000 r--p 00000000 103:0a 7 /x");
  ASSERT_TRUE(major);
  EXPECT_EQ(major->device, (std::uint64_t{0x103} << 32) | 0xa);
}

TEST(Maps, AnonymousPseudoAndMalformedLinesAreNoModules) {
  for (const char* line : {
           "55d001000000-55d001100000 rw-p 00000000 00:00 0                          [heap]",
           "7f0000028000-7f0000100000 rw-p 00000000 00:00 0 ",
           "7f0000028000-7f0000100000 rw-p 00000000 00:00 0",
           "7f0000402000-7f0000403000 rw-p 00000000 00:0e 17    anon_inode:[perf_event]",
           "7ffd6a5f5000-7ffd6a5f7000 r-xp 00000000 00:00 0                          [vdso]",
           "",
           "1000-2000 r--p 0 fe:00 12",             // a file without its path
           "2000-1000 r--p 0 fe:00 12 /backwards",  // end before start
           "1000 r--p 0 fe:00 12 /no-range",
           "1000-2000 r--p 0 fe00 12 /no-device",
           "1000-2000 r--p 0 fe:00 x12 /bad-inode",
           "1000-1zz00 r--p 0 fe:00 12 /bad-address",
       }) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ParseMapsLine(line));
  }
}

TEST(Maps, FilesAreDistinctInOrderOfFirstMappingWithSizesSummed) {
  const std::string longPath = "/" + std::string(5000, 'd') + "/lib.so";
  const std::string text =
      "1000-2000 r--p 0 08:01 10 /lib/b.so\n"
      "2000-4000 r-xp 0 08:01 20 /lib/a.so\n"
      "4000-5000 rw-p 0 00:00 0 \n"
      "5000-8000 r-xp 0 08:01 10 /lib/b.so\n"
      // Same inode on another device: another file.
      "8000-9000 r--p 0 08:02 10 /mnt/b.so\n"
      "9000-a000 r--p 0 08:01 30 " +
      longPath + "\n";
  const auto files = DistinctMappedFiles(text);
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0].path, "/lib/b.so");
  EXPECT_EQ(files[0].size, 0x4000u);
  EXPECT_EQ(files[1].path, "/lib/a.so");
  EXPECT_EQ(files[1].size, 0x2000u);
  EXPECT_EQ(files[2].path, "/mnt/b.so");
  EXPECT_EQ(files[3].path, longPath);
  EXPECT_TRUE(DistinctMappedFiles("").empty());
}

// The kernel writes a newline of a maps path as "\012" and nothing else
// escaped: a backslash stands for itself.
TEST(Maps, OnlyTheEscapedNewlineIsDecoded) {
  EXPECT_EQ(DecodeMapsPath("/tmp/a\\012b.so"), "/tmp/a\nb.so");
  EXPECT_EQ(DecodeMapsPath("/tmp/\\012\\0123"), "/tmp/\n\n3");
  EXPECT_EQ(DecodeMapsPath("/tmp/back\\slash\\134\\040"), "/tmp/back\\slash\\134\\040");
  EXPECT_EQ(DecodeMapsPath("/tmp/end\\\\012"), "/tmp/end\\\n");  // a backslash, then a newline
  EXPECT_EQ(DecodeMapsPath("/tmp/cut\\01"), "/tmp/cut\\01");
}

// A program whose name holds a newline: its process line and its module line
// name the same file. A name that really holds "\012" keeps it.
TEST(LinuxProcessSource, EscapedNewlinesInMapsNameTheFileTheProcessLineNames) {
  test_support::TempDir dir;
  const std::string newline = dir / "files/new\nline";
  const std::string literal = dir / "files/lit\\012eral";
  dir.Write("files/new\nline", "x");
  dir.Write("files/lit\\012eral", "y");
  std::string maps;
  for (const std::string& path : {newline, literal}) {
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    char line[128];
    std::snprintf(line, sizeof line, "1000-2000 r-xp 00000000 %x:%x %llu ", major(st.st_dev),
                  minor(st.st_dev), static_cast<unsigned long long>(st.st_ino));
    std::string escaped = path;
    for (std::size_t at = escaped.find('\n'); at != std::string::npos; at = escaped.find('\n')) {
      escaped.replace(at, 1, "\\012");
    }
    maps += line + escaped + "\n";
  }
  dir.Write("proc/7/stat", "7 (x) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1\n");
  dir.Write("proc/7/maps", maps);
  ASSERT_EQ(::symlink(newline.c_str(), (dir / "proc/7/exe").c_str()), 0);
  LinuxProcessSource source(dir / "proc");
  const auto process = source.FirstProcess();
  ASSERT_TRUE(process);
  EXPECT_EQ(process->exePath, newline);
  const auto modules = source.Modules(7);
  ASSERT_TRUE(modules);
  ASSERT_EQ(modules->size(), 2u);
  EXPECT_EQ((*modules)[0].path, newline);
  EXPECT_EQ((*modules)[1].path, literal);
}

TEST(LinuxProcessSource, CapturedTreeGivesEveryLivingProcessInPidOrder) {
  LinuxProcessSource source(TestDataDir() + "/proc/processes");
  const auto processes = AllProcesses(source);
  // 1300 ended before its stat was read; "self" is no process.
  const std::vector<ProcessRecord> expected = {
      {"/usr/lib/systemd/systemd", 1, 1, 8, ""},
      {"[kthreadd]", 1, 2, 8, ""},
      {"[(sd-pam)]", 1, 812, 8, ""},
      {"/home/ann/bin/a) b", 4, 1200, 13, ""},
      {"/usr/bin/pipewire", 2, 40000, 24, ""},
  };
  EXPECT_EQ(processes, expected);
}

TEST(LinuxProcessSource, CapturedModulesWithSizesAndUsersAcrossTheSnapshot) {
  LinuxProcessSource source(TestDataDir() + "/proc/processes");
  ASSERT_TRUE(source.FirstProcess());
  const std::string libc = "/usr/lib/x86_64-linux-gnu/libc.so.6";
  const std::vector<ModuleRecord> odd = {
      {"/home/ann/bin/a) b", 0x3000, 1},
      {libc, 0x28000 + 0x1e8000, 3},  // two pieces with others between them
      {"/dev/shm/my cache file (deleted)", 0x100000, 1},
      {"/usr/lib/x86_64-linux-gnu/ld-linux-x86-64.so.2", 0x2000, 1},
  };
  EXPECT_EQ(source.Modules(1200), odd);
  const std::vector<ModuleRecord> init = {{"/usr/lib/systemd/systemd", 0x2f000, 1},
                                          {libc, 0x215000, 3}};
  EXPECT_EQ(source.Modules(1), init);
  // A kernel thread maps no file; a maps that cannot be read; a pid not in the snapshot.
  EXPECT_EQ(source.Modules(2), std::nullopt);
  EXPECT_EQ(source.Modules(812), std::nullopt);
  EXPECT_EQ(source.Modules(1300), std::nullopt);
  source.Release();
  EXPECT_EQ(source.Modules(1), std::nullopt);
  EXPECT_FALSE(source.NextProcess());
}

TEST(LinuxProcessSource, EachSnapshotIsTakenAfresh) {
  test_support::TempDir dir;
  dir.Write("7/stat", "7 (x) S 1 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1\n");
  dir.Write("7/maps", "1000-2000 r--p 0 08:01 10 /old\n");
  LinuxProcessSource source(dir.Path());
  ASSERT_TRUE(source.FirstProcess());
  EXPECT_FALSE(source.NextProcess());
  // The pid is used again by another program before the next snapshot.
  dir.Write("7/maps", "1000-3000 r--p 0 08:01 11 /new\n");
  ASSERT_TRUE(source.FirstProcess());
  const std::vector<ModuleRecord> now = {{"/new", 0x2000, 1}};
  EXPECT_EQ(source.Modules(7), now);
}

TEST(LinuxProcessSource, MissingProcRootIsAnUnreadableList) {
  LinuxProcessSource source("/nonexistent/proc");
  EXPECT_FALSE(source.FirstProcess());
  EXPECT_FALSE(source.NextProcess());
}

TEST(LinuxProcessSource, RealMachineListsThisProcessWithItsProgram) {
  LinuxProcessSource source;
  const auto processes = AllProcesses(source);
  ASSERT_FALSE(processes.empty());
  EXPECT_TRUE(std::is_sorted(processes.begin(), processes.end(), [](const auto& a, const auto& b) {
    return a.processId < b.processId;
  }));
  const auto self = static_cast<std::uint32_t>(::getpid());
  const auto me = std::find_if(processes.begin(), processes.end(),
                               [&](const ProcessRecord& p) { return p.processId == self; });
  ASSERT_NE(me, processes.end());
  const auto modules = source.Modules(self);
  ASSERT_TRUE(modules);
  ASSERT_FALSE(modules->empty());
  // The program's own file comes first: it is mapped lowest.
  EXPECT_EQ(modules->front().path, me->exePath);
  EXPECT_GE(modules->front().globalUsageCount, 1u);
}

// Run in a child that becomes "nobody": the processes of other users refuse
// their exe link and maps, as they do to any normal user.
TEST(LinuxProcessSourceDeathTest, OtherUsersProcessesAreListedWithoutTheirModules) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "needs root to become another user";
  }
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
          std::_Exit(10);
        }
        LinuxProcessSource source;
        const auto processes = AllProcesses(source);
        const auto self = static_cast<std::uint32_t>(::getpid());
        bool sawSelf = false;
        bool sawRefused = false;
        for (const ProcessRecord& process : processes) {
          if (process.exePath.empty()) {
            std::_Exit(11);
          }
          const auto modules = source.Modules(process.processId);
          sawSelf = sawSelf || (process.processId == self && modules && !modules->empty());
          sawRefused = sawRefused || (process.processId == 1 && !modules);
        }
        std::_Exit(processes.empty() ? 12 : !sawSelf ? 13 : !sawRefused ? 14 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zub
