#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "fakes/FakeVersionSources.h"
#include "inspect/ElfVersion.h"
#include "inspect/ExecutableBuilder.h"
#include "inspect/Version.h"
#include "platform/linux/DpkgDatabase.h"
#include "platform/linux/LinuxElfSource.h"
#include "platform/linux/PeVersionFile.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using linux_platform::DpkgDatabase;
using linux_platform::LinuxElfSource;
using linux_platform::ParseElf;
using namespace test_support;

std::optional<ElfFacts> ParseBytes(const std::string& bytes) {
  return ParseElf(
      [&bytes](std::uint64_t offset, std::size_t size, char* out) {
        if (offset > bytes.size() || bytes.size() - offset < size) {
          return false;
        }
        if (size != 0) {
          std::memcpy(out, bytes.data() + offset, size);
        }
        return true;
      },
      bytes.size());
}

TEST(ElfReader, ReadsTypeSonameInterpreterAndPieFlag) {
  const auto library = ParseBytes(BuildElf({}));
  ASSERT_TRUE(library);
  EXPECT_EQ(library->type, 3);
  EXPECT_EQ(library->soname, "libzub.so.1");
  EXPECT_FALSE(library->hasInterpreter);
  EXPECT_FALSE(library->pie);

  const auto program = ParseBytes(BuildElf({3, "", true, true}));
  ASSERT_TRUE(program);
  EXPECT_EQ(program->soname, "");
  EXPECT_TRUE(program->hasInterpreter);
  EXPECT_TRUE(program->pie);
  EXPECT_EQ(ElfFileTypeText(*program), "Application");

  EXPECT_EQ(ParseBytes("\x7f"
                       "ELF"),
            std::nullopt);
  EXPECT_EQ(ParseBytes("MZ\x90\x00"), std::nullopt);
}

TEST(ElfReader, TruncatedOrDamagedFilesNeverGiveAPartOfTheSoname) {
  const std::string elf = BuildElf({});
  for (std::size_t n = 0; n < elf.size(); ++n) {
    const auto facts = ParseBytes(elf.substr(0, n));
    if (facts) {
      EXPECT_TRUE(facts->soname.empty() || facts->soname == "libzub.so.1") << n;
    }
  }
  // The soname's offset beyond the string table, and a table without its terminator.
  std::string far = elf;
  PutU32(far, far.find(std::string("\x0e\0\0\0\0\0\0\0\x01", 9)) + 8, 0x7FFFFFF0);
  EXPECT_EQ(ParseBytes(far)->soname, "");
  std::string open = elf.substr(0, elf.size() - 14);
  EXPECT_EQ(ParseBytes(open)->soname, "");
  // Absurd program header sizes and counts.
  std::string wide = elf;
  PutU16(wide, 54, 0xFFFF);
  PutU16(wide, 56, 0xFFFF);
  ASSERT_TRUE(ParseBytes(wide));
  EXPECT_EQ(ParseBytes(wide)->soname, "");
}

TEST(ElfReader, CompiledLibraryThroughItsLinkGivesItsRealNameAndSoname) {
  LinuxElfSource source;
  const auto facts = source.Read(ZUB_ELF_SAMPLE_LINK);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->soname, "libzub_elf_sample.so.1");
  EXPECT_EQ(facts->type, 3);
  EXPECT_EQ(std::filesystem::path(facts->realPath).filename(), "libzub_elf_sample.so.1.2.3");
  EXPECT_EQ(ElfFileTypeText(*facts), "Dynamic-Link Library");

  const auto self = source.Read("/proc/self/exe");
  ASSERT_TRUE(self);
  EXPECT_EQ(ElfFileTypeText(*self), "Application");
}

TEST(ElfReader, MachineLibcIsALibraryDespiteItsInterpreter) {
  std::string libc;
  for (const char* candidate :
       {"/lib/x86_64-linux-gnu/libc.so.6", "/lib/aarch64-linux-gnu/libc.so.6", "/lib64/libc.so.6",
        "/usr/lib/libc.so.6"}) {
    if (access(candidate, R_OK) == 0) {
      libc = candidate;
      break;
    }
  }
  if (libc.empty()) {
    GTEST_SKIP() << "no libc.so.6 where it is looked for";
  }
  LinuxElfSource source;
  const auto facts = source.Read(libc);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->soname, "libc.so.6");
  EXPECT_EQ(ElfFileTypeText(*facts), "Dynamic-Link Library");
}

TEST(ElfReader, NonElfAndSpecialFilesGiveNothing) {
  TempDir dir;
  dir.Write("text.so",
            "just text, not \x7f"
            "ELF");
  dir.MakeDirs("dir.so");
  LinuxElfSource source;
  for (const std::string name : {"text.so", "dir.so", "missing.so"}) {
    EXPECT_EQ(source.Read(dir / name), std::nullopt) << name;
  }
  EXPECT_EQ(source.Read("/dev/zero"), std::nullopt);
}

class DpkgTest : public ::testing::Test {
 protected:
  DpkgDatabase db{TestDataDir() + "/dpkg", TestDataDir() + "/dpkg-doc"};
};

