#include "monitor/DriveSpace.h"

#include <algorithm>

#include "monitor/NumberText.h"

namespace zub {
namespace {

char UpperLetter(char letter) {
  if (letter >= 'a' && letter <= 'z') {
    return static_cast<char>(letter - 'a' + 'A');
  }
  return letter;
}

// Overflow-checked product of the four geometry figures.
std::int64_t Bytes(std::int64_t a, std::int64_t b, std::int64_t c) {
  std::int64_t ab = 0;
  std::int64_t abc = 0;
  if (a < 0 || b < 0 || c < 0 || __builtin_mul_overflow(a, b, &ab) ||
      __builtin_mul_overflow(ab, c, &abc)) {
    return -1;  // an absurd geometry is a failed query, not a wrapped number
  }
  return abc;
}

}  // namespace

SizeUnit SizeUnitFromNumber(int number) {
  switch (number) {
    case 1:
      return SizeUnit::Kb;
    case 3:
      return SizeUnit::Bytes;
    default:
      return SizeUnit::Mb;
  }
}

int DriveNumber(char letter) {
  const char upper = UpperLetter(letter);
  if (upper < 'A' || upper > 'Z') {
    return 0;
  }
  return upper - 'A' + 1;
}

char DriveLetter(int number) {
  return static_cast<char>('A' + number - 1);
}

std::optional<DiskGeometry> DriveQueries::Geometry(int number) const {
  if (number < 0 || number > 26) {
    return std::nullopt;
  }
  const char letter = number == 0 ? table_->CurrentDriveLetter() : DriveLetter(number);
  const auto drive = FindDrive(*table_, letter);
  if (!drive) {
    return std::nullopt;
  }
  return space_->Query(*drive);
}

std::int64_t DriveQueries::DriveFreeBytes(int number) const {
  const auto g = Geometry(number);
  return g ? Bytes(g->sectorsPerCluster, g->bytesPerSector, g->freeClusters) : -1;
}

std::int64_t DriveQueries::DriveTotalBytes(int number) const {
  const auto g = Geometry(number);
  return g ? Bytes(g->sectorsPerCluster, g->bytesPerSector, g->totalClusters) : -1;
}

bool DriveQueries::IsDriveReady(char letter) const {
  const int number = DriveNumber(letter);
  if (number == 0) {
    throw DriveIdError("Not a valid drive ID");
  }
  // No critical-error box to switch off here: the query never prompts.
  return DriveTotalBytes(number) != -1;
}

std::string DriveQueries::DriveTypeText(char letter) const {
  const int number = DriveNumber(letter);
  if (number == 0) {
    throw DriveIdError(std::string("Not a valid drive ID ") + letter);
  }
  const auto drive = FindDrive(*table_, UpperLetter(letter));
  switch (drive ? drive->kind : DriveKind::NoRootDir) {
    case DriveKind::Removable:
      return "Removable";
    case DriveKind::Fixed:
      return "Hard drive";
    case DriveKind::Remote:
      return "Network drive";
    case DriveKind::CdRom:
      return "CD Rom drive";
    case DriveKind::RamDisk:
      return "Ram drive";
    default:
      return "does not exist";
  }
}

double DriveQueries::DriveFreePercent(int number) const {
  const auto total = static_cast<double>(DriveTotalBytes(number));
  if (total > 0) {
    return static_cast<double>(DriveFreeBytes(number)) / total * 100.0;
  }
  return 0.0;
}

int DriveQueries::RoundedFreePercent(int number) const {
  // A failed free query next to a known total would give a negative share.
  return static_cast<int>(
      std::clamp<std::int64_t>(RoundHalfEven(DriveFreePercent(number)), 0, 100));
}

DriveSpaceText DriveQueries::FormatDriveSpace(int number, SizeUnit unit) const {
  if (number > 26) {
    number = 3;
  }
  const auto free = static_cast<double>(DriveFreeBytes(number));
  const std::int64_t total = DriveTotalBytes(number);

  DriveSpaceText result;
  switch (unit) {
    case SizeUnit::Bytes:
      result.panelFontSize = 10;
      result.text = NumberText(free) + "/" + std::to_string(total) + " Free/Total Bytes";
      break;
    case SizeUnit::Kb:
      result.panelFontSize = 11;
      result.text = std::to_string(RoundHalfEven(free / kBytesPerKb)) + " Kb Free / " +
                    std::to_string(total / 1024) + " Kb Total";
      break;
    case SizeUnit::Mb:
    default:
      result.panelFontSize = 12;
      result.text = std::to_string(RoundHalfEven(free / kBytesPerMb)) + " Free Mb / " +
                    std::to_string(total / 1048576) + " Mb Total";
      break;
  }
  if (free < 0) {
    // Drive 0 names the current drive's letter rather than the character before A.
    const char letter = number == 0 ? table_->CurrentDriveLetter() : DriveLetter(number);
    result.text = std::string("Not found Drive ") + letter;
  }
  return result;
}

}  // namespace zub
