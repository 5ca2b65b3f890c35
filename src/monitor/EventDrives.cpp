#include "monitor/EventDrives.h"

namespace zub {

EventDrives::EventDrives(DriveTable& table, DiskSpace& disk)
    : table_(table), disk_(disk), queries_(table_, disk_) {}

char EventDrives::Table::CurrentDriveLetter() {
  if (!current) {
    current = source->CurrentDriveLetter();
  }
  return *current;
}

void EventDrives::Table::SetCurrentDirectory(char letter, const std::string& directory) {
  source->SetCurrentDirectory(letter, directory);
  for (DriveInfo& drive : drives) {
    if (drive.letter == letter) {
      drive.currentDirectory = directory;
    }
  }
}

std::optional<DiskGeometry> EventDrives::Disk::Query(const DriveInfo& drive) {
  const auto known = answers.find(drive.mountPoint);
  if (known != answers.end()) {
    return known->second;
  }
  return answers.emplace(drive.mountPoint, source->Query(drive)).first->second;
}

}  // namespace zub
