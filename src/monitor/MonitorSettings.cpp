#include "monitor/MonitorSettings.h"

#include "monitor/BBRegis.h"

namespace zub {
namespace {

constexpr std::size_t kMaxFontName = 20;

std::int32_t ColorOrDefault(std::int32_t value, std::int32_t fallback) {
  return value < 0 ? fallback : value;
}

std::int32_t SizeOrDefault(std::int32_t value) {
  return value < 7 || value > 12 ? 8 : value;
}

MonitorSettings ReadSettings(const TRegIniFile& ini) {
  const MonitorSettings d;  // the defaults
  MonitorSettings s;
  s.Pie1Color = ColorOrDefault(ini.ReadInteger("Settings", "Pie1Color", -1), d.Pie1Color);
  s.Pie1Slice = ColorOrDefault(ini.ReadInteger("Settings", "Pie1Slice", -1), d.Pie1Slice);
  s.Pie2Color = ColorOrDefault(ini.ReadInteger("Settings", "Pie2Color", -1), d.Pie2Color);
  s.Pie2Slice = ColorOrDefault(ini.ReadInteger("Settings", "Pie2Slice", -1), d.Pie2Slice);
  s.AllColor = ColorOrDefault(ini.ReadInteger("Settings", "AllColor", -1), d.AllColor);
  s.AllSlice = ColorOrDefault(ini.ReadInteger("Settings", "AllSlice", -1), d.AllSlice);
  s.FilesFontColor = ColorOrDefault(ini.ReadInteger("Files", "FontColor", -1), d.FilesFontColor);
  s.FilesFontSize = SizeOrDefault(ini.ReadInteger("Files", "Fontsize", -1));
  s.DirFontColor = ColorOrDefault(ini.ReadInteger("Dir", "DirColor", -1), d.DirFontColor);
  s.DirFontSize = SizeOrDefault(ini.ReadInteger("Dir", "Dirsize", -1));
  s.DirFontName = ini.ReadString("Dir", "FontName", "Arial").substr(0, kMaxFontName);
  s.FilesFontName = ini.ReadString("Files", "FontName", "Arial").substr(0, kMaxFontName);
  s.BetAmount = ini.ReadInteger("Bet", "Bet", -1);
  s.BetTotal = ini.ReadInteger("Bet", "Total", -1);
  return s;
}

}  // namespace

MonitorSettings LoadMonitorSettings(SettingsFile& file) {
  try {
    const TRegIniFile ini(file, kSettingsKey);
    return ReadSettings(ini);
  } catch (const RegistryError&) {
    // The key cannot be created (a read-only or unreadable store): start with
    // whatever can be read rather than not at all.
    const TRegIniFile ini(file, kSettingsKey, false);
    return ReadSettings(ini);
  }
}

void SaveMonitorSettings(SettingsFile& file, const MonitorSettings& s,
                         const OpenedWindows& opened) {
  // One transaction: a kill or a failure leaves the file as it was before
  // the close or with every value of it, never a mix of two closes.
  TRegIniFile ini(file, kSettingsKey, TRegIniFile::Writes::Batched);
  if (s.BetTotal > 50) {
    ini.WriteInteger("Bet", "Total", s.BetTotal);
  }
  if (s.BetAmount > 0) {
    ini.WriteInteger("Bet", "Bet", s.BetAmount);
  }
  // Black (0) is never written: it reads back as "keep what was stored".
  const std::pair<const char*, std::int32_t> colours[] = {
      {"AllColor", s.AllColor},   {"AllSlice", s.AllSlice},   {"Pie1Color", s.Pie1Color},
      {"Pie2Color", s.Pie2Color}, {"Pie1Slice", s.Pie1Slice}, {"Pie2Slice", s.Pie2Slice}};
  for (const auto& [name, value] : colours) {
    if (value > 0) {
      ini.WriteInteger("Settings", name, value);
    }
  }
  if (opened.directorySpace) {
    if (s.DirFontColor > 0) {
      ini.WriteInteger("Dir", "DirColor", s.DirFontColor);
    }
    if (s.DirFontSize >= 7 && s.DirFontSize <= 12) {
      ini.WriteInteger("Dir", "DirSize", s.DirFontSize);
    }
    if (s.DirFontName.size() >= 5) {
      ini.WriteString("Dir", "FontName", s.DirFontName);
    }
  }
  if (opened.fileSearch) {
    if (s.FilesFontColor > 0) {
      ini.WriteInteger("Files", "FontColor", s.FilesFontColor);
    }
    if (s.FilesFontSize >= 7 && s.FilesFontSize <= 12) {
      ini.WriteInteger("Files", "FontSize", s.FilesFontSize);
    }
    if (s.FilesFontName.size() >= 5) {
      ini.WriteString("Files", "FontName", s.FilesFontName);
    }
  }
  ini.UpdateFile();
}

bool ResetSettings(SettingsFile& file, Prompts& prompts) {
  TRegIniFile ini(file, kSettingsKey);
  if (prompts.Ask("Are you sure you wish to clear all saved settings?", true) != Answer::Yes) {
    return false;
  }
  TRegIniFile erase(file, kSettingsKey, TRegIniFile::Writes::Batched);
  for (const char* section : {"Bet", "Settings", "Disk1", "Disk2", "Dir", "Files"}) {
    erase.EraseSection(section);
  }
  erase.UpdateFile();
  prompts.ShowMessage(
      "Saved settings have been cleared. Close and restart Zub to return to defaults");
  return true;
}

std::vector<std::pair<std::string, std::string>> MonitorSettingsFields(const MonitorSettings& s) {
  auto n = [](std::int32_t v) { return std::to_string(v); };
  return {{"Pie1Color", n(s.Pie1Color)},         {"Pie1Slice", n(s.Pie1Slice)},
          {"Pie2Color", n(s.Pie2Color)},         {"Pie2Slice", n(s.Pie2Slice)},
          {"AllColor", n(s.AllColor)},           {"AllSlice", n(s.AllSlice)},
          {"DirFontColor", n(s.DirFontColor)},   {"DirFontSize", n(s.DirFontSize)},
          {"DirFontName", s.DirFontName},        {"FilesFontColor", n(s.FilesFontColor)},
          {"FilesFontSize", n(s.FilesFontSize)}, {"FilesFontName", s.FilesFontName},
          {"BetAmount", n(s.BetAmount)},         {"BetTotal", n(s.BetTotal)}};
}

}  // namespace zub
