#include "platform/linux/LinuxDriveTable.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::ReadTestData;
using test_support::TempDir;

// A machine in a folder: proc/self/mountinfo, a sysfs block tree and a
// by-label folder, as the desktop capture would have them.
class FakeMachine {
 public:
  FakeMachine() {
    SetMountinfo(ReadTestData("mountinfo/desktop.txt"));
    AddDisk("nvme0n1", false, {"nvme0n1p1", "nvme0n1p2"});
    AddDisk("sda", false, {"sda1"});
    AddDisk("sdb", true, {"sdb1"});
    dir_.MakeDirs("by-label");
    // udev links are relative; a link may also be absolute.
    Link(R"(EFI\x20System)", "../../nvme0n1p1");
    Link("Data", "../../sda1");
    Link(R"(STICK\x20ANN)", "/dev/sdb1");
    Link("Orphan", "../../sdz9");
  }

  void SetMountinfo(const std::string& text) { dir_.Write("proc/self/mountinfo", text); }
  void AddDisk(const std::string& disk, bool removable, std::vector<std::string> partitions) {
    dir_.Write("sys/block/" + disk + "/removable", removable ? "1\n" : "0\n");
    for (const auto& partition : partitions) {
      dir_.MakeDirs("sys/block/" + disk + "/" + partition);
    }
  }
  void Link(const std::string& name, const std::string& target) {
    ASSERT_EQ(::symlink(target.c_str(), (dir_ / ("by-label/" + name)).c_str()), 0);
  }

  LinuxDriveTable Table(std::string workingDirectory = "/home/ann") const {
    return LinuxDriveTable(dir_ / "proc", dir_ / "sys", dir_ / "by-label",
                           [workingDirectory] { return workingDirectory; });
  }

 private:
  TempDir dir_;
};

std::map<char, DriveInfo> ByLetter(const std::vector<DriveInfo>& drives) {
  std::map<char, DriveInfo> byLetter;
  for (const auto& drive : drives) {
    byLetter[drive.letter] = drive;
  }
  return byLetter;
}

TEST(LinuxDriveTable, DrivesCarryTypesLabelsAndSources) {
  FakeMachine machine;
  auto table = machine.Table();
  const auto drives = ByLetter(table.Drives());
  ASSERT_EQ(drives.size(), 7u);

  EXPECT_EQ(drives.at('C').mountPoint, "/");
  EXPECT_EQ(drives.at('C').fsType, "ext4");
  EXPECT_EQ(drives.at('C').source, "/dev/nvme0n1p2");
  EXPECT_EQ(drives.at('C').label, "/");  // no label link for the root partition
  EXPECT_EQ(drives.at('C').kind, DriveKind::Fixed);

  EXPECT_EQ(drives.at('E').label, "EFI System");
  EXPECT_EQ(drives.at('F').label, "Data");
  EXPECT_EQ(drives.at('F').kind, DriveKind::Fixed);
  EXPECT_EQ(drives.at('H').label, "STICK ANN");
  EXPECT_EQ(drives.at('H').kind, DriveKind::Removable);
  EXPECT_EQ(drives.at('G').label, "nas.local:/export/media");
  EXPECT_EQ(drives.at('G').kind, DriveKind::Remote);
  EXPECT_EQ(drives.at('D').kind, DriveKind::RamDisk);
}

TEST(LinuxDriveTable, RemovableFlagOfTheDiskMakesARemovableDrive) {
  FakeMachine machine;
  machine.AddDisk("sda", true, {"sda1"});  // a USB disk mounted at /data
  auto table = machine.Table();
  EXPECT_EQ(ByLetter(table.Drives()).at('F').kind, DriveKind::Removable);
}

TEST(LinuxDriveTable, WholeDiskWithoutPartitionsFindsItsFlag) {
  FakeMachine machine;
  machine.SetMountinfo(
      "21 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
      "30 21 8:32 / /mnt/card rw - ext4 /dev/sdc rw\n");
  machine.AddDisk("sdc", true, {});
  auto table = machine.Table();
  EXPECT_EQ(ByLetter(table.Drives()).at('D').kind, DriveKind::Removable);
}

TEST(LinuxDriveTable, UnreadableMountTableGivesNoDrives) {
  LinuxDriveTable table("/nonexistent/proc", "/nonexistent/sys", "/nonexistent/by-label",
                        [] { return std::string("/"); });
  EXPECT_TRUE(table.Drives().empty());
  EXPECT_EQ(table.CurrentDriveLetter(), 'C');
}

TEST(LinuxDriveTable, MissingByLabelFolderLeavesMountPointsAsLabels) {
  TempDir dir;
  dir.Write("proc/self/mountinfo", ReadTestData("mountinfo/desktop.txt"));
  LinuxDriveTable table(dir / "proc", dir / "sys", dir / "no-such-folder",
                        [] { return std::string("/"); });
  const auto drives = ByLetter(table.Drives());
  EXPECT_EQ(drives.at('F').label, "/data");
  EXPECT_EQ(drives.at('F').kind, DriveKind::Fixed);
}

