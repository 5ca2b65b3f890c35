// The directory space window's rules as plain data: its panel texts by unit
// and the sizes its resize gives the controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/DirectoryScan.h"
#include "monitor/DriveSpace.h"
#include "platform/DriveTable.h"

namespace zub {

inline constexpr const char* kFmDirCaption = "Zub Directory Space and File Delete";
inline constexpr const char* kFmDirNote =
    "Note: Clicking files will permit you to send to the recycle bin";

// The drive whose mount point holds `path` most closely, 0 for none: the
// drive a chosen directory becomes the current directory of.
char DriveHolding(const std::vector<DriveInfo>& drives, const std::string& path);

// On activation, whatever unit is checked: "12 Mb 40 Files".
std::string ActivationPanelText(const Listing& listing);
// The same, unless nothing was listed because the main window's drive
// `letter` is gone (the window was never anywhere): then it says so.
std::optional<std::string> ActivationPanel(const Listing& listing, char letter);
// After choosing a directory: "12 Mb 40 Files", "2048 Kb 3 Files" or
// "2097152 Bytes" (no count; every digit, however large).
std::string DirectoryPanelText(SizeUnit unit, const Listing& listing);
// After choosing a unit: "12 Mb", "2048 Kb" or "2097152 bytes"; nothing
// (the panel stays) when the total is 0.
std::optional<std::string> UnitPanelText(SizeUnit unit, std::int64_t total);

struct FmDirGeometry {
  int gridWidth = 0;  // also the panel's and the directory chooser's width
  int column0Width = 0;
  int column1Width = 0;
  int noteTop = 0;
  int gridHeight = 0;  // also the directory chooser's height
};
FmDirGeometry FmDirResize(int windowWidth, int windowHeight, int clientHeight);

}  // namespace zub
