#include "inspect/Version.h"

#include <gtest/gtest.h>

#include "fakes/FakeVersionSources.h"
#include "inspect/ElfVersion.h"

namespace zub {
namespace {

TEST(VersionTables, LanguageCodesRunOnFromArabicThenJumpToTheSublanguages) {
  EXPECT_EQ(LanguageCode(TLanguage::lnArabic), 0x0401);
  EXPECT_EQ(LanguageCode(TLanguage::lnUSEnglish), 0x0409);
  EXPECT_EQ(LanguageCode(TLanguage::lnBahasa), 0x0421);
  EXPECT_EQ(LanguageCode(TLanguage::lnSimplifiedChinese), 0x0804);
  EXPECT_EQ(LanguageCode(TLanguage::lnSerboCroatian), 0x081A);
  EXPECT_EQ(LanguageCode(TLanguage::lnCanadianFrench), 0x0C0C);
  EXPECT_EQ(LanguageCode(TLanguage::lnSwissFrench), 0x100C);
  EXPECT_EQ(CharacterSetCode(TCharacterSet::csASCII), 0);
  EXPECT_EQ(CharacterSetCode(TCharacterSet::csUnicode), 1200);
  EXPECT_EQ(CharacterSetCode(TCharacterSet::csMultilingual), 1252);
  EXPECT_EQ(CharacterSetCode(TCharacterSet::csArabic), 1256);
}

TEST(VersionTables, PrefixIsUpperCaseHexWithLeadingZeros) {
  EXPECT_EQ(StringTablePrefix(TLanguage::lnUSEnglish, TCharacterSet::csMultilingual),
            "\\StringFileInfo\\040904E4\\");
  EXPECT_EQ(StringTablePrefix(TLanguage::lnGerman, TCharacterSet::csUnicode),
            "\\StringFileInfo\\040704B0\\");
  EXPECT_EQ(StringTablePrefix(TLanguage::lnCanadianFrench, TCharacterSet::csASCII),
            "\\StringFileInfo\\0C0C0000\\");
}

TEST(VersionTables, CodesOutsideTheTablesReadUnknown) {
  EXPECT_EQ(VersionNumbersText(0x00040000, 0x000003B6), "4.0.0.950");
  EXPECT_EQ(VersionNumbersText(0xFFFFFFFF, 0x00010002), "65535.65535.1.2");
  EXPECT_EQ(FileOSText(0x40004), "Windows NT with 32 bit Windows");
  EXPECT_EQ(FileOSText(0x10001), "Windows 3.0 or later with MS-Dos");
  EXPECT_EQ(FileOSText(0x50000), "Unknown");
  EXPECT_EQ(FileOSText(0), "Unknown");
  EXPECT_EQ(FileTypeText(7), "Static-Link Library");
  EXPECT_EQ(FileTypeText(6), "Unknown");
  EXPECT_EQ(FileTypeText(0), "Unknown");
  EXPECT_EQ(FileSubTypeText(3, 10), "Communications");
  EXPECT_EQ(FileSubTypeText(3, 11), "Unknown");
  EXPECT_EQ(FileSubTypeText(3, 0), "Unknown");
  EXPECT_EQ(FileSubTypeText(4, 3), "TrueType");
  EXPECT_EQ(FileSubTypeText(4, 4), "Unknown");
  EXPECT_EQ(FileSubTypeText(1, 3), "");
  EXPECT_EQ(FileSubTypeText(5, 1), "");
}

class VersionResourceTest : public ::testing::Test {
 protected:
  static constexpr const char* kOwn = "/opt/zub97/bin/zub97";
  static constexpr const char* kDll = "/win/SYSTEM/KERNEL32.DLL";

