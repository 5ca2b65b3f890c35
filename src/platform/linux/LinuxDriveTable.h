// Drives from the kernel's mount table, with types from sysfs and labels
// from udev's by-label links.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/linux/Mountinfo.h"

namespace zub {

// One /dev/disk/by-label link: the decoded label and what it points at.
struct LabelLink {
  std::string label;
  std::string targetName;  // last component of the link target: "sda1", "dm-0"
  std::optional<std::pair<unsigned, unsigned>>
      device;  // major:minor when the target is a block device
};

// The label of a mount's file system, matched by device number or by device name.
std::optional<std::string> FindLabel(const MountEntry& entry, const std::vector<LabelLink>& links);

class LinuxDriveTable : public DriveTable {
 public:
  // The process's working directory; empty when it cannot be read.
  using WorkingDirectoryFn = std::function<std::string()>;

  explicit LinuxDriveTable(std::string procRoot = "/proc", std::string sysRoot = "/sys",
                           std::string byLabelDir = "/dev/disk/by-label",
                           WorkingDirectoryFn workingDirectory = ProcessWorkingDirectory);

  std::vector<DriveInfo> Drives() override;
  char CurrentDriveLetter() override;
  void SetCurrentDirectory(char letter, const std::string& directory) override;

  static std::string ProcessWorkingDirectory();

 private:
  std::vector<LabelLink> ReadLabelLinks() const;
  bool IsOnRemovableDisk(const MountEntry& entry) const;
  std::optional<std::string> DiskOf(const std::string& deviceName) const;

  std::string procRoot_;
  std::string sysRoot_;
  std::string byLabelDir_;
  WorkingDirectoryFn workingDirectory_;
  // Directories chosen per drive, keyed by mount point so that they stay
  // with their drive when letters move.
  std::map<std::string, std::string> chosenDirectories_;
  // Letters by mount point, kept for the life of the table.
  std::map<std::string, char> letters_;
};

// The letter of the drive whose mount point holds `directory` most closely;
// 0 when no drive holds it.
char DriveLetterHolding(const std::vector<DriveInfo>& drives, const std::string& directory);

}  // namespace zub
