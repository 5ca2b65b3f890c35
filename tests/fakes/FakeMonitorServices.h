// Every service of the main window, faked: a window test's fixture holds one.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"
#include "monitor/MonitorServices.h"

namespace zub::fakes {

struct FakeMonitorServices {
  MonitorServices Services(std::function<ScreenSize()> screen) {
    return {app, drives, disk, memory, resources, settings, marker, prompts, std::move(screen)};
  }

  Application app;
  FakeDriveTable drives;
  FakeDiskSpace disk;
  FakeMemorySource memory;
  FakeResourceSource resources;
  FakeSettingsFile settings;
  std::map<std::string, FakeInstanceMarker*> held;
  FakeInstanceMarker marker{held};
  ScriptedPrompts prompts;
};

}  // namespace zub::fakes
