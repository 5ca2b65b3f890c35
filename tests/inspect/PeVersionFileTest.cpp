#include "platform/linux/PeVersionFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

#include "fakes/FakeVersionSources.h"
#include "inspect/ExecutableBuilder.h"
#include "inspect/Version.h"
#include "platform/linux/VersionBlock.h"
#include "support/TempDir.h"

namespace zub {
namespace {

using linux_platform::FindVersionResource;
using linux_platform::PeVersionFile;
using linux_platform::QueryFixedInfo;
using linux_platform::QueryVersionText;
using namespace test_support;

const std::vector<StringTable> kTables = {
    {"040904E4",
     {{"CompanyName", "Zub Software"},
      {"FileDescription", "Disk pies"},
      {"FileVersion", "9.9"},
      {"LegalTrademarks", "Zub\xC2\xAE"},
      {"ProductVersion", "3.0 beta"}}},
    {"040704b0", {{"CompanyName", "Zub GmbH"}}},
};

std::string StandardBlock(const FixedNumbers& fixed = {}) {
  return VersionInfoNode(fixed, kTables).Bytes();
}

linux_platform::ReadAt MemoryReader(const std::string& bytes) {
  return [&bytes](std::uint64_t offset, std::size_t size, char* out) {
    if (offset > bytes.size() || bytes.size() - offset < size) {
      return false;
    }
    if (size != 0) {
      std::memcpy(out, bytes.data() + offset, size);
    }
    return true;
  };
}

std::optional<std::string> BlockOf(const std::string& pe) {
  const auto span = FindVersionResource(MemoryReader(pe), pe.size());
  if (!span) {
    return std::nullopt;
  }
  return pe.substr(span->offset, span->size);
}

TEST(VersionBlock, KeysAndNamesMatchRegardlessOfCaseAcrossTranslations) {
  const std::string block = StandardBlock();
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904E4\\CompanyName"), "Zub Software");
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904e4\\companyname"), "Zub Software");
  // The table key is written in lower case, the query in upper case.
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040704B0\\CompanyName"), "Zub GmbH");
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904E4\\LegalTradeMarks"), "Zub\xC2\xAE");
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040704B0\\FileDescription"), std::nullopt);
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040C04E4\\CompanyName"), std::nullopt);
  EXPECT_EQ(QueryVersionText(block, "\\"), std::nullopt);
  const auto fixed = QueryFixedInfo(block);
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->fileVersionMS, 0x00010002U);
  EXPECT_EQ(fixed->productVersionLS, 0x00070008U);
  EXPECT_EQ(fixed->fileOS, 0x40004U);
  EXPECT_EQ(fixed->fileType, 2U);
}

TEST(VersionBlock, SurrogatePairsBecomeOneCharacterAndLoneOnesAreReplaced) {
  std::string units;
  for (const std::uint16_t u : {0x0041, 0xD83D, 0xDE00, 0xDC00, 0x00E9}) {
    AppendU16(units, u);
  }
  EXPECT_EQ(linux_platform::Utf16ToUtf8(units), "A\xF0\x9F\x98\x80\xEF\xBF\xBD\xC3\xA9");
}

class VersionParseTest : public ::testing::Test {
 protected:
  PeVersionFile pe;
  fakes::FakeElfSource elf;
  fakes::FakePackageDatabase packages;
  TVersionResource resource{{pe, elf, packages}, "/nonexistent/zub97"};
};

TEST_F(VersionParseTest, ReadsTheSelectedTranslationAndTheFixedNumbers) {
  resource.ParseVersionInfo(StandardBlock({0x00040000, 950, 0x00040000, 950, 0x4, 1, 0}));
  const TVersionInfo& info = resource.VersionInfo();
  EXPECT_EQ(info.CompanyName, "Zub Software");
  EXPECT_EQ(info.FileDescription, "Disk pies");
  EXPECT_EQ(info.FileVersion, "4.0.0.950");
  EXPECT_EQ(info.ProductVersion, "3.0 beta");
  EXPECT_EQ(info.LegalTradeMarks, "Zub\xC2\xAE");
  EXPECT_EQ(info.FileOS, "32 bit Windows");
  EXPECT_EQ(info.FileType, "Application");

  resource.SetLanguage(TLanguage::lnGerman);
  resource.SetCharacterSet(TCharacterSet::csUnicode);
  resource.ParseVersionInfo(StandardBlock());
  EXPECT_EQ(resource.VersionInfo().CompanyName, "Zub GmbH");
  // This table has no ProductVersion: the fixed numbers stand.
  EXPECT_EQ(resource.VersionInfo().ProductVersion, "5.6.7.8");
}

TEST_F(VersionParseTest, WrongFixedSignatureGivesNoTextsAtAll) {
  FixedNumbers bad;
  bad.signature = 0xFEEF04BC;
  resource.ParseVersionInfo(StandardBlock(bad));
  for (const auto& field : TVersionInfo::Fields()) {
    EXPECT_EQ(resource.VersionInfo().*field.text, "") << field.name;
  }
}

TEST(VersionBlock, LyingLengthsStayInsideTheirParent) {
  VersionNode root = VersionInfoNode({}, kTables);
  std::string block = root.Bytes();
  // The root claims far more than the block holds.
  PutU16(block, 0, 0xFFFF);
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904E4\\CompanyName"), "Zub Software");

  // A string whose length runs past its table, then one of length zero.
  VersionNode lying = root;
  lying.children[0].children[0].children[0].key = "A";
  std::string bytes = lying.Bytes();
  const std::size_t at = bytes.find(Utf16("A") + std::string(2, '\0')) - 6;
  PutU16(bytes, at, 0xFFF0);
  EXPECT_TRUE(QueryVersionText(bytes, "\\StringFileInfo\\040904E4\\A").has_value());
  EXPECT_EQ(QueryVersionText(bytes, "\\StringFileInfo\\040904E4\\FileDescription"), std::nullopt);
  PutU16(bytes, at, 0);
  EXPECT_EQ(QueryVersionText(bytes, "\\StringFileInfo\\040904E4\\FileDescription"), std::nullopt);
  EXPECT_TRUE(QueryFixedInfo(bytes).has_value());
}

TEST(VersionBlock, TextWithoutTerminatorEndsAtItsNode) {
  VersionNode root = VersionInfoNode({}, {{"040904E4", {}}});
  VersionNode text{"Comments", 1, Utf16("abcd"), 40, {}};
  root.children[0].children[0].children.push_back(text);
  root.children[0].children[0].children.push_back(TextNode("CompanyName", "Zub"));
  const std::string block = root.Bytes();
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904E4\\Comments"), "abcd");
  EXPECT_EQ(QueryVersionText(block, "\\StringFileInfo\\040904E4\\CompanyName"), "Zub");
}

TEST(VersionBlock, EveryTruncationGivesNothingOrTheWholeTruthNeverMore) {
  const std::string block = StandardBlock();
  const std::string path = "\\StringFileInfo\\040904E4\\FileDescription";
  for (std::size_t n = 0; n <= block.size(); ++n) {
    const std::string cut = block.substr(0, n);
    const auto fixed = QueryFixedInfo(cut);
    if (fixed) {
      EXPECT_EQ(fixed->productVersionLS, 0x00070008U) << n;
    }
    const auto text = QueryVersionText(cut, path);
    if (text) {
      EXPECT_EQ(std::string("Disk pies").rfind(*text, 0), 0U) << n << ": " << *text;
    }
  }
  EXPECT_EQ(QueryVersionText(block.substr(0, 20), path), std::nullopt);
}

TEST(PeImage, Pe32AndPe32PlusLeadToTheSameBlock) {
  const std::string block = StandardBlock();
  EXPECT_EQ(BlockOf(BuildPe(block, false).Bytes()), block);
  EXPECT_EQ(BlockOf(BuildPe(block, true).Bytes()), block);
  EXPECT_EQ(BlockOf(BuildPe(block, true, 4096).Bytes()), block);
}

TEST(PeImage, TakesNeutralThenUsEnglishAmongTranslatedBlocksThenTheFirst) {
  const std::string arabic = VersionInfoNode({}, {{"040104B0", {}}}).Bytes();
  const std::string english = StandardBlock();
  const std::string neutral = VersionInfoNode({}, {{"000004B0", {}}}).Bytes();
  EXPECT_EQ(BlockOf(BuildPeLanguages({{0x401, arabic}, {0x409, english}}).Bytes()), english);
  EXPECT_EQ(BlockOf(BuildPeLanguages({{0x409, english}, {0, neutral}}).Bytes()), neutral);
  EXPECT_EQ(BlockOf(BuildPeLanguages({{0x401, arabic}, {0x407, english}}).Bytes()), arabic);
}

TEST(PeImage, EveryTruncationOfTheFileFindsNothingOrTheRealBlock) {
  const std::string block = StandardBlock();
  const std::string pe = BuildPe(block, true).Bytes();
  for (std::size_t n = 0; n < pe.size(); ++n) {
    const auto found = BlockOf(pe.substr(0, n));
    ASSERT_FALSE(found.has_value()) << n;
  }
}

TEST(PeImage, DamagedHeadersAndDirectoriesFindNothing) {
  const std::string block = StandardBlock();
  const PeImage image = BuildPe(block);
  const std::size_t r = image.resourceOffset;
  const auto damaged = [&](const std::function<void(std::string&)>& change) {
    std::string pe = image.Bytes();
    change(pe);
    return BlockOf(pe);
  };
  EXPECT_EQ(damaged([](std::string& pe) { pe[0] = 'Z'; }), std::nullopt);
  EXPECT_EQ(damaged([](std::string& pe) { PutU32(pe, 0x3C, 0xFFFFFFF0); }), std::nullopt);
  EXPECT_EQ(damaged([](std::string& pe) { PutU16(pe, 0x80 + 24, 0x107); }), std::nullopt);
  EXPECT_EQ(damaged([](std::string& pe) { PutU16(pe, 0x80 + 6, 0xFFFF); }), std::nullopt);
  // The language level points back at the root: a loop.
  EXPECT_EQ(damaged([&](std::string& pe) { PutU32(pe, r + 48 + 20, 0x80000000U); }), std::nullopt);
  // The type level points at itself.
  EXPECT_EQ(damaged([&](std::string& pe) { PutU32(pe, r + 20, 0x80000000U); }), std::nullopt);
  // Entry offsets past the section.
  EXPECT_EQ(damaged([&](std::string& pe) { PutU32(pe, r + 44, 0x80FFFFF0U); }), std::nullopt);
  // A data entry whose size or address lies.
  EXPECT_EQ(damaged([&](std::string& pe) { PutU32(pe, r + 72 + 4, 0x7FFFFFFF); }), std::nullopt);
  EXPECT_EQ(damaged([&](std::string& pe) { PutU32(pe, r + 72, 0xFFFFFF00); }), std::nullopt);
  // No version resource at all: another type.
  EXPECT_EQ(damaged([&](std::string& pe) { PutU32(pe, r + 16, 3); }), std::nullopt);
}

class PeFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const PeImage& image, std::uint64_t size = 0) const {
    const std::string path = dir / name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::pwrite(fd, image.head.data(), image.head.size(), 0),
              static_cast<ssize_t>(image.head.size()));
    EXPECT_EQ(::pwrite(fd, image.resource.data(), image.resource.size(),
                       static_cast<off_t>(image.resourceOffset)),
              static_cast<ssize_t>(image.resource.size()));
    if (size != 0) {
      EXPECT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    }
    ::close(fd);
    return path;
  }

  TempDir dir;
  PeVersionFile pe;
  fakes::FakeElfSource elf;
  fakes::FakePackageDatabase packages;
};

