#include "monitor/MonitorWindowRules.h"

#include <cctype>

#include "monitor/EscapedText.h"

namespace zub {

std::string ActivatedCaption() {
  return "Zub 97 v" + std::to_string(kMajorVersion) + "." + std::to_string(kMinorVersion);
}

std::string DriveEntryText(const DriveInfo& drive) {
  std::string text{static_cast<char>(std::tolower(static_cast<unsigned char>(drive.letter))), ':'};
  switch (drive.kind) {
    case DriveKind::Fixed:
    case DriveKind::CdRom:
    case DriveKind::RamDisk:
      text += " [" + EscapedText(drive.label) + "]";
      break;
    case DriveKind::Remote:
      text += " " + EscapedText(drive.label);
      break;
    default:
      break;
  }
  return text;
}

std::vector<DriveListEntry> DriveListEntries(const std::vector<DriveInfo>& drives) {
  std::vector<DriveListEntry> entries;
  entries.reserve(drives.size());
  for (const DriveInfo& drive : drives) {
    entries.push_back({drive.letter, DriveEntryText(drive)});
  }
  return entries;
}

int DriveEntryIndex(const std::vector<DriveListEntry>& entries, char letter) {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].letter == wanted) {
      return static_cast<int>(i);
    }
  }
  return entries.empty() ? -1 : 0;
}

std::string DriveNotReadyMessage(char letter) {
  return std::string("No Disk Available in Drive ") + letter;
}

std::string DiskHint(const std::string& statusText, const std::string& typeText) {
  return statusText + " Type is " + typeText;
}

std::string DriveLabelText(char letter) {
  return std::string("Drive ") + letter;
}

std::string PercentText(int percent) {
  return std::to_string(percent) + "%";
}

bool IsResourceView(MemoryView view) {
  return view == MemoryView::Gdi || view == MemoryView::System || view == MemoryView::User;
}

int ViewPanelFontSize(MemoryView view) {
  switch (view) {
    case MemoryView::Virtual:
    case MemoryView::Real:
    case MemoryView::PageFile:
      return 11;
    default:
      return 12;
  }
}

}  // namespace zub
