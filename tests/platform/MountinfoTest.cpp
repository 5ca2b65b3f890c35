#include "platform/linux/Mountinfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::ReadTestData;

// What a drive shows before its device facts (removable flag, label) are known.
struct Drive {
  char letter;
  std::string mountPoint;
  DriveKind kind;
  std::string label;

  bool operator==(const Drive&) const = default;
};

void PrintTo(const Drive& d, std::ostream* os) {
  *os << d.letter << ": '" << d.mountPoint << "' kind " << static_cast<int>(d.kind) << " label '"
      << d.label << "'";
}

std::vector<Drive> DrivesOf(const std::string& text) {
  std::vector<Drive> drives;
  for (const auto& mount : SelectDrives(ParseMountinfo(text))) {
    drives.push_back(
        {mount.letter, mount.entry.mountPoint, KindOf(mount, false), LabelOf(mount, std::nullopt)});
  }
  return drives;
}

TEST(MountinfoParse, ReadsEveryFieldOfALine) {
  const auto entry = ParseMountinfoLine(
      "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 shared:7 - ext3 /dev/root rw,errors=continue");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->mountId, 36);
  EXPECT_EQ(entry->parentId, 35);
  EXPECT_EQ(entry->major, 98u);
  EXPECT_EQ(entry->minor, 0u);
  EXPECT_EQ(entry->root, "/mnt1");
  EXPECT_EQ(entry->mountPoint, "/mnt2");
  EXPECT_EQ(entry->mountOptions, "rw,noatime");
  EXPECT_EQ(entry->optionalFields, (std::vector<std::string>{"master:1", "shared:7"}));
  EXPECT_EQ(entry->fsType, "ext3");
  EXPECT_EQ(entry->source, "/dev/root");
  EXPECT_EQ(entry->superOptions, "rw,errors=continue");
}

TEST(MountinfoParse, KeepsAnEmptySourceAndNoOptionalFields) {
  const auto entry = ParseMountinfoLine("40 1 0:50 / /mnt/x rw - tmpfs  rw,size=4k");
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->optionalFields.empty());
  EXPECT_EQ(entry->fsType, "tmpfs");
  EXPECT_EQ(entry->source, "");
  EXPECT_EQ(entry->superOptions, "rw,size=4k");
}

TEST(MountinfoParse, EveryCaptureParsesLineForLine) {
  const std::pair<const char*, std::size_t> captures[] = {
      {"mountinfo/desktop.txt", 29},           {"mountinfo/laptop-btrfs.txt", 31},
      {"mountinfo/container-overlay.txt", 22}, {"mountinfo/snap.txt", 21},
      {"mountinfo/odd-names.txt", 7},          {"mountinfo/this-machine.txt", 20},
  };
  for (const auto& [file, lines] : captures) {
    SCOPED_TRACE(file);
    const auto entries = ParseMountinfo(ReadTestData(file));
    EXPECT_EQ(entries.size(), lines);
    for (const auto& entry : entries) {
      EXPECT_EQ(entry.mountPoint.front(), '/');
      EXPECT_FALSE(entry.fsType.empty());
    }
  }
}

TEST(MountinfoParse, CaptureOfThisMachineHoldsItsRoot) {
  const auto entries = ParseMountinfo(ReadTestData("mountinfo/this-machine.txt"));
  const auto root = std::find_if(entries.begin(), entries.end(),
                                 [](const MountEntry& e) { return e.mountPoint == "/"; });
  ASSERT_NE(root, entries.end());
  EXPECT_EQ(root->mountId, 27);
  EXPECT_EQ(root->parentId, 1);
  EXPECT_EQ(root->major, 254u);
  EXPECT_EQ(root->minor, 0u);
  EXPECT_EQ(root->fsType, "ext4");
  EXPECT_EQ(root->source, "/dev/vda");
}

