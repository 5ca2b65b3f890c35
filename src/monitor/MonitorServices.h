// Everything the main window needs from outside: the program's identity, the
// platform services and the dialogs. The front end picks the implementations.
#pragma once

#include <functional>

#include "app/Application.h"
#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"
#include "platform/InstanceMarker.h"
#include "platform/MemorySource.h"
#include "platform/ResourceSource.h"
#include "platform/SettingsFile.h"
#include "ui/Prompts.h"

namespace zub {

struct ScreenSize {
  int width = 640;
  int height = 480;
};

struct MonitorServices {
  Application& application;
  DriveTable& drives;
  DiskSpace& disk;
  MemorySource& memory;
  ResourceSource& resources;
  SettingsFile& settings;
  InstanceMarker& marker;
  Prompts& prompts;
  // The screen the window is fitted to; the primary screen when empty.
  std::function<ScreenSize()> screenSize;
};

}  // namespace zub
