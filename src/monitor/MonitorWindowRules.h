// The main window's texts and small rules: the drive list's entries, the
// captions, the hints and the status panel's font for each memory view.
#pragma once

#include <string>
#include <vector>

#include "monitor/MemoryViews.h"
#include "platform/DriveTable.h"

namespace zub {

inline constexpr const char* kStartCaption = "Zub 97";
inline constexpr int kMajorVersion = 3;
inline constexpr int kMinorVersion = 0;

// "Zub 97 v3.0": the caption from the first activation on.
std::string ActivatedCaption();

struct DriveListEntry {
  char letter = 0;
  std::string text;  // "c: [root]", "f: server:/export", "e:"
};

// "c:" and, for fixed, CD-ROM and RAM drives, the label in square brackets;
// for network drives the remote name. A tab or line break in the name shows
// as "\t" or "\n" (see EscapedText) rather than cutting the entry.
std::string DriveEntryText(const DriveInfo& drive);
std::vector<DriveListEntry> DriveListEntries(const std::vector<DriveInfo>& drives);
// The entry of `letter`, else the first; -1 for an empty list.
int DriveEntryIndex(const std::vector<DriveListEntry>& entries, char letter);

std::string DriveNotReadyMessage(char letter);
// The disk pie's hint: the status text, " Type is ", the drive type.
std::string DiskHint(const std::string& statusText, const std::string& typeText);
std::string DriveLabelText(char letter);  // "Drive C"
std::string PercentText(int percent);     // "45%"

// GDI, System and User: the resource views, checked only once measured.
bool IsResourceView(MemoryView view);
// The status panel's font for a memory view, set before it is measured.
int ViewPanelFontSize(MemoryView view);

}  // namespace zub
