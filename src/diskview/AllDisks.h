// The All Disks rules: which drives get a pie, each pie's percentage and
// hint, where the pies stand, the window's height and its totals caption.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/DriveSpace.h"

namespace zub {

inline constexpr int kAllDisksPieCount = 24;
inline constexpr int kAllDisksPieSize = 60;
inline constexpr int kAllDisksWidth = 438;
inline constexpr int kAllDisksDesignHeight = 371;

struct PiePlace {
  int left = 0;
  int top = 0;
  bool operator==(const PiePlace&) const = default;
};

// Where pie `number` (1 to 24) stands in the window's client area. The third
// row is filled from right to left.
PiePlace AllDisksPiePlace(int number);

struct AllDisksPie {
  int pie = 0;          // 1 to 24: PieGraf1 ... PieGraf24
  int driveNumber = 0;  // 3 = C: ... 26 = Z:
  char letter = 0;
  int percent = 0;      // free share, rounded half to even
  std::string caption;  // "Drive C"
  std::string hint;     // "1520 Free Mb / 2047 Mb Total Type is Hard drive"
};

struct AllDisksView {
  std::vector<AllDisksPie> pies;  // the shown pies, in pie order
  std::int64_t totalBytes = 0;    // sums over the shown drives
  std::int64_t freeBytes = 0;
  std::string caption;  // "1520Mb /527Mb /2047 Mb free/used/total"
  int outerHeight = kAllDisksDesignHeight;
};

// The outer window height for `shownPies` pies (pies 1 .. shownPies shown).
int AllDisksOuterHeight(int shownPies);

// Asks every drive from C: to Z: once; a drive whose size is not above 0 gets no pie.
AllDisksView BuildAllDisks(const DriveQueries& drives);

}  // namespace zub