TEST(MountinfoParse, DecodesEveryOctalEscape) {
  const std::pair<std::string, std::string> cases[] = {
      {R"(/media/My\040Stick)", "/media/My Stick"},
      {R"(/mnt/tab\011here)", "/mnt/tab\there"},
      {R"(/mnt/new\012line)", "/mnt/new\nline"},
      {R"(/mnt/back\134slash)", "/mnt/back\\slash"},
      {R"(\101\102\103)", "ABC"},
      {R"(\303\251t\303\251)", "\xc3\xa9t\xc3\xa9"},
      {R"(\040\040)", "  "},
      // Not escapes: kept as written.
      {R"(/mnt/a\8b)", R"(/mnt/a\8b)"},
      {R"(/mnt/short\04)", R"(/mnt/short\04)"},
      {R"(/mnt/big\400)", R"(/mnt/big\400)"},
      {R"(/mnt/end\)", R"(/mnt/end\)"},
      {R"(\\040)", "\\ "},
  };
  for (const auto& [raw, decoded] : cases) {
    SCOPED_TRACE(raw);
    EXPECT_EQ(DecodeOctalEscapes(raw), decoded);
  }
}

TEST(MountinfoParse, EscapedFieldsOfALineAreDecoded) {
  const auto entry = ParseMountinfoLine(
      R"(84 21 0:50 /sub\040dir /mnt/music\040share rw shared:3 - cifs //nas/My\040Music rw,vers=3.1.1)");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->root, "/sub dir");
  EXPECT_EQ(entry->mountPoint, "/mnt/music share");
  EXPECT_EQ(entry->source, "//nas/My Music");
}

TEST(MountinfoParse, MalformedLinesAreSkipped) {
  const char* const lines[] = {
      "",
      "   ",
      "36 35 98:0 /mnt1 /mnt2",
      "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 ext3 /dev/root rw,errors=continue",
      "36 35 98:0 / /mnt rw - ext3 /dev/root",
      "36 35 98:0 / /mnt rw -",
      "99999999999999999999 35 98:0 / /mnt rw - ext3 /dev/root rw",
      "2147483648 35 98:0 / /mnt rw - ext3 /dev/root rw",
      "36 35 4294967296:0 / /mnt rw - ext3 /dev/root rw",
      "36 35 98:99999999999 / /mnt rw - ext3 /dev/root rw",
      "-1 35 98:0 / /mnt rw - ext3 /dev/root rw",
      "36a 35 98:0 / /mnt rw - ext3 /dev/root rw",
      "36 35 98 / /mnt rw - ext3 /dev/root rw",
      "36 35 98: / /mnt rw - ext3 /dev/root rw",
      "36 35 :0 / /mnt rw - ext3 /dev/root rw",
      "36 35 98:0 / mnt rw - ext3 /dev/root rw",
      "36 35 98:0 /  rw - ext3 /dev/root rw",
      "36 35 98:0 / /mnt rw -  /dev/root rw",
      "36  35 98:0 / /mnt rw - ext3 /dev/root rw",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(ParseMountinfoLine(line));
  }
}

TEST(MountinfoParse, GoodLinesAroundBadOnesSurvive) {
  const std::string text =
      "\n"
      "garbage\n"
      "21 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
      "22 21 0:20 / /proc rw\n"
      "\n\n"
      "99999999999999999999 21 8:3 / /x rw - ext4 /dev/sda3 rw\n"
      "23 21 8:17 / /data rw - ext4 /dev/sdb1 rw";  // no final newline
  const auto entries = ParseMountinfo(text);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].mountPoint, "/");
  EXPECT_EQ(entries[1].mountPoint, "/data");
  EXPECT_TRUE(ParseMountinfo("").empty());
  EXPECT_TRUE(ParseMountinfo("\n\n\n").empty());
}

