#include "platform/linux/Mountinfo.h"

#include <algorithm>
#include <array>
#include <climits>
#include <set>
#include <unordered_map>
#include <utility>

#include "platform/linux/ProcText.h"

namespace zub {

namespace {

std::optional<unsigned> ParseDeviceNumber(std::string_view token) {
  const auto value = linux_platform::ParseUnsigned(token, UINT_MAX);
  if (!value) {
    return std::nullopt;
  }
  return static_cast<unsigned>(*value);
}

std::optional<int> ParseId(std::string_view token) {
  const auto value = linux_platform::ParseUnsigned(token, INT_MAX);
  if (!value) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

// Fields are separated by single spaces; empty fields are kept (a mount
// source may be the empty string).
std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t space = line.find(' ', start);
    if (space == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, space - start));
    start = space + 1;
  }
}

bool IsOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

constexpr std::array<std::string_view, 11> kNetworkTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs", "ncpfs", "afs", "ceph", "glusterfs", "davfs",
};

// FUSE daemons that talk to another machine; local ones (gvfsd-fuse, portal,
// lxcfs, gocryptfs) are left out.
constexpr std::array<std::string_view, 9> kRemoteFuseTypes = {
    "sshfs",     "rclone",    "s3fs",     "gcsfuse", "curlftpfs",
    "glusterfs", "ceph-fuse", "smbnetfs", "davfs2",
};

bool IsNetworkType(const MountEntry& entry) {
  const std::string_view type = entry.fsType;
  if (std::find(kNetworkTypes.begin(), kNetworkTypes.end(), type) != kNetworkTypes.end()) {
    return true;
  }
  if (StartsWith(type, "fuse.")) {
    const std::string_view subtype = type.substr(5);
    if (std::find(kRemoteFuseTypes.begin(), kRemoteFuseTypes.end(), subtype) !=
        kRemoteFuseTypes.end()) {
      return true;
    }
  }
  // A FUSE mount of a URL (davfs2, curlftpfs under a plain "fuse" type).
  return (type == "fuse" || StartsWith(type, "fuse.")) &&
         entry.source.find("://") != std::string::npos;
}

bool IsRamType(const MountEntry& entry) {
  return entry.fsType == "tmpfs" || entry.fsType == "ramfs";
}

// RAM file systems are everywhere (/run, /sys/fs/cgroup, per-user runtime
// dirs); only those where a user keeps files count as drives.
bool IsUserRamDisk(const MountEntry& entry) {
  const std::string_view mp = entry.mountPoint;
  return mp == "/tmp" || mp == "/dev/shm" || PathIsWithin(mp, "/mnt") || PathIsWithin(mp, "/media");
}

std::optional<MountClass> ClassOf(const MountEntry& entry, bool holdsRoot) {
  if (IsNetworkType(entry)) {
    return MountClass::Network;
  }
  if (entry.fsType == "iso9660" || entry.fsType == "udf") {
    return MountClass::Optical;
  }
  if (IsRamType(entry)) {
    if (holdsRoot || IsUserRamDisk(entry)) {
      return MountClass::RamDisk;
    }
    return std::nullopt;
  }
  if (holdsRoot) {
    // Whatever holds "/" is drive C:, also an overlay or a virtual root.
    return MountClass::BlockDevice;
  }
  // Snap and AppImage packages are read-only images on loop devices.
  if (entry.fsType == "squashfs") {
    return std::nullopt;
  }
  if (StartsWith(entry.source, "/dev/")) {
    return MountClass::BlockDevice;
  }
  return std::nullopt;
}

}  // namespace

