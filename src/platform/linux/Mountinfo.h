// The kernel's mount table (/proc/<pid>/mountinfo) as records, and the rules
// that turn it into lettered drives. Everything here is pure.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DriveTable.h"

namespace zub {

// One line of mountinfo, with every octal escape decoded.
struct MountEntry {
  int mountId = 0;
  int parentId = 0;
  unsigned major = 0;
  unsigned minor = 0;
  std::string root;  // the part of the file system seen at the mount point
  std::string mountPoint;
  std::string mountOptions;                 // per-mount options: "rw,relatime"
  std::vector<std::string> optionalFields;  // "shared:1", "master:2"
  std::string fsType;                       // "ext4", "fuse.sshfs"
  std::string source;                       // "/dev/sda1", "server:/export", "tmpfs"
  std::string superOptions;                 // per-superblock options

  bool operator==(const MountEntry&) const = default;
};

// Decodes the kernel's "\ooo" escapes (space, tab, newline and backslash are
// written so); a backslash not followed by three octal digits stays as it is.
std::string DecodeOctalEscapes(std::string_view field);

// One line; nothing when it is malformed.
std::optional<MountEntry> ParseMountinfoLine(std::string_view line);

// Every well-formed line, in table order; malformed lines are skipped.
std::vector<MountEntry> ParseMountinfo(std::string_view text);

// What a listed mount is, before the facts about its device are known.
enum class MountClass {
  BlockDevice,  // a file system on a /dev/ device (or whatever holds "/")
  Network,
  Optical,
  RamDisk,
};

// A mount that gets a drive letter.
struct ListedMount {
  char letter = 0;
  MountClass mountClass = MountClass::BlockDevice;
  MountEntry entry;
};

// The mounts that become drives, with their letters: C: for the file system
// holding "/" (also when a chroot hides its mount), D: onwards for the rest in
// table order, at most 24 in all.
std::vector<ListedMount> SelectDrives(const std::vector<MountEntry>& entries);

// Gives the listed drives letters that stay with their mount points for as
// long as `remembered` lives, so a drive list made earlier keeps pointing at
// the same file systems after another mount comes or goes: "/" is C:; a mount
// point seen before keeps its letter; a new one takes the first letter from D:
// that no mount point has had, and when none is left, the first one no listed
// drive holds. The result is in letter order.
void KeepLetters(std::vector<ListedMount>& listed, std::map<std::string, char>& remembered);

// The drive type; `removableDisk` tells whether the device's disk is removable.
DriveKind KindOf(const ListedMount& mount, bool removableDisk);

// The text shown for a drive: the remote source for a network drive, else the
// file system label when it has one, else the mount point.
std::string LabelOf(const ListedMount& mount, const std::optional<std::string>& fsLabel);

// Decodes the "\xHH" escapes udev writes in /dev/disk/by-label link names.
std::string DecodeLabelLinkName(std::string_view name);

// True when `path` is `prefix` or lies below it, comparing whole components.
bool PathIsWithin(std::string_view path, std::string_view prefix);

}  // namespace zub
