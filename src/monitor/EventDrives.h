// The drives as one event sees them: the drive table read once and each
// drive's figures asked once, however many questions the event's handler
// asks. Reading the table parses the mount table, the labels and sysfs, so a
// handler that asked it per question read it dozens of times.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "monitor/DriveSpace.h"
#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"

namespace zub {

class EventDrives {
 public:
  // Reads the table now; the figures are asked on first use.
  EventDrives(DriveTable& table, DiskSpace& disk);
  EventDrives(const EventDrives&) = delete;
  EventDrives& operator=(const EventDrives&) = delete;

  const DriveQueries& Queries() const { return queries_; }
  const std::vector<DriveInfo>& List() const { return table_.drives; }

 private:
  class Table : public DriveTable {
   public:
    explicit Table(DriveTable& source) : source(&source), drives(source.Drives()) {}
    std::vector<DriveInfo> Drives() override { return drives; }
    char CurrentDriveLetter() override;
    void SetCurrentDirectory(char letter, const std::string& directory) override;

    DriveTable* source;
    std::vector<DriveInfo> drives;
    std::optional<char> current;
  };

  class Disk : public DiskSpace {
   public:
    explicit Disk(DiskSpace& source) : source(&source) {}
    std::optional<DiskGeometry> Query(const DriveInfo& drive) override;

    DiskSpace* source;
    std::map<std::string, std::optional<DiskGeometry>> answers;  // by mount point
  };

  Table table_;
  Disk disk_;
  DriveQueries queries_;
};

}  // namespace zub
