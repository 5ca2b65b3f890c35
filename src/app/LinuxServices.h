// The Linux implementations of the platform services, picked in one place for
// both front ends.
#pragma once

#include <cstdlib>

#include "platform/linux/LinuxDriveTable.h"
#include "platform/linux/LinuxMemorySource.h"
#include "platform/linux/LinuxResourceSource.h"
#include "platform/linux/LinuxSystemFacts.h"
#include "platform/linux/StatvfsDiskSpace.h"
#include "platform/linux/XcbWindowSource.h"
#include "platform/linux/XdgSettingsFile.h"

namespace zub {

struct LinuxServices {
  LinuxDriveTable drives;
  StatvfsDiskSpace disk;
  LinuxMemorySource memory;
  LinuxResourceSource resources;
  XdgSettingsFile settings =
      XdgSettingsFile::ForUser(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  XdgSettingsFile machineSettings = XdgSettingsFile::ForMachine();
  LinuxSystemFacts systemFacts;
  XcbWindowSource windows{std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : ""};
};

}  // namespace zub
