// zub97-report: prints what the windows would show, one tab-separated record a line.
#include <clocale>
#include <cstdlib>
#include <iostream>

#include "app/Report.h"
#include "platform/linux/LinuxDriveTable.h"
#include "platform/linux/LinuxMemorySource.h"
#include "platform/linux/LinuxResourceSource.h"
#include "platform/linux/StatvfsDiskSpace.h"
#include "platform/linux/XdgSettingsFile.h"

int main(int argc, char** argv) {
  if (argc > 1) {
    std::cerr << "usage: " << argv[0] << "\n(takes no arguments; prints drive, memory, title and "
              << "settings records)\n";
    return 2;
  }
  std::setlocale(LC_ALL, "");
  zub::LinuxDriveTable drives;
  zub::StatvfsDiskSpace disk;
  zub::LinuxMemorySource memory;
  zub::LinuxResourceSource resources;
  auto settings =
      zub::XdgSettingsFile::ForUser(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  return zub::WriteReport({drives, disk, memory, resources, settings}, std::cout, std::cerr);
}