TEST(DriveSelection, DesktopWithSsdStickNfsAndSshfs) {
  const std::vector<Drive> expected = {
      {'C', "/", DriveKind::Fixed, "/"},
      {'D', "/dev/shm", DriveKind::RamDisk, "/dev/shm"},
      {'E', "/boot/efi", DriveKind::Fixed, "/boot/efi"},
      {'F', "/data", DriveKind::Fixed, "/data"},
      {'G', "/mnt/nas", DriveKind::Remote, "nas.local:/export/media"},
      {'H', "/media/ann/STICK", DriveKind::Removable, "/media/ann/STICK"},
      {'I', "/home/ann/pi", DriveKind::Remote, "ann@pi.local:/home/pi"},
  };
  EXPECT_EQ(DrivesOf(ReadTestData("mountinfo/desktop.txt")), expected);
}

TEST(DriveSelection, LaptopSubvolumesBindMountsAndAHiddenMount) {
  // /home and /var/lib/flatpak are subvolumes of the root file system,
  // /srv/projects and /home/ann/Photos bind mounts, /srv/backup-mirror a second
  // mount of /mnt/backup's disk, and /dev/sdc1 lies under a tmpfs at /mnt/usb.
  const std::vector<Drive> expected = {
      {'C', "/", DriveKind::Fixed, "/"},
      {'D', "/dev/shm", DriveKind::RamDisk, "/dev/shm"},
      {'E', "/boot", DriveKind::Fixed, "/boot"},
      {'F', "/boot/efi", DriveKind::Fixed, "/boot/efi"},
      {'G', "/tmp", DriveKind::RamDisk, "/tmp"},
      {'H', "/mnt/backup", DriveKind::Fixed, "/mnt/backup"},
      {'I', "/mnt/usb", DriveKind::RamDisk, "/mnt/usb"},
      {'J', "/run/media/ann/CAMERA", DriveKind::Removable, "/run/media/ann/CAMERA"},
  };
  EXPECT_EQ(DrivesOf(ReadTestData("mountinfo/laptop-btrfs.txt")), expected);
}

TEST(DriveSelection, ContainerOnOverlayHasItsRootAndShmOnly) {
  // The host disk shows up only through files and a volume bound into the
  // container; none of them is a drive.
  const std::vector<Drive> expected = {
      {'C', "/", DriveKind::Fixed, "/"},
      {'D', "/dev/shm", DriveKind::RamDisk, "/dev/shm"},
  };
  EXPECT_EQ(DrivesOf(ReadTestData("mountinfo/container-overlay.txt")), expected);
}

TEST(DriveSelection, SnapImagesAreNotDrivesButDiscsAre) {
  const std::vector<Drive> expected = {
      {'C', "/", DriveKind::Fixed, "/"},
      {'D', "/dev/shm", DriveKind::RamDisk, "/dev/shm"},
      {'E', "/boot/efi", DriveKind::Fixed, "/boot/efi"},
      {'F', "/media/ann/Ubuntu 22.04.4 LTS amd64", DriveKind::CdRom,
       "/media/ann/Ubuntu 22.04.4 LTS amd64"},
      {'G', "/mnt/iso", DriveKind::CdRom, "/mnt/iso"},
  };
  EXPECT_EQ(DrivesOf(ReadTestData("mountinfo/snap.txt")), expected);
}

TEST(DriveSelection, MountPointsWithSpaceTabNewlineAndBackslash) {
  const std::vector<Drive> expected = {
      {'C', "/", DriveKind::Fixed, "/"},
      {'D', "/media/ann/My Stick", DriveKind::Removable, "/media/ann/My Stick"},
      {'E', "/mnt/tab\there", DriveKind::Fixed, "/mnt/tab\there"},
      {'F', "/mnt/back\\slash", DriveKind::Fixed, "/mnt/back\\slash"},
      {'G', "/mnt/new\nline", DriveKind::Fixed, "/mnt/new\nline"},
      {'H', "/mnt/music share", DriveKind::Remote, "//nas/My Music"},
  };
  EXPECT_EQ(DrivesOf(ReadTestData("mountinfo/odd-names.txt")), expected);
}

