#include "diskview/AllDisks.h"

#include "monitor/MonitorWindowRules.h"
#include "monitor/NumberText.h"

namespace zub {

PiePlace AllDisksPiePlace(int number) {
  static constexpr int kLefts[] = {24, 88, 152, 216, 280, 344};
  static constexpr int kTops[] = {8, 80, 152, 224};
  const int index = number - 1;
  const int row = index / 6;
  int column = index % 6;
  if (row == 2) {
    column = 5 - column;
  }
  return {kLefts[column], kTops[row]};
}

int AllDisksOuterHeight(int shownPies) {
  // Each rule looks at one pie being hidden; a later rule overrides an earlier.
  int height = kAllDisksDesignHeight;
  if (shownPies < 19) {
    height = 355;
  }
  if (shownPies < 18) {
    height = 268;
  }
  if (shownPies < 7) {
    height = 130;
  }
  // With 19 or more drives the design height comes back, so a window kept
  // from an opening with fewer drives does not cut rows three and four off.
  return height;
}

AllDisksView BuildAllDisks(const DriveQueries& drives) {
  AllDisksView view;
  for (int number = 3; number <= 26 && static_cast<int>(view.pies.size()) < kAllDisksPieCount;
       ++number) {
    const std::int64_t total = drives.DriveTotalBytes(number);
    if (total <= 0) {
      continue;
    }
    // A failed free query adds its -1, and its percentage comes out as 0.
    const std::int64_t free = drives.DriveFreeBytes(number);
    view.totalBytes += total;
    view.freeBytes += free;

    AllDisksPie pie;
    pie.pie = static_cast<int>(view.pies.size()) + 1;
    pie.driveNumber = number;
    pie.letter = DriveLetter(number);
    pie.percent = drives.RoundedFreePercent(number);
    pie.caption = DriveLabelText(pie.letter);
    pie.hint = DiskHint(drives.FormatDriveSpace(number, SizeUnit::Mb).text,
                        drives.DriveTypeText(pie.letter));
    view.pies.push_back(std::move(pie));
  }

  const std::int64_t totalMb = RoundHalfEven(static_cast<double>(view.totalBytes) / kBytesPerMb);
  const std::int64_t freeMb = RoundHalfEven(static_cast<double>(view.freeBytes) / kBytesPerMb);
  view.caption = std::to_string(freeMb) + "Mb /" + std::to_string(totalMb - freeMb) + "Mb /" +
                 std::to_string(totalMb) + " Mb free/used/total";
  view.outerHeight = AllDisksOuterHeight(static_cast<int>(view.pies.size()));
  return view;
}

}  // namespace zub