  void SetUp() override {
    fakes::FakeVersionBlocks::Block own;
    own.fixed = FixedFileInfo{0x00030000, 0, 0x00030000, 0, 4, 1, 0};
    own.texts["\\StringFileInfo\\040904E4\\CompanyName"] = "Own";
    blocks.files[kOwn] = own;

    fakes::FakeVersionBlocks::Block dll;
    dll.fixed = FixedFileInfo{0x00040000, 950, 0x00040000, 951, 0x40004, 3, 11};
    dll.texts["\\StringFileInfo\\040904E4\\CompanyName"] = "Microsoft Corporation";
    dll.texts["\\StringFileInfo\\040904E4\\FileVersion"] = "9.9.9.9";
    dll.texts["\\StringFileInfo\\040904E4\\Comments"] = "note";
    dll.texts["\\StringFileInfo\\040704B0\\CompanyName"] = "Firma";
    blocks.files[kDll] = dll;
  }

  fakes::FakeVersionBlocks blocks;
  fakes::FakeElfSource elf;
  fakes::FakePackageDatabase packages;
  VersionSources sources{blocks, elf, packages};
};

TEST_F(VersionResourceTest, ConstructionReadsTheOwnFileWithoutNotifying) {
  int changes = 0;
  TVersionResource resource(sources, kOwn);
  resource.OnChange = [&](TVersionResource&) { ++changes; };
  EXPECT_EQ(resource.FileName(), kOwn);
  EXPECT_FALSE(resource.FileNameStored());
  EXPECT_EQ(resource.Language(), TLanguage::lnUSEnglish);
  EXPECT_EQ(resource.CharacterSet(), TCharacterSet::csMultilingual);
  EXPECT_EQ(resource.VersionInfo().CompanyName, "Own");
  EXPECT_EQ(changes, 0);
}

TEST_F(VersionResourceTest, FileVersionComesFromTheFixedNumbersNotTheStringTable) {
  TVersionResource resource(sources, kOwn);
  resource.SetFileName(kDll);
  const TVersionInfo& info = resource.VersionInfo();
  EXPECT_EQ(info.FileVersion, "4.0.0.950");
  EXPECT_EQ(info.ProductVersion, "4.0.0.951");
  EXPECT_EQ(info.FileOS, "Windows NT with 32 bit Windows");
  EXPECT_EQ(info.FileType, "Device Driver");
  EXPECT_EQ(info.FileSubType, "Unknown");
  EXPECT_EQ(info.CompanyName, "Microsoft Corporation");
  EXPECT_EQ(info.Comment, "note");
  EXPECT_EQ(info.LegalCopyright, "");
  for (const std::string& query : blocks.textQueries) {
    EXPECT_EQ(query.find("FileVersion"), std::string::npos) << query;
  }
}

TEST_F(VersionResourceTest, ValueNamesAreQueriedInOrderUnderTheSelectedPrefix) {
  TVersionResource resource(sources, kOwn);
  resource.SetLanguage(TLanguage::lnGerman);
  blocks.textQueries.clear();
  resource.SetCharacterSet(TCharacterSet::csUnicode);
  const std::string p = "\\StringFileInfo\\040704B0\\";
  const std::vector<std::string> expected = {
      p + "Comments",       p + "CompanyName",     p + "FileDescription",  p + "InternalName",
      p + "LegalCopyright", p + "LegalTradeMarks", p + "OriginalFileName", p + "PrivateBuild",
      p + "ProductName",    p + "ProductVersion",  p + "SpecialBuild"};
  EXPECT_EQ(blocks.textQueries, expected);
}

TEST_F(VersionResourceTest, ProductVersionTextReplacesTheFixedNumbersOnlyWhenPresent) {
  blocks.files[kDll].texts["\\StringFileInfo\\040904E4\\ProductVersion"] = "4.00.950 beta";
  TVersionResource resource(sources, kDll);
  EXPECT_EQ(resource.VersionInfo().ProductVersion, "4.00.950 beta");
  resource.SetLanguage(TLanguage::lnGerman);
  EXPECT_EQ(resource.VersionInfo().ProductVersion, "4.0.0.951");
  EXPECT_EQ(resource.VersionInfo().CompanyName, "");
}

TEST_F(VersionResourceTest, OtherTableLanguageLeavesStringsEmptyButKeepsFixedTexts) {
  TVersionResource resource(sources, kDll);
  resource.SetLanguage(TLanguage::lnFrench);
  EXPECT_EQ(resource.VersionInfo().CompanyName, "");
  EXPECT_EQ(resource.VersionInfo().FileVersion, "4.0.0.950");
  resource.SetCharacterSet(TCharacterSet::csUnicode);
  resource.SetLanguage(TLanguage::lnGerman);
  EXPECT_EQ(resource.VersionInfo().CompanyName, "Firma");
}

TEST_F(VersionResourceTest, EachPropertyChangeRereadsAndNotifiesOnce) {
  TVersionResource resource(sources, kOwn);
  int changes = 0;
  resource.OnChange = [&](TVersionResource& sender) {
    EXPECT_EQ(&sender, &resource);
    ++changes;
  };
  const int before = blocks.sizeQueries;
  resource.SetLanguage(TLanguage::lnGerman);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(blocks.sizeQueries, before + 1);
  resource.SetCharacterSet(TCharacterSet::csUnicode);
  resource.SetFileName(kDll);
  EXPECT_EQ(changes, 3);
}

TEST_F(VersionResourceTest, FileNameStoredOnlyWhenTheTextDiffersFromTheOwnPath) {
  TVersionResource resource(sources, kOwn);
  resource.SetFileName(kDll);
  EXPECT_TRUE(resource.FileNameStored());
  resource.SetFileName(kOwn);
  EXPECT_FALSE(resource.FileNameStored());
  resource.SetFileName("/opt/zub97/bin/../bin/zub97");
  EXPECT_TRUE(resource.FileNameStored());
}

TEST_F(VersionResourceTest, NothingUsableClearsEveryTextOfThePreviousFile) {
  TVersionResource resource(sources, kDll);
  ASSERT_FALSE(resource.VersionInfo().FileVersion.empty());
  blocks.files[kDll].readFails = true;
  resource.ReadVersionInfo();
  EXPECT_EQ(resource.VersionInfo().FileVersion, "");
  EXPECT_EQ(resource.VersionInfo().CompanyName, "");

  blocks.files[kDll].readFails = false;
  blocks.files[kDll].fixed.reset();
  resource.ReadVersionInfo();
  EXPECT_EQ(resource.VersionInfo().CompanyName, "");
  EXPECT_EQ(resource.VersionInfo().FileType, "");

  resource.SetFileName("/no/such/file");
  for (const auto& field : TVersionInfo::Fields()) {
    EXPECT_EQ(resource.VersionInfo().*field.text, "") << field.name;
  }
}

TEST_F(VersionResourceTest, ElfFileGetsTypeSonameVersionAndPackage) {
  const std::string link = "/usr/lib/x86_64-linux-gnu/libQt6Core.so.6";
  elf.files[link] =
      ElfFacts{3, false, false, "libQt6Core.so.6", "/usr/lib/x86_64-linux-gnu/libQt6Core.so.6.4.2"};
  packages.owners["/usr/lib/x86_64-linux-gnu/libQt6Core.so.6.4.2"] =
      PackageInfo{"libqt6core6", "6.4.2+dfsg-10", "Qt 6 core module", "2015-2022 The Qt Company"};
  TVersionResource resource(sources, kOwn);
  resource.SetFileName(link);
  const TVersionInfo& info = resource.VersionInfo();
  EXPECT_EQ(info.FileType, "Dynamic-Link Library");
  EXPECT_EQ(info.InternalName, "libQt6Core.so.6");
  EXPECT_EQ(info.FileVersion, "6.4.2");
  EXPECT_EQ(info.ProductName, "libqt6core6");
  EXPECT_EQ(info.ProductVersion, "6.4.2+dfsg-10");
  EXPECT_EQ(info.FileDescription, "Qt 6 core module");
  EXPECT_EQ(info.LegalCopyright, "2015-2022 The Qt Company");
  EXPECT_EQ(info.FileOS, "");
  EXPECT_EQ(info.CompanyName, "");
}

TEST_F(VersionResourceTest, ElfFileWithoutPackageKeepsItsOwnFacts) {
  elf.files["/tmp/a.out"] = ElfFacts{3, true, true, "", "/tmp/a.out"};
  TVersionResource resource(sources, "/tmp/a.out");
  EXPECT_EQ(resource.VersionInfo().FileType, "Application");
  EXPECT_EQ(resource.VersionInfo().ProductName, "");
  EXPECT_EQ(resource.VersionInfo().FileVersion, "");
}

TEST(ElfVersion, ProgramOrLibraryByHeaderFlagsNotByInterpreterAlone) {
  EXPECT_EQ(ElfFileTypeText({2, false, false, "", ""}), "Application");
  EXPECT_EQ(ElfFileTypeText({3, true, true, "", ""}), "Application");
  EXPECT_EQ(ElfFileTypeText({3, true, false, "", ""}), "Application");
  // libc.so.6 has a PT_INTERP so that it can be run, and is still a library.
  EXPECT_EQ(ElfFileTypeText({3, true, false, "libc.so.6", ""}), "Dynamic-Link Library");
  EXPECT_EQ(ElfFileTypeText({3, false, false, "", ""}), "Dynamic-Link Library");
  EXPECT_EQ(ElfFileTypeText({1, false, false, "", ""}), "Unknown");
  EXPECT_EQ(ElfFileTypeText({4, false, false, "", ""}), "Unknown");
}

TEST(ElfVersion, TrailingVersionTakesOnlyNumbersThatEndTheName) {
  const std::pair<const char*, const char*> cases[] = {
      {"/usr/lib/x86_64-linux-gnu/libQt6Core.so.6.4.2", "6.4.2"},
      {"libc.so.6", "6"},
      {"/usr/bin/python3.11", "3.11"},
      {"/usr/bin/gcc-12", "12"},
      {"/usr/lib/libc-2.36.so", ""},
      {"/usr/bin/md5sum", ""},
      {"/usr/bin/zub97", ""},
      {"/v1.2/name", ""},
      {"libfoo.so.", ""},
      {"libfoo.so.6..4", ""},
      {"", ""},
  };
  for (const auto& [path, version] : cases) {
    EXPECT_EQ(TrailingVersion(path), version) << path;
  }
}

// The number a soname carries is the interface's, not the file's version:
// only a real name that says more than its soname gives a file version.
TEST(ElfVersion, FileVersionOnlyWhereTheRealNameCarriesMoreThanTheSoname) {
  const struct {
    const char* realPath;
    const char* soname;
    const char* version;
  } cases[] = {
      {"/usr/lib/x86_64-linux-gnu/libQt6Core.so.6.4.2", "libQt6Core.so.6", "6.4.2"},
      {"/usr/lib/x86_64-linux-gnu/libc.so.6", "libc.so.6", ""},
      {"/usr/lib/x86_64-linux-gnu/ld-linux-x86-64.so.2", "ld-linux-x86-64.so.2", ""},
      {"/usr/lib/x86_64-linux-gnu/libgtk-3.so.0", "libgtk-3.so.0", ""},
      {"/opt/app/libcopy.so.6", "libc.so.6", ""},  // renamed: still only the interface's 6
      {"/usr/lib/x86_64-linux-gnu/libz.so.1.2.13", "libz.so.1", "1.2.13"},
      {"/usr/bin/python3.11", "", "3.11"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ElfFileVersion(c.realPath, c.soname), c.version) << c.realPath;
  }
}

}  // namespace
}  // namespace zub
