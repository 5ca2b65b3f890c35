#include "monitor/MonitorState.h"

#include <gtest/gtest.h>

#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"

namespace zub {
namespace {

constexpr std::int64_t kMb = 1048576;

class MonitorStateTest : public ::testing::Test {
 protected:
  MonitorStateTest() {
    drives.Add("/", DriveKind::Fixed, "root");        // C:, 50 of 1024 Mb free
    drives.Add("/media/cd", DriveKind::CdRom, "CD");  // D:, no medium
    drives.Add("/mnt/e");                             // E:
    disk.Set("/", 50 * kMb, 1024 * kMb);
    disk.Set("/mnt/e", kMb, 4 * kMb);
    memory.status->memoryLoad = 31;
    memory.status->totalPhys = 1000 * 1024;
    memory.status->availPhys = 250 * 1024;
    state.Create();
  }

  Application app;
  fakes::FakeDriveTable drives;
  fakes::FakeDiskSpace disk;
  fakes::FakeMemorySource memory;
  fakes::FakeResourceSource resources;
  fakes::FakeSettingsFile settings;
  fakes::ScriptedPrompts prompts;
  MonitorState state{{app, drives, disk, memory, resources, settings, prompts}};
};

TEST_F(MonitorStateTest, ExactlyOneUnitAndOneViewAreCheckedWhateverIsChosen) {
  state.Activate('C');
  resources.readings[1] = {ResourceReading::Status::TableUnavailable, 0};  // GDI fails
  struct Step {
    std::optional<SizeUnit> unit;
    std::optional<MemoryView> view;
    SizeUnit checkedUnit;
    MemoryView checkedView;
  };
  using U = SizeUnit;
  using V = MemoryView;
  const Step steps[] = {
      {{}, V::System, U::Mb, V::System},   {{}, V::Gdi, U::Mb, V::System},
      {U::Bytes, {}, U::Bytes, V::System}, {{}, V::Real, U::Bytes, V::Real},
      {{}, V::Gdi, U::Bytes, V::Real},     {U::Kb, {}, U::Kb, V::Real},
      {{}, V::User, U::Kb, V::User},       {{}, V::PageFile, U::Kb, V::PageFile},
      {U::Mb, {}, U::Mb, V::PageFile},     {{}, V::Virtual, U::Mb, V::Virtual},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(static_cast<int>(step.checkedView));
    try {
      if (step.unit) {
        state.SelectUnit(*step.unit, 'C');
      } else {
        state.SelectMemoryView(*step.view);
      }
    } catch (const std::exception&) {
      EXPECT_EQ(*step.view, V::Gdi);
    }
    EXPECT_EQ(state.View().checkedUnit, step.checkedUnit);
    EXPECT_EQ(state.View().checkedView, step.checkedView);
  }
}

TEST_F(MonitorStateTest, AFailingResourceQueryChangesNothingWhileASizeViewKeepsItsNewMark) {
  state.Activate('C');
  state.SelectMemoryView(MemoryView::System);
  EXPECT_EQ(state.View().panelText, "Free System Resources 80%");
  const MonitorView before = state.View();

  resources.readings[2] = {ResourceReading::Status::CountUnavailable, 0};
  EXPECT_ANY_THROW(state.SelectMemoryView(MemoryView::User));
  EXPECT_EQ(state.View().panelText, before.panelText);
  EXPECT_EQ(state.View().memory, before.memory);
  EXPECT_EQ(state.View().checkedView, MemoryView::System);

  memory.status.reset();
  EXPECT_ANY_THROW(state.SelectMemoryView(MemoryView::PageFile));
  EXPECT_EQ(state.View().checkedView, MemoryView::PageFile);  // checked before measuring
  EXPECT_EQ(state.View().panelFontSize, 11);
  EXPECT_EQ(state.View().panelText, before.panelText);
}

TEST_F(MonitorStateTest, ADriveWithoutMediumWarnsAndChangesNothingButTheUnitMark) {
  state.Activate('C');
  const MonitorView before = state.View();
  state.SelectUnit(SizeUnit::Kb, 'D');
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"No Disk Available in Drive D"});
  EXPECT_EQ(state.View().checkedUnit, SizeUnit::Kb);
  EXPECT_EQ(state.CurrentUnit(), SizeUnit::Kb);
  EXPECT_EQ(state.View().disk, before.disk);
  EXPECT_EQ(state.View().diskHint, before.diskHint);
  EXPECT_EQ(state.View().label5, "Drive C");
  EXPECT_EQ(state.View().diskLabelsPlaced, before.diskLabelsPlaced);
}

TEST_F(MonitorStateTest, EachColourSlotChangesItsOwnFieldSwatchAndPie) {
  state.Activate('C');
  struct Row {
    SliceSlot slot;
    std::int32_t MonitorSettings::*field;
    bool diskPie;
    bool freeSlice;
  };
  const Row rows[] = {{SliceSlot::DiskFree, &MonitorSettings::Pie1Color, true, true},
                      {SliceSlot::DiskUsed, &MonitorSettings::Pie1Slice, true, false},
                      {SliceSlot::MemoryFree, &MonitorSettings::Pie2Color, false, true},
                      {SliceSlot::MemoryUsed, &MonitorSettings::Pie2Slice, false, false}};
  ColorRef color = 0x101010;
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.slot));
    const int queries = disk.queries;
    color += 0x010101;
    prompts.colors = {color};
    state.ChooseSliceColor(row.slot);
    EXPECT_EQ(state.Settings().*row.field, static_cast<std::int32_t>(color));
    EXPECT_EQ(state.View().swatches[static_cast<int>(row.slot)], color);
    const PieView& pie = row.diskPie ? state.View().disk : state.View().memory;
    EXPECT_EQ(row.freeSlice ? pie.freeColor : pie.usedColor, color);
    EXPECT_EQ(disk.queries, queries);  // nothing measured again
  }
  // One dialog for all four: it reopens on its last answer.
  EXPECT_EQ(prompts.colorDialogInitials,
            (std::vector<ColorRef>{kBlack, 0x111111, 0x121212, 0x131313}));
}

TEST_F(MonitorStateTest, TheChosenLetterFallsBackToTheCurrentDriveThenToC) {
  EXPECT_EQ(ChosenDriveLetter('e', 'C'), 'E');
  EXPECT_EQ(ChosenDriveLetter(std::nullopt, 'D'), 'D');
  EXPECT_EQ(ChosenDriveLetter(std::nullopt, '?'), 'C');
}

TEST_F(MonitorStateTest, EachEventReadsTheDriveTableOnceAndEachDriveOnce) {
  state.Activate('E');
  int reads = drives.reads;
  int queries = disk.queries;
  state.Activate('E');  // the quick update, then Mb (a drive update), then Total
  EXPECT_EQ(drives.reads - reads, 2);
  EXPECT_EQ(disk.queries - queries, 2);
  reads = drives.reads;
  queries = disk.queries;
  state.DriveUpdate('E');
  EXPECT_EQ(drives.reads - reads, 1);
  EXPECT_EQ(disk.queries - queries, 1);
}

TEST_F(MonitorStateTest, AfterAResetCloseSavesNothing) {
  prompts.answers = {Answer::Yes};
  state.ResetSettings();
  ASSERT_TRUE(state.SettingsCleared());
  const int rewrites = settings.rewrites;
  state.Close({});
  EXPECT_EQ(settings.rewrites, rewrites);
}

}  // namespace
}  // namespace zub