TEST(LinuxDriveTable, CurrentDriveIsTheLongestMountPointHoldingTheWorkingDirectory) {
  FakeMachine machine;
  const std::pair<std::string, char> cases[] = {
      {"/home/ann/docs", 'C'},   {"/", 'C'},
      {"/media/ann/STICK", 'H'}, {"/media/ann/STICK/photos/2024", 'H'},
      {"/mnt/nas/films", 'G'},   {"/dataset/x", 'C'},  // /data is not a prefix of /dataset
      {"/boot/efi/EFI", 'E'},    {"/boot", 'C'},
  };
  for (const auto& [directory, letter] : cases) {
    SCOPED_TRACE(directory);
    auto table = machine.Table(directory);
    EXPECT_EQ(table.CurrentDriveLetter(), letter);
  }
}

TEST(LinuxDriveTable, EachDriveStartsAtItsRootExceptTheWorkingOne) {
  FakeMachine machine;
  auto table = machine.Table("/media/ann/STICK/photos");
  const auto drives = ByLetter(table.Drives());
  EXPECT_EQ(drives.at('H').currentDirectory, "/media/ann/STICK/photos");
  EXPECT_EQ(drives.at('C').currentDirectory, "/");
  EXPECT_EQ(drives.at('F').currentDirectory, "/data");
  EXPECT_EQ(drives.at('G').currentDirectory, "/mnt/nas");
}

TEST(LinuxDriveTable, LetterAndChosenDirectoryStayWithTheMountWhenAnotherGoes) {
  FakeMachine machine;
  auto table = machine.Table("/home/ann");
  table.SetCurrentDirectory('H', "/media/ann/STICK/music");
  table.SetCurrentDirectory('C', "/etc");      // overrides the working directory too
  table.SetCurrentDirectory('Q', "/nowhere");  // no such drive: nothing happens

  auto drives = ByLetter(table.Drives());
  EXPECT_EQ(drives.at('H').currentDirectory, "/media/ann/STICK/music");
  EXPECT_EQ(drives.at('C').currentDirectory, "/etc");
  EXPECT_EQ(drives.count('Q'), 0u);

  // /data (F:) goes away: the stick stays H: with its directory, so a drive
  // list made before still points at it.
  ASSERT_EQ(drives.at('F').mountPoint, "/data");
  std::string text = ReadTestData("mountinfo/desktop.txt");
  const std::size_t data = text.find("67 29 8:1");
  text.erase(data, text.find('\n', data) - data + 1);
  machine.SetMountinfo(text);
  drives = ByLetter(table.Drives());
  EXPECT_EQ(drives.count('F'), 0u);
  EXPECT_EQ(drives.at('H').mountPoint, "/media/ann/STICK");
  EXPECT_EQ(drives.at('H').currentDirectory, "/media/ann/STICK/music");
  EXPECT_EQ(drives.at('G').currentDirectory, "/mnt/nas");
}

TEST(LinuxDriveTable, LabelsMatchByDeviceNumberOrByName) {
  const auto entry = ParseMountinfoLine("30 21 253:0 / /srv rw - ext4 /dev/mapper/vg-srv rw");
  ASSERT_TRUE(entry);
  const std::vector<LabelLink> links = {
      {"ByName", "vg-srv", std::nullopt},
      {"ByNumber", "dm-0", std::make_pair(253u, 0u)},
  };
  EXPECT_EQ(FindLabel(*entry, links), "ByNumber");
  EXPECT_EQ(FindLabel(*entry, {links[0]}), "ByName");
  EXPECT_EQ(FindLabel(*entry, {}), std::nullopt);

  // btrfs reports an anonymous device number; only the name can match.
  const auto btrfs = ParseMountinfoLine("23 1 0:31 /root / rw - btrfs /dev/nvme0n1p3 rw");
  ASSERT_TRUE(btrfs);
  EXPECT_EQ(FindLabel(*btrfs, {{"fedora", "nvme0n1p3", std::nullopt}}), "fedora");
}

TEST(LinuxDriveTable, RealMachineHasRootAsDriveC) {
  LinuxDriveTable table("/proc", "/sys", "/dev/disk/by-label", [] { return std::string("/"); });
  const auto drives = table.Drives();
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_EQ(drives[0].mountPoint, "/");
  EXPECT_LE(drives.size(), 24u);
  EXPECT_EQ(table.CurrentDriveLetter(), 'C');
  for (std::size_t i = 0; i < drives.size(); ++i) {
    EXPECT_EQ(drives[i].letter, static_cast<char>('C' + i));
    EXPECT_EQ(drives[i].mountPoint.front(), '/');
  }
}

}  // namespace
}  // namespace zub
