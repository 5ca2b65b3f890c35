// The drive questions: valid letter, type, readiness, free and total bytes,
// free percentage, and the status panel's one-line space text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"

namespace zub {

// Where a unit is given as a number: 1 Kb, 2 Mb, 3 Bytes, anything else Mb.
enum class SizeUnit { Kb = 1, Mb = 2, Bytes = 3 };
SizeUnit SizeUnitFromNumber(int number);

inline constexpr double kBytesPerKb = 1024.0;
inline constexpr double kBytesPerMb = 1048576.0;

// A letter that is not A to Z (after upper-casing).
class DriveIdError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// 'A' -> 1 ... 'Z' -> 26, lower case accepted; 0 for anything else.
int DriveNumber(char letter);
// 1 -> 'A' ... 26 -> 'Z'.
char DriveLetter(int number);

struct DriveSpaceText {
  std::string text;
  int panelFontSize = 12;  // points, for the main window's status panel
};

// Answers about drives by number (0 = the current drive, 1 = A:, 3 = C:) or
// letter. Holds nothing but the platform services it asks.
class DriveQueries {
 public:
  DriveQueries(DriveTable& table, DiskSpace& space) : table_(&table), space_(&space) {}

  // Bytes, or -1 when the drive cannot be queried.
  std::int64_t DriveFreeBytes(int number) const;
  std::int64_t DriveTotalBytes(int number) const;
  // Throws DriveIdError("Not a valid drive ID") for an invalid letter.
  bool IsDriveReady(char letter) const;
  // "Removable", "Hard drive", ...; throws DriveIdError("Not a valid drive ID X").
  std::string DriveTypeText(char letter) const;
  // 0 to 100, not rounded; 0 when the total is not above 0.
  double DriveFreePercent(int number) const;
  // The free percentage as every window shows it: rounded half to even, 0 to 100.
  int RoundedFreePercent(int number) const;
  DriveSpaceText FormatDriveSpace(int number, SizeUnit unit) const;

  DriveTable& Table() const { return *table_; }

 private:
  std::optional<DiskGeometry> Geometry(int number) const;

  DriveTable* table_;
  DiskSpace* space_;
};

}  // namespace zub
