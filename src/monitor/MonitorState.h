// The main window's state and rules: what each of its events changes and in
// which order. The window only gathers input, calls these, and shows View().
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "app/Application.h"
#include "monitor/DriveSpace.h"
#include "monitor/MemoryViews.h"
#include "monitor/MonitorSettings.h"
#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"
#include "platform/MemorySource.h"
#include "platform/ResourceSource.h"
#include "platform/SettingsFile.h"
#include "ui/Color.h"
#include "ui/Prompts.h"

namespace zub {

// The four colour slots, in swatch order: Shape11 to Shape14, Label1 to Label4.
enum class SliceSlot { DiskFree = 0, DiskUsed = 1, MemoryFree = 2, MemoryUsed = 3 };

// One two-slice pie as shown: nothing before its first measurement.
struct PieView {
  bool shown = false;
  int freePercent = 0;
  ColorRef freeColor = kBlack;
  ColorRef usedColor = kBlack;
  bool empty = false;  // the view measures nothing (a total of 0): an outline, no slice
  bool operator==(const PieView&) const = default;
};

// Everything the main window shows that its rules decide.
struct MonitorView {
  std::string caption = "Zub 97";
  std::string panelText;
  int panelFontSize = 12;  // points, before any screen scaling
  std::string diskHint;
  std::string memoryHint;
  std::string label5 = "Drive ";
  std::string label6 = "99%";
  // Grows each time the drive update places Label5 and Label6 on the pie.
  int diskLabelsPlaced = 0;
  PieView disk;
  PieView memory;
  SizeUnit checkedUnit = SizeUnit::Mb;
  MemoryView checkedView = MemoryView::Total;
  std::array<ColorRef, 4> swatches{};
};

// The drive list's letter, upper case; without a listed drive, the current
// drive's, and C: when even that is not a drive letter.
char ChosenDriveLetter(std::optional<char> listed, char currentDriveLetter);

// The settings field a colour slot stands for.
std::int32_t& SlotField(MonitorSettings& settings, SliceSlot slot);

struct MonitorSources {
  Application& application;
  DriveTable& drives;
  DiskSpace& disk;
  MemorySource& memory;
  ResourceSource& resources;
  SettingsFile& settings;
  Prompts& prompts;
};

class MonitorState {
 public:
  explicit MonitorState(const MonitorSources& sources);

  const MonitorView& View() const { return view_; }
  MonitorSettings& Settings() { return settings_; }
  const MonitorSettings& Settings() const { return settings_; }
  std::optional<SizeUnit> CurrentUnit() const { return unit_; }
  int LastDiskPercent() const { return view_.disk.freePercent; }
  int LastMemoryPercent() const { return view_.memory.freePercent; }
  bool SettingsCleared() const { return settingsCleared_; }

  // Loads the settings and paints the swatches with them.
  void Create();
  // The caption, the quick disk update (Mb, no readiness check), then Mb and Total.
  void Activate(char letter);
  // Mb, then Total.
  void Resize(char letter);
  // False, after the message, when the drive does not answer: nothing else changes.
  bool DriveUpdate(char letter);
  // The unit's check mark moves also when the drive does not answer.
  void SelectUnit(SizeUnit unit, char letter);
  // Size views are checked before they are measured, resource views after,
  // so a failing resource query leaves pie, panel and marks as they were.
  void SelectMemoryView(MemoryView view);
  // The summary line into the application title.
  void Tick();
  // Total's free share, for the tray icon.
  int TotalFreePercent() const;
  // One colour dialog for the four slots, reopening on its last answer; the
  // pie is redrawn with its last percentage, nothing is measured.
  void ChooseSliceColor(SliceSlot slot);
  // Saves unless the settings were reset in this run. Throws RegistryError.
  void Close(const OpenedWindows& opened);
  void ResetSettings();

 private:
  void SetPie(PieView& pie, int freePercent, SliceSlot freeSlot, SliceSlot usedSlot);
  void Recolor(SliceSlot slot);

  MonitorSources sources_;
  MemoryMeter meter_;
  MonitorSettings settings_;
  MonitorView view_;
  std::optional<SizeUnit> unit_;
  bool settingsCleared_ = false;
  ColorRef colorDialogColor_ = kBlack;
};

}  // namespace zub
