// The version information of an executable file: the fifteen texts, the
// component that reads them, and the language, code page and code tables.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ElfSource.h"
#include "platform/PackageDatabase.h"
#include "platform/VersionBlockSource.h"

namespace zub {

struct TVersionInfo {
  std::string Comment;
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyright;
  std::string LegalTradeMarks;
  std::string OriginalFileName;
  std::string PrivateBuild;
  std::string ProductName;
  std::string ProductVersion;
  std::string SpecialBuild;
  std::string FileOS;
  std::string FileType;
  std::string FileSubType;

  struct Field {
    const char* name;
    std::string TVersionInfo::*text;
  };
  // Every text with its property name, in declaration order.
  static const std::array<Field, 15>& Fields();
};

enum class TLanguage {
  lnArabic,
  lnBulgarian,
  lnCatalan,
  lnTraditionalChinese,
  lnCzech,
  lnDanish,
  lnGerman,
  lnGreek,
  lnUSEnglish,
  lnCastilianSpanish,
  lnFinnish,
  lnFrench,
  lnHebrew,
  lnHungarian,
  lnIcelandic,
  lnItalian,
  lnJapanese,
  lnKorean,
  lnDutch,
  lnNorwegianBokmal,
  lnPolish,
  lnBrazilianPortuguese,
  lnRhaetoRomanic,
  lnRomanian,
  lnRussian,
  lnCroatoSerbian,
  lnSlovak,
  lnAlbanian,
  lnSwedish,
  lnThai,
  lnTurkish,
  lnUrdu,
  lnBahasa,
  lnSimplifiedChinese,
  lnSwissGerman,
  lnUKEnglish,
  lnMexicanSpanish,
  lnBelgianFrench,
  lnSwissItalian,
  lnBelgianDutch,
  lnNorwegianNynorsk,
  lnPortuguese,
  lnSerboCroatian,
  lnCanadianFrench,
  lnSwissFrench,
};

enum class TCharacterSet {
  csASCII,
  csJapan,
  csKorea,
  csTaiwan,
  csUnicode,
  csLatin2,
  csCyrillic,
  csMultilingual,
  csGreek,
  csTurkish,
  csHebrew,
  csArabic,
};

std::uint16_t LanguageCode(TLanguage language);
std::uint16_t CharacterSetCode(TCharacterSet characterSet);

// "\StringFileInfo\" + language and code page as eight upper-case hex digits + "\".
std::string StringTablePrefix(TLanguage language, TCharacterSet characterSet);
// The four 16-bit numbers of a version, "4.0.0.950".
std::string VersionNumbersText(std::uint32_t ms, std::uint32_t ls);
std::string FileOSText(std::uint32_t fileOS);
std::string FileTypeText(std::uint32_t fileType);
// Empty for every type but drivers (3) and fonts (4).
std::string FileSubTypeText(std::uint32_t fileType, std::uint32_t fileSubtype);

// Where the component reads from. Plain references: they outlive it.
struct VersionSources {
  VersionBlockSource& blocks;
  ElfSource& elf;
  PackageDatabase& packages;
};

class TVersionResource {
 public:
  // Reads `ownPath`, the program's own executable, at once; OnChange is not called.
  TVersionResource(VersionSources sources, std::string ownPath);

  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& fileName);
  // True when FileName is not the program's own path (exact text).
  bool FileNameStored() const { return fileNameStored_; }

  TLanguage Language() const { return language_; }
  void SetLanguage(TLanguage language);
  TCharacterSet CharacterSet() const { return characterSet_; }
  void SetCharacterSet(TCharacterSet characterSet);

  const TVersionInfo& VersionInfo() const { return info_; }

  // Called after every read that a property change caused.
  std::function<void(TVersionResource& sender)> OnChange;

  void ClearVersionInfo();
  void ReadVersionInfo();
  void ParseVersionInfo(const std::string& block);

 private:
  void Changed();
  // ELF files have no version block: the texts come from the file and its package.
  void ReadElfInfo();

  VersionSources sources_;
  std::string ownPath_;
  bool fileNameStored_ = false;
  std::string fileName_;
  TLanguage language_ = TLanguage::lnUSEnglish;
  TCharacterSet characterSet_ = TCharacterSet::csMultilingual;
  TVersionInfo info_;
};

}  // namespace zub