TEST(DriveSelection, ThisMachineShowsTheTopShmMountOnly) {
  const std::vector<Drive> expected = {
      {'C', "/", DriveKind::Fixed, "/"},
      {'D', "/mnt/tools/python", DriveKind::RamDisk, "/mnt/tools/python"},
      {'E', "/dev/shm", DriveKind::RamDisk, "/dev/shm"},
  };
  const auto drives = DrivesOf(ReadTestData("mountinfo/this-machine.txt"));
  EXPECT_EQ(drives, expected);
  // The /dev/shm drive is the later of its two mounts.
  const auto listed = SelectDrives(ParseMountinfo(ReadTestData("mountinfo/this-machine.txt")));
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[2].entry.mountId, 30);
}

// One candidate mount beside an ext4 root: is it a drive, and of which kind?
TEST(DriveSelection, WhichFileSystemsAreDrives) {
  struct Case {
    const char* line;
    bool listed;
    DriveKind kind;
  };
  const Case cases[] = {
      {"30 21 0:40 / /proc rw - proc proc rw", false, {}},
      {"30 21 0:40 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw", false, {}},
      {"30 21 0:40 / /dev/pts rw - devpts devpts rw", false, {}},
      {"30 21 0:40 / /run rw - tmpfs tmpfs rw", false, {}},
      {"30 21 0:40 / /run/user/1000 rw - tmpfs tmpfs rw", false, {}},
      {"30 21 0:40 / /tmp rw - tmpfs tmpfs rw", true, DriveKind::RamDisk},
      {"30 21 0:40 / /tmpfoo rw - tmpfs tmpfs rw", false, {}},
      {"30 21 0:40 / /dev/shm rw - tmpfs tmpfs rw", true, DriveKind::RamDisk},
      {"30 21 0:40 / /mnt/ram rw - ramfs ramfs rw", true, DriveKind::RamDisk},
      {"30 21 0:40 / /media/ann/ram rw - tmpfs tmpfs rw", true, DriveKind::RamDisk},
      {"30 21 0:40 / /mntx/ram rw - tmpfs tmpfs rw", false, {}},
      {"30 21 7:3 / /snap/core/1 ro - squashfs /dev/loop3 ro", false, {}},
      {"30 21 8:17 / /srv rw - xfs /dev/sdb1 rw", true, DriveKind::Fixed},
      {"30 21 8:17 / /win rw - fuseblk /dev/sdb1 rw", true, DriveKind::Fixed},
      {"30 21 11:0 / /cdrom ro - iso9660 /dev/sr0 ro", true, DriveKind::CdRom},
      {"30 21 0:40 / /net/a rw - nfs srv:/a rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/b rw - nfs4 srv:/b rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/c rw - cifs //srv/c rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/d rw - smb3 //srv/d rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/e rw - smbfs //srv/e rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/f rw - sshfs a@srv:/f rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/g rw - fuse.sshfs a@srv:/g rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/h rw - fuse.rclone gdrive: rw", true, DriveKind::Remote},
      {"30 21 0:40 / /net/i rw - fuse http://srv/dav rw", true, DriveKind::Remote},
      {"30 21 0:40 /export/sub /net/j rw - nfs4 srv:/export/sub rw", true, DriveKind::Remote},
      {"30 21 0:40 / /run/user/1000/gvfs rw - fuse.gvfsd-fuse gvfsd-fuse rw", false, {}},
      {"30 21 0:40 / /run/user/1000/doc rw - fuse.portal portal rw", false, {}},
      {"30 21 0:40 / /var/lib/lxcfs rw - fuse.lxcfs lxcfs rw", false, {}},
      {"30 21 0:40 / /mnt/overlay rw - overlay overlay rw", false, {}},
      {"30 21 8:2 /home /srv/home rw - ext4 /dev/sda2 rw", false, {}},
      {"30 21 8:2 / /mnt/again rw - ext4 /dev/sda2 rw", false, {}},
      {"30 21 8:17 /data /data rw - ext4 /dev/sdb1 rw", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto drives = DrivesOf(std::string("21 1 8:2 / / rw - ext4 /dev/sda2 rw\n") + c.line);
    ASSERT_EQ(drives.size(), c.listed ? 2u : 1u);
    if (c.listed) {
      EXPECT_EQ(drives[1].letter, 'D');
      EXPECT_EQ(drives[1].kind, c.kind);
    }
  }
}

TEST(DriveSelection, RootIsDriveCWhereverItStandsAndWhateverItIs) {
  const auto drives = DrivesOf(
      "30 21 8:17 / /data rw - ext4 /dev/sdb1 rw\n"
      "31 21 0:40 / /tmp rw - tmpfs tmpfs rw\n"
      "21 1 0:2 / / rw - rootfs rootfs rw\n");
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0], (Drive{'C', "/", DriveKind::Fixed, "/"}));
  EXPECT_EQ(drives[1].mountPoint, "/data");
  EXPECT_EQ(drives[2].mountPoint, "/tmp");

  // A live system running from RAM.
  const auto live = DrivesOf("21 1 0:30 / / rw - tmpfs tmpfs rw\n");
  ASSERT_EQ(live.size(), 1u);
  EXPECT_EQ(live[0].kind, DriveKind::RamDisk);
}

