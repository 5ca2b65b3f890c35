// The Linux implementations of the platform services, picked in one place for
// both front ends.
#pragma once

#include <cstdlib>

#include "platform/linux/DpkgDatabase.h"
#include "platform/linux/LinuxDirectorySource.h"
#include "platform/linux/LinuxDriveTable.h"
#include "platform/linux/LinuxElfSource.h"
#include "platform/linux/LinuxMemorySource.h"
#include "platform/linux/LinuxProcessSource.h"
#include "platform/linux/LinuxResourceSource.h"
#include "platform/linux/LinuxSystemFacts.h"
#include "platform/linux/PeVersionFile.h"
#include "platform/linux/StatvfsDiskSpace.h"
#include "platform/linux/XcbWindowSource.h"
#include "platform/linux/XdgSettingsFile.h"
#include "platform/linux/XdgTrash.h"

namespace zub {

struct LinuxServices {
  LinuxDriveTable drives;
  StatvfsDiskSpace disk;
  LinuxMemorySource memory;
  LinuxResourceSource resources;
  LinuxProcessSource processes;
  XdgSettingsFile settings =
      XdgSettingsFile::ForUser(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  linux_platform::PeVersionFile versionBlocks;
  linux_platform::LinuxElfSource elf;
  linux_platform::DpkgDatabase packages{"/var/lib/dpkg", "/usr/share/doc"};
  XdgSettingsFile machineSettings = XdgSettingsFile::ForMachine();
  LinuxSystemFacts systemFacts;
  XcbWindowSource windows{std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : ""};
  LinuxDirectorySource files;
  XdgTrash trash;
};

}  // namespace zub
