// The Linux implementations of the platform services, picked in one place for
// both front ends.
#pragma once

#include <cstdlib>

#include "platform/linux/LinuxDriveTable.h"
#include "platform/linux/LinuxMemorySource.h"
#include "platform/linux/LinuxProcessSource.h"
#include "platform/linux/LinuxResourceSource.h"
#include "platform/linux/StatvfsDiskSpace.h"
#include "platform/linux/XdgSettingsFile.h"

namespace zub {

struct LinuxServices {
  LinuxDriveTable drives;
  StatvfsDiskSpace disk;
  LinuxMemorySource memory;
  LinuxResourceSource resources;
  LinuxProcessSource processes;
  XdgSettingsFile settings =
      XdgSettingsFile::ForUser(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
};

}  // namespace zub
