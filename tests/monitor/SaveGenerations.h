// Settings that differ in every field from one numbered generation to the
// next, so a file that mixes two saves shows which values came from where.
#pragma once

#include "monitor/MonitorSettings.h"

namespace zub::test_support {

// Every field meets its save condition, so a save writes all fourteen.
inline MonitorSettings SettingsOfGeneration(int g) {
  MonitorSettings s;
  s.Pie1Color = 100 * g + 1;
  s.Pie1Slice = 100 * g + 2;
  s.Pie2Color = 100 * g + 3;
  s.Pie2Slice = 100 * g + 4;
  s.AllColor = 100 * g + 5;
  s.AllSlice = 100 * g + 6;
  s.DirFontColor = 100 * g + 7;
  s.DirFontSize = 7 + g % 6;
  s.DirFontName = "Dir font " + std::to_string(g);
  s.FilesFontColor = 100 * g + 8;
  s.FilesFontSize = 7 + (g + 3) % 6;
  s.FilesFontName = "Files font " + std::to_string(g);
  s.BetAmount = g + 1;
  s.BetTotal = g + 51;
  return s;
}

inline int GenerationOf(const MonitorSettings& s) {
  return (s.Pie1Color - 1) / 100;
}

inline constexpr OpenedWindows kEveryWindowOpened{true, true};

}  // namespace zub::test_support