TEST_F(PeFileTest, BuiltFilesReadEndToEndAlsoWhenHuge) {
  const std::string block =
      StandardBlock({0x00060001, 0x1DB10000, 0x00060001, 0x1DB10000, 4, 2, 0});
  const std::string small = Write("small.dll", BuildPe(block, false));
  // Half a gigabyte of other sections before the resources, as a hole on disk.
  const std::string huge = Write("huge.exe", BuildPe(block, true, 500U << 20), 600U << 20);
  for (const std::string& path : {small, huge}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(pe.BlockSize(path), block.size());
    EXPECT_EQ(pe.ReadBlock(path, static_cast<std::uint32_t>(block.size())), block);
    TVersionResource resource({pe, elf, packages}, path);
    EXPECT_EQ(resource.VersionInfo().FileVersion, "6.1.7601.0");
    EXPECT_EQ(resource.VersionInfo().CompanyName, "Zub Software");
    EXPECT_EQ(resource.VersionInfo().FileType, "Dynamic-Link Library");
  }
  EXPECT_EQ(pe.ReadBlock(small, 12), std::nullopt);
}

TEST_F(PeFileTest, FilesThatAreNotPeGiveNoBlock) {
  dir.Write("empty.dll", "");
  dir.Write("text.exe", "MZ but not much more");
  dir.MakeDirs("folder.dll");
  const std::string fifo = dir / "pipe.exe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string name : {"empty.dll", "text.exe", "folder.dll", "pipe.exe", "missing"}) {
    EXPECT_EQ(pe.BlockSize(dir / name), 0U) << name;
    EXPECT_EQ(pe.ReadBlock(dir / name, 100), std::nullopt) << name;
  }
}

}  // namespace
}  // namespace zub