TEST_F(DpkgTest, FindsOwnersThroughTheMergedUsrAliasesBothWays) {
  const auto libc = db.Owner("/usr/lib/x86_64-linux-gnu/libc.so.6");
  ASSERT_TRUE(libc);
  EXPECT_EQ(libc->name, "libc6");
  EXPECT_EQ(libc->version, "2.36-9+deb12u14");
  EXPECT_EQ(libc->summary, "GNU C Library: Shared libraries");
  EXPECT_EQ(libc->copyright, "1991-2023 Free Software Foundation, Inc.");
  EXPECT_EQ(db.Owner("/lib/x86_64-linux-gnu/libc.so.6")->name, "libc6");
  // The i386 copy has its own version, not the first libc6 paragraph's.
  EXPECT_EQ(db.Owner("/usr/lib/i386-linux-gnu/libc.so.6")->version, "2.36-9+deb12u13");

  const auto ls = db.Owner("/usr/bin/ls");
  ASSERT_TRUE(ls);
  EXPECT_EQ(ls->name, "coreutils");
  EXPECT_EQ(ls->copyright, "(C) 1984-2008 Free Software Foundation, Inc.");
  EXPECT_EQ(db.Owner("/usr/bin/md5sum")->name, "coreutils");
  EXPECT_EQ(db.Owner("/bin/md5sum")->name, "coreutils");
}

TEST_F(DpkgTest, UnknownPathsLookalikesAndMissingDatabasesFindNothing) {
  EXPECT_EQ(db.Owner("/usr/bin/zub97"), std::nullopt);
  EXPECT_EQ(db.Owner("/libx/x86_64-linux-gnu/libc.so.6"), std::nullopt);
  EXPECT_EQ(db.Owner("/bin/notalist"), std::nullopt);
  EXPECT_EQ(DpkgDatabase::MergedUsrAlias("/lib64"), "/usr/lib64");
  EXPECT_EQ(DpkgDatabase::MergedUsrAlias("/usr/sbin/x"), "/sbin/x");
  EXPECT_EQ(DpkgDatabase::MergedUsrAlias("/library/x"), "");
  EXPECT_EQ(DpkgDatabase::MergedUsrAlias("/usr/share/x"), "");
  // A removed package's leftover list still names its package, with no version.
  EXPECT_EQ(db.Owner("/etc/oldtool.conf")->version, "");
  DpkgDatabase none("/nonexistent/dpkg", "/nonexistent/doc");
  EXPECT_EQ(none.Owner("/usr/bin/ls"), std::nullopt);
}

TEST(CopyrightFile, FirstCopyrightFieldAtTheStartOfALine) {
  using linux_platform::FirstCopyrightLine;
  EXPECT_EQ(FirstCopyrightLine("Files: *\nCopyright: 2001 A\nCopyright: 2002 B\n"), "2001 A");
  EXPECT_EQ(FirstCopyrightLine("Copyright:\n 2001 A\n 2002 B\n"), "2001 A");
  EXPECT_EQ(FirstCopyrightLine("Copyright:\nLicense: MIT\nCopyright: 2003 C\n"), "");
  EXPECT_EQ(FirstCopyrightLine("Comment: see\n Copyright: no\nCopyright: yes\n"), "yes");
  EXPECT_EQ(FirstCopyrightLine("This is free software. Copyright (C) 1990 D\n"), "");
  EXPECT_EQ(FirstCopyrightLine("Copyright: 2004 E\r\n"), "2004 E");
}

TEST(ElfVersionEndToEnd, CompiledLibraryFillsTheTextsWithItsPackage) {
  LinuxElfSource elf;
  linux_platform::PeVersionFile pe;
  fakes::FakePackageDatabase packages;
  packages.owners[ZUB_ELF_SAMPLE_LINK] = {"zub-sample", "1.2.3-1", "a sample", "2026 Zub"};
  TVersionResource resource({pe, elf, packages}, "/proc/self/exe");
  resource.SetFileName(ZUB_ELF_SAMPLE_LINK);
  const TVersionInfo& info = resource.VersionInfo();
  EXPECT_EQ(info.FileType, "Dynamic-Link Library");
  EXPECT_EQ(info.InternalName, "libzub_elf_sample.so.1");
  EXPECT_EQ(info.FileVersion, "1.2.3");
  EXPECT_EQ(info.ProductName, "zub-sample");
  EXPECT_EQ(info.LegalCopyright, "2026 Zub");
  EXPECT_EQ(info.FileOS, "");
}

TEST(ElfVersionEndToEnd, MachineDatabaseOwnsLibcUnderItsUsrName) {
  if (access("/var/lib/dpkg/status", R_OK) != 0 ||
      access("/usr/lib/x86_64-linux-gnu/libc.so.6", R_OK) != 0) {
    GTEST_SKIP() << "not a Debian amd64 machine";
  }
  DpkgDatabase db("/var/lib/dpkg", "/usr/share/doc");
  const auto owner = db.Owner("/usr/lib/x86_64-linux-gnu/libc.so.6");
  ASSERT_TRUE(owner);
  EXPECT_EQ(owner->name, "libc6");
  EXPECT_FALSE(owner->version.empty());
}

}  // namespace
}  // namespace zub