TEST(DriveSelection, InAChrootWithoutItsRootMountCIsStillTheRoot) {
  const auto drives = DrivesOf("30 21 8:17 / /data rw - ext4 /dev/sdb1 rw\n");
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_EQ(drives[0].mountPoint, "/");
  EXPECT_EQ(drives[1].letter, 'D');
  EXPECT_EQ(drives[1].mountPoint, "/data");
}

TEST(DriveSelection, StopsAtZ) {
  std::string text;
  for (int i = 0; i < 30; ++i) {
    text += std::to_string(40 + i) + " 21 8:" + std::to_string(16 + i) + " / /mnt/d" +
            std::to_string(i) + " rw - ext4 /dev/sdx" + std::to_string(i) + " rw\n";
  }
  text += "21 1 8:2 / / rw - ext4 /dev/sda2 rw\n";
  const auto drives = DrivesOf(text);
  ASSERT_EQ(drives.size(), 24u);
  EXPECT_EQ(drives.front().mountPoint, "/");
  EXPECT_EQ(drives.back().letter, 'Z');
  EXPECT_EQ(drives.back().mountPoint, "/mnt/d22");
}

TEST(DriveSelection, KindsAndLabelsFromDeviceFacts) {
  const auto listed = SelectDrives(ParseMountinfo(ReadTestData("mountinfo/desktop.txt")));
  ASSERT_EQ(listed.size(), 7u);
  const ListedMount& data = listed[3];  // /data on /dev/sda1
  const ListedMount& nas = listed[4];
  const ListedMount& shm = listed[1];
  EXPECT_EQ(KindOf(data, false), DriveKind::Fixed);
  EXPECT_EQ(KindOf(data, true), DriveKind::Removable);
  // The type decides before the disk's removable flag does.
  EXPECT_EQ(KindOf(nas, true), DriveKind::Remote);
  EXPECT_EQ(KindOf(shm, true), DriveKind::RamDisk);

  EXPECT_EQ(LabelOf(data, std::string("Data")), "Data");
  EXPECT_EQ(LabelOf(data, std::string()), "/data");
  EXPECT_EQ(LabelOf(nas, std::string("ignored")), "nas.local:/export/media");
}

TEST(DriveSelection, LabelLinkNamesAreDecoded) {
  const std::pair<std::string, std::string> cases[] = {
      {R"(My\x20Stick)", "My Stick"},
      {R"(A\x2fB)", "A/B"},
      {R"(\x5cback)", "\\back"},
      {"PLAIN", "PLAIN"},
      {R"(bad\x2)", R"(bad\x2)"},
      {R"(bad\xZZ)", R"(bad\xZZ)"},
      {R"(\x)", R"(\x)"},
  };
  for (const auto& [raw, decoded] : cases) {
    SCOPED_TRACE(raw);
    EXPECT_EQ(DecodeLabelLinkName(raw), decoded);
  }
}