std::string DecodeOctalEscapes(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    // Above \377 a value no longer fits a byte; such text is left alone.
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
      out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

std::optional<MountEntry> ParseMountinfoLine(std::string_view line) {
  const std::vector<std::string_view> fields = SplitFields(line);
  // Six fixed fields, the separator and the three fields after it.
  if (fields.size() < 10) {
    return std::nullopt;
  }
  const auto separator = std::find(fields.begin() + 6, fields.end(), std::string_view("-"));
  if (separator == fields.end() || fields.end() - separator < 4) {
    return std::nullopt;
  }

  MountEntry entry;
  const auto mountId = ParseId(fields[0]);
  const auto parentId = ParseId(fields[1]);
  const std::string_view device = fields[2];
  const std::size_t colon = device.find(':');
  if (!mountId || !parentId || colon == std::string_view::npos) {
    return std::nullopt;
  }
  const auto major = ParseDeviceNumber(device.substr(0, colon));
  const auto minor = ParseDeviceNumber(device.substr(colon + 1));
  if (!major || !minor) {
    return std::nullopt;
  }
  entry.mountId = *mountId;
  entry.parentId = *parentId;
  entry.major = *major;
  entry.minor = *minor;
  entry.root = DecodeOctalEscapes(fields[3]);
  entry.mountPoint = DecodeOctalEscapes(fields[4]);
  if (entry.mountPoint.empty() || entry.mountPoint.front() != '/') {
    return std::nullopt;
  }
  entry.mountOptions = DecodeOctalEscapes(fields[5]);
  for (auto it = fields.begin() + 6; it != separator; ++it) {
    entry.optionalFields.push_back(DecodeOctalEscapes(*it));
  }
  entry.fsType = DecodeOctalEscapes(separator[1]);
  entry.source = DecodeOctalEscapes(separator[2]);
  entry.superOptions = DecodeOctalEscapes(separator[3]);
  if (entry.fsType.empty()) {
    return std::nullopt;
  }
  return entry;
}

std::vector<MountEntry> ParseMountinfo(std::string_view text) {
  std::vector<MountEntry> entries;
  linux_platform::ForEachLine(text, [&](std::string_view line) {
    if (auto entry = ParseMountinfoLine(line)) {
      entries.push_back(std::move(*entry));
    }
  });
  return entries;
}

std::vector<ListedMount> SelectDrives(const std::vector<MountEntry>& entries) {
  constexpr std::size_t kMaxDrives = 24;

  // A later mount on the same mount point hides the earlier ones.
  std::unordered_map<std::string_view, std::size_t> topByMountPoint;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    topByMountPoint[entries[i].mountPoint] = i;
  }
  const auto visible = [&](std::size_t i) {
    return topByMountPoint.at(entries[i].mountPoint) == i;
  };

  std::vector<ListedMount> drives;
  std::set<std::pair<unsigned, unsigned>> listedDevices;
  const auto add = [&](const MountEntry& entry, MountClass mountClass) {
    drives.push_back({static_cast<char>('C' + drives.size()), mountClass, entry});
    listedDevices.emplace(entry.major, entry.minor);
  };

  const auto rootIt = topByMountPoint.find("/");
  const bool hasRoot = rootIt != topByMountPoint.end();
  if (hasRoot) {
    const MountEntry& root = entries[rootIt->second];
    add(root, *ClassOf(root, true));
  } else {
    // In a chroot the file system holding "/" is mounted outside our view;
    // it is still there to be asked about.
    MountEntry unseenRoot;
    unseenRoot.root = "/";
    unseenRoot.mountPoint = "/";
    drives.push_back({'C', MountClass::BlockDevice, unseenRoot});
  }

  for (std::size_t i = 0; i < entries.size() && drives.size() < kMaxDrives; ++i) {
    const MountEntry& entry = entries[i];
    if (!visible(i) || (hasRoot && i == rootIt->second)) {
      continue;
    }
    const auto mountClass = ClassOf(entry, false);
    if (!mountClass) {
      continue;
    }
    // A mount of a file system already listed shows the same space twice.
    if (listedDevices.count({entry.major, entry.minor}) != 0) {
      continue;
    }
    // Only part of a file system (a bind mount, a btrfs subvolume, a file
    // mounted over /etc/hosts in a container): not a drive of its own. A
    // network share's root names the exported directory, so it stays.
    if (entry.root != "/" && mountClass != MountClass::Network) {
      continue;
    }
    add(entry, *mountClass);
  }
  return drives;
}

DriveKind KindOf(const ListedMount& mount, bool removableDisk) {
  switch (mount.mountClass) {
    case MountClass::RamDisk:
      return DriveKind::RamDisk;
    case MountClass::Optical:
      return DriveKind::CdRom;
    case MountClass::Network:
      return DriveKind::Remote;
    case MountClass::BlockDevice:
      break;
  }
  // udisks mounts removable media under /media (Debian) or /run/media (Fedora, Arch).
  const std::string_view mp = mount.entry.mountPoint;
  if (removableDisk || PathIsWithin(mp, "/media") || PathIsWithin(mp, "/run/media")) {
    return DriveKind::Removable;
  }
  return DriveKind::Fixed;
}

std::string LabelOf(const ListedMount& mount, const std::optional<std::string>& fsLabel) {
  if (mount.mountClass == MountClass::Network) {
    return mount.entry.source;
  }
  if (fsLabel && !fsLabel->empty()) {
    return *fsLabel;
  }
  return mount.entry.mountPoint;
}

std::string DecodeLabelLinkName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        HexValue(name[i + 2]) >= 0 && HexValue(name[i + 3]) >= 0) {
      out.push_back(static_cast<char>(HexValue(name[i + 2]) * 16 + HexValue(name[i + 3])));
      i += 3;
    } else {
      out.push_back(name[i]);
    }
  }
  return out;
}

bool PathIsWithin(std::string_view path, std::string_view prefix) {
  while (prefix.size() > 1 && prefix.back() == '/') {
    prefix.remove_suffix(1);
  }
  if (prefix == "/") {
    return StartsWith(path, "/");
  }
  return StartsWith(path, prefix) && (path.size() == prefix.size() || path[prefix.size()] == '/');
}

void KeepLetters(std::vector<ListedMount>& listed, std::map<std::string, char>& remembered) {
  std::set<char> held;  // letters of the drives listed now
  std::vector<ListedMount*> unlettered;
  for (auto& mount : listed) {
    const std::string& mountPoint = mount.entry.mountPoint;
    const auto known = remembered.find(mountPoint);
    if (mountPoint == "/") {
      mount.letter = 'C';
    } else if (known != remembered.end() && known->second != 'C') {
      mount.letter = known->second;
    } else {
      unlettered.push_back(&mount);
      continue;
    }
    remembered[mountPoint] = mount.letter;
    held.insert(mount.letter);
  }

  for (ListedMount* mount : unlettered) {
    std::set<char> everUsed;
    for (const auto& [mountPoint, letter] : remembered) {
      everUsed.insert(letter);
    }
    char letter = 0;
    for (char c = 'D'; c <= 'Z' && letter == 0; ++c) {
      if (everUsed.count(c) == 0) {
        letter = c;
      }
    }
    for (char c = 'D'; c <= 'Z' && letter == 0; ++c) {
      if (held.count(c) == 0) {
        letter = c;  // all used once: take one whose mount has gone
      }
    }
    mount->letter = letter;
    if (letter == 0) {
      continue;  // no root and 24 other drives: one more than D: to Z: holds
    }
    std::erase_if(remembered, [&](const auto& item) { return item.second == letter; });
    remembered[mount->entry.mountPoint] = letter;
    held.insert(letter);
  }

  std::erase_if(listed, [](const ListedMount& m) { return m.letter == 0; });
  std::stable_sort(listed.begin(), listed.end(),
                   [](const ListedMount& a, const ListedMount& b) { return a.letter < b.letter; });
}

}  // namespace zub
