#include "monitor/MonitorState.h"

#include <cctype>

#include "monitor/EventDrives.h"
#include "monitor/MonitorWindowRules.h"

namespace zub {

char ChosenDriveLetter(std::optional<char> listed, char currentDriveLetter) {
  if (listed) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(*listed)));
  }
  // No drive at all: ask about the current drive, which the queries know as C: at worst.
  const int current = DriveNumber(currentDriveLetter);
  return current != 0 ? DriveLetter(current) : 'C';
}

std::int32_t& SlotField(MonitorSettings& settings, SliceSlot slot) {
  switch (slot) {
    case SliceSlot::DiskFree:
      return settings.Pie1Color;
    case SliceSlot::DiskUsed:
      return settings.Pie1Slice;
    case SliceSlot::MemoryFree:
      return settings.Pie2Color;
    case SliceSlot::MemoryUsed:
      break;
  }
  return settings.Pie2Slice;
}

MonitorState::MonitorState(const MonitorSources& sources)
    : sources_(sources), meter_(sources.memory, sources.resources) {
  view_.swatches = {kRed, kBlue, kGreen, kPurple};  // the design colours, until loaded
}

void MonitorState::Create() {
  settings_ = LoadMonitorSettings(sources_.settings);
  for (const SliceSlot slot :
       {SliceSlot::DiskFree, SliceSlot::DiskUsed, SliceSlot::MemoryFree, SliceSlot::MemoryUsed}) {
    view_.swatches[static_cast<int>(slot)] = static_cast<ColorRef>(SlotField(settings_, slot));
  }
}

void MonitorState::SetPie(PieView& pie, int freePercent, SliceSlot freeSlot, SliceSlot usedSlot) {
  pie.shown = true;
  pie.freePercent = freePercent;
  pie.freeColor = static_cast<ColorRef>(SlotField(settings_, freeSlot));
  pie.usedColor = static_cast<ColorRef>(SlotField(settings_, usedSlot));
}

void MonitorState::Activate(char letter) {
  view_.caption = ActivatedCaption();
  view_.panelFontSize = 12;
  {
    const EventDrives drives(sources_.drives, sources_.disk);
    const DriveQueries& queries = drives.Queries();
    const int number = DriveNumber(letter);
    const DriveSpaceText space = queries.FormatDriveSpace(number, SizeUnit::Mb);
    view_.panelText = space.text;
    view_.panelFontSize = space.panelFontSize;
    view_.diskHint = DiskHint(space.text, queries.DriveTypeText(letter));
    const int percent = queries.RoundedFreePercent(number);
    view_.label5 = DriveLabelText(letter);
    view_.label6 = PercentText(percent);
    SetPie(view_.disk, percent, SliceSlot::DiskFree, SliceSlot::DiskUsed);
  }
  SelectUnit(SizeUnit::Mb, letter);
  SelectMemoryView(MemoryView::Total);
}

void MonitorState::Resize(char letter) {
  SelectUnit(SizeUnit::Mb, letter);
  SelectMemoryView(MemoryView::Total);
}

bool MonitorState::DriveUpdate(char letter) {
  const EventDrives drives(sources_.drives, sources_.disk);
  const DriveQueries& queries = drives.Queries();
  const int number = DriveNumber(letter);
  view_.panelFontSize = 12;
  if (!queries.IsDriveReady(letter)) {
    sources_.prompts.ShowMessage(DriveNotReadyMessage(letter));
    return false;
  }
  const DriveSpaceText space = queries.FormatDriveSpace(number, unit_.value_or(SizeUnit::Mb));
  view_.panelText = space.text;
  view_.panelFontSize = space.panelFontSize;
  const int percent = queries.RoundedFreePercent(number);
  SetPie(view_.disk, percent, SliceSlot::DiskFree, SliceSlot::DiskUsed);
  view_.diskHint = DiskHint(space.text, queries.DriveTypeText(letter));
  view_.label5 = DriveLabelText(letter);
  view_.label6 = PercentText(percent);
  ++view_.diskLabelsPlaced;
  return true;
}

void MonitorState::SelectUnit(SizeUnit unit, char letter) {
  unit_ = unit;
  DriveUpdate(letter);
  view_.checkedUnit = unit;  // also when the drive was not ready
}

void MonitorState::SelectMemoryView(MemoryView view) {
  const bool resource = IsResourceView(view);
  if (!resource) {
    view_.panelFontSize = ViewPanelFontSize(view);
    view_.checkedView = view;
  }
  const MemoryMeasurement measured = meter_.Measure(view);  // may throw: the rest is skipped
  SetPie(view_.memory, measured.freePercent, SliceSlot::MemoryFree, SliceSlot::MemoryUsed);
  view_.memory.empty = measured.empty;
  if (measured.applicationTitle) {
    sources_.application.SetTitle(*measured.applicationTitle);
  }
  if (resource) {
    view_.panelFontSize = 12;
  }
  view_.panelText = measured.text;
  view_.memoryHint = measured.text;
  if (resource) {
    view_.checkedView = view;
  }
}

void MonitorState::Tick() {
  sources_.application.SetTitle(meter_.TitleSummary());
}

int MonitorState::TotalFreePercent() const {
  return meter_.Measure(MemoryView::Total).freePercent;
}

void MonitorState::Recolor(SliceSlot slot) {
  if (slot == SliceSlot::DiskFree || slot == SliceSlot::DiskUsed) {
    SetPie(view_.disk, view_.disk.freePercent, SliceSlot::DiskFree, SliceSlot::DiskUsed);
  } else {
    SetPie(view_.memory, view_.memory.freePercent, SliceSlot::MemoryFree, SliceSlot::MemoryUsed);
  }
}

void MonitorState::ChooseSliceColor(SliceSlot slot) {
  const std::optional<ColorRef> chosen = sources_.prompts.ChooseColor(colorDialogColor_);
  if (!chosen) {
    return;
  }
  colorDialogColor_ = *chosen;
  view_.swatches[static_cast<int>(slot)] = *chosen;
  SlotField(settings_, slot) = static_cast<std::int32_t>(*chosen);
  Recolor(slot);
}

void MonitorState::Close(const OpenedWindows& opened) {
  if (settingsCleared_) {
    return;
  }
  SaveMonitorSettings(sources_.settings, settings_, opened);
}

void MonitorState::ResetSettings() {
  if (zub::ResetSettings(sources_.settings, sources_.prompts)) {
    settingsCleared_ = true;
  }
}

}  // namespace zub
