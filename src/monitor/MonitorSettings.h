// The settings the main window keeps for the whole run, with their stored
// names, defaults, fix-ups after loading and conditions for saving.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/SettingsFile.h"
#include "ui/Prompts.h"

namespace zub {

inline constexpr const char* kSettingsKey = "Zub95";

struct MonitorSettings {
  std::int32_t Pie1Color = 255;
  std::int32_t Pie1Slice = 32768;
  std::int32_t Pie2Color = 16711680;
  std::int32_t Pie2Slice = 65535;
  std::int32_t AllColor = 255;
  std::int32_t AllSlice = 32768;
  std::int32_t DirFontColor = 0;
  std::int32_t DirFontSize = 8;
  std::string DirFontName = "Arial";
  std::int32_t FilesFontColor = 0;
  std::int32_t FilesFontSize = 8;
  std::string FilesFontName = "Arial";
  std::int32_t BetAmount = -1;
  std::int32_t BetTotal = -1;

  bool operator==(const MonitorSettings&) const = default;
};

// Which reusable windows were opened in this run. The directory space and
// file search windows' sections are saved only when they were.
struct OpenedWindows {
  bool allDisks = false;
  bool directorySpace = false;
  bool directoryTree = false;
  bool fileSearch = false;
  bool processTree = false;
  bool runningWindows = false;
};

// Reads the settings, creating the empty key when it is missing. Never
// throws: whatever cannot be read takes its default.
MonitorSettings LoadMonitorSettings(SettingsFile& file);

// Writes the fields that meet their save conditions; a field not written
// keeps what the store held. All of them reach the file in one rewrite, or
// none: then RegistryError names the first value that was to be written.
void SaveMonitorSettings(SettingsFile& file, const MonitorSettings& settings,
                         const OpenedWindows& opened);

// Asks the user, then erases every stored section (in one rewrite) and says so. True when the
// settings were cleared (the caller then saves nothing at close).
bool ResetSettings(SettingsFile& file, Prompts& prompts);

// Every field as its name and value text, in declaration order (for the report).
std::vector<std::pair<std::string, std::string>> MonitorSettingsFields(
    const MonitorSettings& settings);

}  // namespace zub
