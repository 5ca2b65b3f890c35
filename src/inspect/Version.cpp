#include "inspect/Version.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "inspect/ElfVersion.h"

namespace zub {

const std::array<TVersionInfo::Field, 15>& TVersionInfo::Fields() {
  static const std::array<Field, 15> fields = {{
      {"Comment", &TVersionInfo::Comment},
      {"CompanyName", &TVersionInfo::CompanyName},
      {"FileDescription", &TVersionInfo::FileDescription},
      {"FileVersion", &TVersionInfo::FileVersion},
      {"InternalName", &TVersionInfo::InternalName},
      {"LegalCopyright", &TVersionInfo::LegalCopyright},
      {"LegalTradeMarks", &TVersionInfo::LegalTradeMarks},
      {"OriginalFileName", &TVersionInfo::OriginalFileName},
      {"PrivateBuild", &TVersionInfo::PrivateBuild},
      {"ProductName", &TVersionInfo::ProductName},
      {"ProductVersion", &TVersionInfo::ProductVersion},
      {"SpecialBuild", &TVersionInfo::SpecialBuild},
      {"FileOS", &TVersionInfo::FileOS},
      {"FileType", &TVersionInfo::FileType},
      {"FileSubType", &TVersionInfo::FileSubType},
  }};
  return fields;
}

std::uint16_t LanguageCode(TLanguage language) {
  const int ordinal = static_cast<int>(language);
  if (ordinal <= static_cast<int>(TLanguage::lnBahasa)) {
    return static_cast<std::uint16_t>(0x0401 + ordinal);
  }
  switch (language) {
    case TLanguage::lnSimplifiedChinese:
      return 0x0804;
    case TLanguage::lnSwissGerman:
      return 0x0807;
    case TLanguage::lnUKEnglish:
      return 0x0809;
    case TLanguage::lnMexicanSpanish:
      return 0x080A;
    case TLanguage::lnBelgianFrench:
      return 0x080C;
    case TLanguage::lnSwissItalian:
      return 0x0810;
    case TLanguage::lnBelgianDutch:
      return 0x0813;
    case TLanguage::lnNorwegianNynorsk:
      return 0x0814;
    case TLanguage::lnPortuguese:
      return 0x0816;
    case TLanguage::lnSerboCroatian:
      return 0x081A;
    case TLanguage::lnCanadianFrench:
      return 0x0C0C;
    case TLanguage::lnSwissFrench:
      return 0x100C;
    default:
      return 0x0409;
  }
}

std::uint16_t CharacterSetCode(TCharacterSet characterSet) {
  static constexpr std::uint16_t kCodes[] = {0,    932,  949,  950,  1200, 1250,
                                             1251, 1252, 1253, 1254, 1255, 1256};
  return kCodes[static_cast<int>(characterSet)];
}

std::string StringTablePrefix(TLanguage language, TCharacterSet characterSet) {
  char key[9];
  std::snprintf(key, sizeof key, "%04X%04X", static_cast<unsigned>(LanguageCode(language)),
                static_cast<unsigned>(CharacterSetCode(characterSet)));
  return std::string("\\StringFileInfo\\") + key + "\\";
}

std::string VersionNumbersText(std::uint32_t ms, std::uint32_t ls) {
  return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." +
         std::to_string(ls >> 16) + "." + std::to_string(ls & 0xFFFF);
}

std::string FileOSText(std::uint32_t fileOS) {
  switch (fileOS) {
    case 0x1:
      return "Windows 3.0 or later";
    case 0x2:
      return "16 bit OS/2 Presentation Manager";
    case 0x3:
      return "32 bit OS/2 Presentation Manager";
    case 0x4:
      return "32 bit Windows";
    case 0x10000:
      return "MS-Dos";
    case 0x10001:
      return "Windows 3.0 or later with MS-Dos";
    case 0x10004:
      return "32 bit Windows with MS-Dos";
    case 0x20000:
      return "16 bit OS/2";
    case 0x20002:
      return "16 bit OS/2 with Presentation Manager";
    case 0x30000:
      return "32 bit OS/2";
    case 0x30003:
      return "32 bit OS/2 with Presentation Manager";
    case 0x40000:
      return "Windows NT";
    case 0x40004:
      return "Windows NT with 32 bit Windows";
    default:
      return "Unknown";
  }
}

std::string FileTypeText(std::uint32_t fileType) {
  switch (fileType) {
    case 1:
      return "Application";
    case 2:
      return "Dynamic-Link Library";
    case 3:
      return "Device Driver";
    case 4:
      return "Font";
    case 5:
      return "Virtual Device Driver";
    case 7:
      return "Static-Link Library";
    default:
      return "Unknown";
  }
}

std::string FileSubTypeText(std::uint32_t fileType, std::uint32_t fileSubtype) {
  if (fileType == 3) {
    static const char* const kDrivers[] = {"Printer", "Keyboard",      "Language", "Display",
                                           "Mouse",   "Network",       "System",   "Installable",
                                           "Sound",   "Communications"};
    return fileSubtype >= 1 && fileSubtype <= 10 ? kDrivers[fileSubtype - 1] : "Unknown";
  }
  if (fileType == 4) {
    static const char* const kFonts[] = {"Raster", "Vector", "TrueType"};
    return fileSubtype >= 1 && fileSubtype <= 3 ? kFonts[fileSubtype - 1] : "Unknown";
  }
  return "";
}

TVersionResource::TVersionResource(VersionSources sources, std::string ownPath)
    : sources_(sources), ownPath_(std::move(ownPath)), fileName_(ownPath_) {
  ReadVersionInfo();
}

void TVersionResource::SetFileName(const std::string& fileName) {
  fileName_ = fileName;
  fileNameStored_ = fileName_ != ownPath_;
  ReadVersionInfo();
  Changed();
}

void TVersionResource::SetLanguage(TLanguage language) {
  language_ = language;
  ReadVersionInfo();
  Changed();
}

void TVersionResource::SetCharacterSet(TCharacterSet characterSet) {
  characterSet_ = characterSet;
  ReadVersionInfo();
  Changed();
}

void TVersionResource::Changed() {
  if (OnChange) {
    OnChange(*this);
  }
}

void TVersionResource::ClearVersionInfo() {
  info_ = TVersionInfo{};
}

void TVersionResource::ReadVersionInfo() {
  ClearVersionInfo();
  const std::uint32_t size = sources_.blocks.BlockSize(fileName_);
  if (size == 0) {
    ReadElfInfo();
    return;
  }
  const std::optional<std::string> block = sources_.blocks.ReadBlock(fileName_, size);
  if (block) {
    ParseVersionInfo(*block);
  }
}

void TVersionResource::ParseVersionInfo(const std::string& block) {
  const std::optional<FixedFileInfo> fixed = sources_.blocks.QueryFixed(block);
  if (!fixed) {
    return;
  }
  info_.FileVersion = VersionNumbersText(fixed->fileVersionMS, fixed->fileVersionLS);
  info_.ProductVersion = VersionNumbersText(fixed->productVersionMS, fixed->productVersionLS);
  info_.FileOS = FileOSText(fixed->fileOS);
  info_.FileType = FileTypeText(fixed->fileType);
  info_.FileSubType = FileSubTypeText(fixed->fileType, fixed->fileSubtype);

  const std::string prefix = StringTablePrefix(language_, characterSet_);
  // No "FileVersion" string: the fixed numbers above always stand.
  static const std::pair<const char*, std::string TVersionInfo::*> kStrings[] = {
      {"Comments", &TVersionInfo::Comment},
      {"CompanyName", &TVersionInfo::CompanyName},
      {"FileDescription", &TVersionInfo::FileDescription},
      {"InternalName", &TVersionInfo::InternalName},
      {"LegalCopyright", &TVersionInfo::LegalCopyright},
      {"LegalTradeMarks", &TVersionInfo::LegalTradeMarks},
      {"OriginalFileName", &TVersionInfo::OriginalFileName},
      {"PrivateBuild", &TVersionInfo::PrivateBuild},
      {"ProductName", &TVersionInfo::ProductName},
      {"ProductVersion", &TVersionInfo::ProductVersion},
      {"SpecialBuild", &TVersionInfo::SpecialBuild},
  };
  for (const auto& [name, text] : kStrings) {
    if (std::optional<std::string> found = sources_.blocks.QueryText(block, prefix + name)) {
      info_.*text = std::move(*found);
    }
  }
}

void TVersionResource::ReadElfInfo() {
  const std::optional<ElfFacts> elf = sources_.elf.Read(fileName_);
  if (!elf) {
    return;
  }
  info_.FileType = ElfFileTypeText(*elf);
  info_.InternalName = elf->soname;
  info_.FileVersion =
      ElfFileVersion(elf->realPath.empty() ? fileName_ : elf->realPath, elf->soname);
  std::optional<PackageInfo> package = sources_.packages.Owner(fileName_);
  if (!package && !elf->realPath.empty() && elf->realPath != fileName_) {
    package = sources_.packages.Owner(elf->realPath);
  }
  if (package) {
    info_.ProductName = package->name;
    info_.ProductVersion = package->version;
    info_.FileDescription = package->summary;
    info_.LegalCopyright = package->copyright;
  }
}

}  // namespace zub
