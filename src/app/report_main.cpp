// zub97-report: prints what the windows would show, one tab-separated record a line.
#include <clocale>
#include <iostream>

#include "app/LinuxServices.h"
#include "app/Report.h"

int main(int argc, char** argv) {
  if (argc > 1) {
    std::cerr << "usage: " << argv[0]
              << "\n(takes no arguments; prints drive, All Disks, memory, title "
              << "and settings records)\n";
    return 2;
  }
  std::setlocale(LC_ALL, "");
  zub::LinuxServices platform;
  return zub::WriteReport(
      {platform.drives, platform.disk, platform.memory, platform.resources, platform.settings},
      std::cout, std::cerr);
}
