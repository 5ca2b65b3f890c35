// The Linux implementations of the platform services, picked in one place for
// both front ends.
#pragma once

#include <cstdlib>

#include "platform/linux/LinuxDirectorySource.h"
#include "platform/linux/LinuxDriveTable.h"
#include "platform/linux/LinuxMemorySource.h"
#include "platform/linux/LinuxResourceSource.h"
#include "platform/linux/StatvfsDiskSpace.h"
#include "platform/linux/XdgSettingsFile.h"
#include "platform/linux/XdgTrash.h"

namespace zub {

struct LinuxServices {
  LinuxDriveTable drives;
  StatvfsDiskSpace disk;
  LinuxMemorySource memory;
  LinuxResourceSource resources;
  XdgSettingsFile settings =
      XdgSettingsFile::ForUser(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  LinuxDirectorySource files;
  XdgTrash trash;
};

}  // namespace zub
