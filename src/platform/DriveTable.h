// Mounted file systems, given drive letters so that every drive rule can be
// asked about a letter: C: holds "/", D: onwards follow in mount order.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zub {

// The classic drive-type codes; the numbers are those the drive texts map.
enum class DriveKind {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

struct DriveInfo {
  char letter = 0;         // 'C' to 'Z'
  std::string mountPoint;  // "/", "/media/ann/STICK"
  std::string fsType;      // "ext4", "nfs4", "fuse.sshfs"
  std::string source;      // "/dev/sda1", "server:/export"
  DriveKind kind = DriveKind::Fixed;
  std::string label;             // file system label, else the mount point or remote source
  std::string currentDirectory;  // the drive's current directory
};

class DriveTable {
 public:
  virtual ~DriveTable() = default;

  // The lettered drives, in letter order; at most 24 (C: to Z:).
  virtual std::vector<DriveInfo> Drives() = 0;
  // The letter of the drive holding the process's working directory (drive number 0).
  virtual char CurrentDriveLetter() = 0;
  // Makes `directory` the current directory of the drive with `letter`.
  virtual void SetCurrentDirectory(char letter, const std::string& directory) = 0;
};

// The drive with `letter` (upper case), if it is listed.
inline std::optional<DriveInfo> FindDrive(DriveTable& table, char letter) {
  for (auto& drive : table.Drives()) {
    if (drive.letter == letter) {
      return drive;
    }
  }
  return std::nullopt;
}

}  // namespace zub