TEST(DriveSelection, PathsAreComparedByWholeComponents) {
  EXPECT_TRUE(PathIsWithin("/media/ann", "/media"));
  EXPECT_TRUE(PathIsWithin("/media", "/media"));
  EXPECT_TRUE(PathIsWithin("/media/ann", "/media/"));
  EXPECT_FALSE(PathIsWithin("/mediaplayer", "/media"));
  EXPECT_FALSE(PathIsWithin("/med", "/media"));
  EXPECT_TRUE(PathIsWithin("/anything", "/"));
  EXPECT_TRUE(PathIsWithin("/", "/"));
  EXPECT_FALSE(PathIsWithin("relative", "/"));
}

}  // namespace
}  // namespace zub

namespace zub {
namespace {

std::vector<ListedMount> Listed(const std::vector<std::string>& mountPoints) {
  std::vector<ListedMount> listed;
  for (const auto& mountPoint : mountPoints) {
    ListedMount m;
    m.entry.mountPoint = mountPoint;
    listed.push_back(m);
  }
  return listed;
}

std::string Letters(const std::vector<ListedMount>& listed) {
  std::string out;
  for (const auto& m : listed) {
    out += std::string(1, m.letter) + "=" + m.entry.mountPoint + " ";
  }
  return out;
}

TEST(KeepLetters, ADriveListMadeEarlierKeepsPointingAtTheSameMounts) {
  std::map<std::string, char> remembered;
  auto listed = Listed({"/", "/boot/efi", "/media/a", "/media/b"});
  KeepLetters(listed, remembered);
  EXPECT_EQ(Letters(listed), "C=/ D=/boot/efi E=/media/a F=/media/b ");

  // The first stick goes: the second keeps F:, and E: is not given to it.
  listed = Listed({"/", "/boot/efi", "/media/b"});
  KeepLetters(listed, remembered);
  EXPECT_EQ(Letters(listed), "C=/ D=/boot/efi F=/media/b ");

  // A new stick takes a letter no drive has had, so an old list entry for E:
  // cannot show it; the first stick, back again, gets E: again.
  listed = Listed({"/", "/boot/efi", "/media/b", "/media/c", "/media/a"});
  KeepLetters(listed, remembered);
  EXPECT_EQ(Letters(listed), "C=/ D=/boot/efi E=/media/a F=/media/b G=/media/c ");
}

TEST(KeepLetters, LettersOfGoneMountsAreReusedOnlyWhenNoneIsLeft) {
  std::map<std::string, char> remembered;
  for (int i = 0; i < 23; ++i) {  // D: to Z: each used once
    auto listed = Listed({"/", "/mnt/" + std::to_string(i)});
    KeepLetters(listed, remembered);
    ASSERT_EQ(listed[1].letter, static_cast<char>('D' + i));
  }
  auto listed = Listed({"/", "/mnt/5", "/mnt/new"});
  KeepLetters(listed, remembered);
  EXPECT_EQ(Letters(listed), "C=/ D=/mnt/new I=/mnt/5 ");
  // The mount that lost D: gets a letter of its own when it comes back.
  listed = Listed({"/", "/mnt/0", "/mnt/new"});
  KeepLetters(listed, remembered);
  EXPECT_EQ(Letters(listed), "C=/ D=/mnt/new E=/mnt/0 ");
}

TEST(KeepLetters, WithoutARootTheOthersStillStartAtD) {
  std::map<std::string, char> remembered;
  std::vector<std::string> points;
  for (int i = 0; i < 24; ++i) {
    points.push_back("/mnt/" + std::to_string(i));
  }
  auto listed = Listed(points);
  KeepLetters(listed, remembered);
  ASSERT_EQ(listed.size(), 23u);
  EXPECT_EQ(listed.front().letter, 'D');
  EXPECT_EQ(listed.back().letter, 'Z');
}

}  // namespace
}  // namespace zub
