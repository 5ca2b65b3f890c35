// What the windows would show (drives, All Disks, memory views, title,
// settings) as tab-separated records: one a line, the first field naming it.
#pragma once

#include <ostream>
#include <string>

#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"
#include "platform/MemorySource.h"
#include "platform/ResourceSource.h"
#include "platform/SettingsFile.h"

namespace zub {

struct ReportSources {
  DriveTable& drives;
  DiskSpace& disk;
  MemorySource& memory;
  ResourceSource& resources;
  SettingsFile& settings;
};

// Writes every record to `out` and every failure to `err`; the result is the
// exit status (0 when nothing failed). Reads, never writes, the settings.
int WriteReport(const ReportSources& sources, std::ostream& out, std::ostream& err);

}  // namespace zub
