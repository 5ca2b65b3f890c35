#include "platform/linux/LinuxDriveTable.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/linux/PosixFile.h"

namespace zub {

namespace {

using linux_platform::ReadWholeFile;
using linux_platform::UniqueDir;

std::string LastComponent(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> ReadLink(const std::string& path) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) {
      return std::nullopt;
    }
    if (static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> DirectoryNames(const std::string& path) {
  std::vector<std::string> names;
  const UniqueDir dir(::opendir(path.c_str()));
  if (!dir.Valid()) {
    return names;
  }
  while (const dirent* entry = ::readdir(dir.Get())) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names.emplace_back(entry->d_name);
    }
  }
  return names;
}

}  // namespace

std::optional<std::string> FindLabel(const MountEntry& entry, const std::vector<LabelLink>& links) {
  // Device numbers match even when the source is a /dev/mapper alias; btrfs
  // reports an anonymous device number, so the name is the fallback.
  for (const auto& link : links) {
    if (link.device && link.device->first == entry.major && link.device->second == entry.minor) {
      return link.label;
    }
  }
  if (entry.source.rfind("/dev/", 0) != 0) {
    return std::nullopt;
  }
  const std::string name = LastComponent(entry.source);
  for (const auto& link : links) {
    if (link.targetName == name) {
      return link.label;
    }
  }
  return std::nullopt;
}

char DriveLetterHolding(const std::vector<DriveInfo>& drives, const std::string& directory) {
  char best = 0;
  std::size_t bestLength = 0;
  for (const auto& drive : drives) {
    if (PathIsWithin(directory, drive.mountPoint) &&
        (best == 0 || drive.mountPoint.size() > bestLength)) {
      best = drive.letter;
      bestLength = drive.mountPoint.size();
    }
  }
  return best;
}

LinuxDriveTable::LinuxDriveTable(std::string procRoot, std::string sysRoot, std::string byLabelDir,
                                 WorkingDirectoryFn workingDirectory)
    : procRoot_(std::move(procRoot)),
      sysRoot_(std::move(sysRoot)),
      byLabelDir_(std::move(byLabelDir)),
      workingDirectory_(std::move(workingDirectory)) {}

std::string LinuxDriveTable::ProcessWorkingDirectory() {
  std::string buffer(4096, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
      buffer.resize(std::strlen(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE) {
      return {};
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<LabelLink> LinuxDriveTable::ReadLabelLinks() const {
  std::vector<LabelLink> links;
  for (const auto& name : DirectoryNames(byLabelDir_)) {
    const std::string path = byLabelDir_ + "/" + name;
    const auto target = ReadLink(path);
    if (!target) {
      continue;
    }
    LabelLink link{DecodeLabelLinkName(name), LastComponent(*target), std::nullopt};
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
      link.device = std::make_pair(major(st.st_rdev), minor(st.st_rdev));
    }
    links.push_back(std::move(link));
  }
  return links;
}

std::optional<std::string> LinuxDriveTable::DiskOf(const std::string& deviceName) const {
  if (deviceName.empty() || deviceName == "." || deviceName == "..") {
    return std::nullopt;
  }
  if (IsDirectory(sysRoot_ + "/block/" + deviceName)) {
    return deviceName;
  }
  // A partition is a subdirectory of its disk: /sys/block/sdb/sdb1.
  for (const auto& disk : DirectoryNames(sysRoot_ + "/block")) {
    if (IsDirectory(sysRoot_ + "/block/" + disk + "/" + deviceName)) {
      return disk;
    }
  }
  return std::nullopt;
}

bool LinuxDriveTable::IsOnRemovableDisk(const MountEntry& entry) const {
  // The kernel's name of the device ("dm-0" for a /dev/mapper alias) comes
  // from the device number; btrfs's anonymous numbers have none, so the
  // source's own name is the fallback.
  std::vector<std::string> names;
  const std::string numberLink =
      sysRoot_ + "/dev/block/" + std::to_string(entry.major) + ":" + std::to_string(entry.minor);
  if (const auto target = ReadLink(numberLink)) {
    names.push_back(LastComponent(*target));
  }
  if (entry.source.rfind("/dev/", 0) == 0) {
    names.push_back(LastComponent(entry.source));
  }
  for (const auto& name : names) {
    if (const auto disk = DiskOf(name)) {
      const auto text = ReadWholeFile(sysRoot_ + "/block/" + *disk + "/removable");
      return text && !text->empty() && text->front() == '1';
    }
  }
  return false;
}

std::vector<DriveInfo> LinuxDriveTable::Drives() {
  const auto text = ReadWholeFile(procRoot_ + "/self/mountinfo");
  if (!text) {
    return {};
  }
  std::vector<ListedMount> listed = SelectDrives(ParseMountinfo(*text));
  KeepLetters(listed, letters_);

  std::vector<LabelLink> links;
  bool linksRead = false;
  std::vector<DriveInfo> drives;
  drives.reserve(listed.size());
  for (const auto& mount : listed) {
    DriveInfo drive;
    drive.letter = mount.letter;
    drive.mountPoint = mount.entry.mountPoint;
    drive.fsType = mount.entry.fsType;
    drive.source = mount.entry.source;
    std::optional<std::string> fsLabel;
    bool removable = false;
    if (mount.mountClass == MountClass::BlockDevice || mount.mountClass == MountClass::Optical) {
      if (!linksRead) {
        links = ReadLabelLinks();
        linksRead = true;
      }
      fsLabel = FindLabel(mount.entry, links);
      removable = IsOnRemovableDisk(mount.entry);
    }
    drive.kind = KindOf(mount, removable);
    drive.label = LabelOf(mount, fsLabel);
    drives.push_back(std::move(drive));
  }

  // The DOS rule: every drive starts at its root, except the drive of the
  // working directory, which is there; a chosen directory overrides both.
  const std::string workingDirectory = workingDirectory_();
  const char workingLetter = DriveLetterHolding(drives, workingDirectory);
  for (auto& drive : drives) {
    const auto chosen = chosenDirectories_.find(drive.mountPoint);
    if (chosen != chosenDirectories_.end()) {
      drive.currentDirectory = chosen->second;
    } else if (drive.letter == workingLetter) {
      drive.currentDirectory = workingDirectory;
    } else {
      drive.currentDirectory = drive.mountPoint;
    }
  }
  return drives;
}

char LinuxDriveTable::CurrentDriveLetter() {
  const std::vector<DriveInfo> drives = Drives();
  const char letter = DriveLetterHolding(drives, workingDirectory_());
  if (letter != 0) {
    return letter;
  }
  // An unreadable or deleted working directory: fall back to the first drive.
  return drives.empty() ? 'C' : drives.front().letter;
}

void LinuxDriveTable::SetCurrentDirectory(char letter, const std::string& directory) {
  for (const auto& drive : Drives()) {
    if (drive.letter == letter) {
      chosenDirectories_[drive.mountPoint] = directory;
      return;
    }
  }
}

}  // namespace zub
