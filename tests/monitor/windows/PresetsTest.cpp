#include "monitor/Presets.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

constexpr ScreenSize k640{640, 480};

// The design layout with Label6 showing a text 20 x 13 pixels.
MonitorLayout Start() {
  MonitorLayout layout;
  layout.label6.width = 20;
  layout.label6.height = 13;
  return layout;
}

struct PresetRow {
  WindowPreset preset;
  int windowWidth, windowHeight, chartSize, chart2Left;
  Box panel;
  int comboLeft, comboWidth, captionOffset, fontSize, label5FontSize, swatchSize;
};

TEST(PresetsTest, PresetsOnA640ScreenGiveTheTablesExactly) {
  const PresetRow rows[] = {
      {WindowPreset::Small, 340, 188, 100, 112, {8, 104, 289, 31}, 216, 116, 0, 10, 10, 15},
      {WindowPreset::Medium, 455, 240, 150, 162, {8, 154, 350, 40}, 316, 131, 5, 11, 14, 20},
      {WindowPreset::Large, 560, 300, 200, 212, {8, 204, 400, 50}, 416, 136, 13, 12, 18, 40},
  };
  for (const PresetRow& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.preset));
    const MonitorLayout l = FitToScreen(PresetLayout(Start(), row.preset), k640);
    EXPECT_EQ(l.windowWidth, row.windowWidth);
    EXPECT_EQ(l.windowHeight, row.windowHeight);
    EXPECT_EQ(l.chart1, (Box{8, 0, row.chartSize, row.chartSize}));
    EXPECT_EQ(l.chart2, (Box{row.chart2Left, 0, row.chartSize, row.chartSize}));
    EXPECT_EQ(l.panel, row.panel);
    EXPECT_EQ(l.driveCombo.left, row.comboLeft);
    EXPECT_EQ(l.driveCombo.width, row.comboWidth);
    EXPECT_EQ(l.driveCombo.top, 0);
    EXPECT_EQ(l.comboFontSize, row.fontSize);
    EXPECT_EQ(l.captionFontSize, row.fontSize);
    EXPECT_EQ(l.label5FontSize, row.label5FontSize);
    int expectedTop = l.driveCombo.Bottom() + 4;
    for (std::size_t i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(l.swatches[i], (Box{row.comboLeft, expectedTop, row.swatchSize, row.swatchSize}));
      EXPECT_EQ(l.captions[i].left, row.comboLeft + row.swatchSize + 2);
      EXPECT_EQ(l.captions[i].top - l.swatches[i].top, row.captionOffset);
      expectedTop += row.swatchSize;
    }
    // Until the drive update puts them back, both pie labels stand in the caption column.
    EXPECT_EQ(l.label5.left, row.comboLeft + row.swatchSize + 2);
    EXPECT_EQ(l.label6.left, row.comboLeft + row.swatchSize + 2);
  }
}

TEST(PresetsTest, SmallIsTwoPixelsLowerThanTheDesign) {
  const MonitorLayout design;
  EXPECT_EQ(design.windowHeight, 190);
  EXPECT_EQ(PresetLayout(design, WindowPreset::Small).windowHeight, 188);
}

TEST(PresetsTest, TheDropDownHeightFollowsItsFontSoSwatchesClearIt) {
  EXPECT_EQ(ComboHeightFor(10), 20);  // the design: Shape11 at 24
  EXPECT_EQ(PresetLayout(Start(), WindowPreset::Small).swatches[0].top, 24);
  EXPECT_EQ(PresetLayout(Start(), WindowPreset::Large).swatches[0].top, ComboHeightFor(12) + 4);
}

TEST(PresetsTest, A640ScreenLeavesEverythingAsItIs) {
  EXPECT_EQ(FitToScreen(Start(), k640), Start());
  // Only the width decides: 640 x 400 is no change either.
  EXPECT_EQ(FitToScreen(Start(), {640, 400}), Start());
}

TEST(PresetsTest, A1280ScreenDoublesPlacesSizesAndFonts) {
  const MonitorLayout l = FitToScreen(Start(), {1280, 1024});
  EXPECT_EQ(l.windowWidth, 680);
  EXPECT_EQ(l.windowHeight, 1024 * 190 / 480);
  EXPECT_EQ(l.chart1, (Box{16, 0, 200, 200}));
  EXPECT_EQ(l.chart2, (Box{224, 0, 200, 200}));
  EXPECT_EQ(l.panel, (Box{16, 208, 578, 66}));
  EXPECT_EQ(l.swatches[3], (Box{432, 144, 34, 34}));
  EXPECT_EQ(l.comboFontSize, 20);
  EXPECT_EQ(l.panelFontSize, 24);
  // The labels on the pie keep their font.
  EXPECT_EQ(l.label5FontSize, 10);
}

TEST(PresetsTest, ScalingRoundsEdgesHalfToEven) {
  // Medium at 800 x 600: factor 1.25; the swatch tops 26, 46, 66 and 86
  // become 32.5, 57.5, 82.5 and 107.5.
  const MonitorLayout l = FitToScreen(PresetLayout(Start(), WindowPreset::Medium), {800, 600});
  EXPECT_EQ(l.windowWidth, 800 * 455 / 640);
  EXPECT_EQ(l.windowHeight, 600 * 240 / 480);
  EXPECT_EQ(l.swatches[0].top, 32);
  EXPECT_EQ(l.swatches[1].top, 58);
  EXPECT_EQ(l.swatches[2].top, 82);
  EXPECT_EQ(l.swatches[3].top, 108);
  // Edges, not sizes, are scaled: 26..46 becomes 32..58, 26 high.
  EXPECT_EQ(l.swatches[0].height, 26);
  EXPECT_EQ(l.chart2, (Box{202, 0, 188, 188}));
  EXPECT_EQ(l.comboFontSize, 14);  // 11 x 1.25 = 13.75
}

TEST(PresetsTest, FontsNeverScaleToNothing) {
  const MonitorLayout l = FitToScreen(Start(), {40, 30});
  EXPECT_GE(l.comboFontSize, 1);
  EXPECT_GE(l.captionFontSize, 1);
  EXPECT_EQ(ScaledFontSize(12, 0.01), 1);
  EXPECT_EQ(ScaledFontSize(10, 2.0), 20);
}

TEST(PresetsTest, DiskLabelsFollowTheChartsPlaceInTheWindow) {
  MonitorLayout l = Start();
  PlaceDiskLabels(l);
  EXPECT_EQ(l.label5.left, 33);
  EXPECT_EQ(l.label5.top, 40);
  EXPECT_EQ(l.label6.left, 100 - 8 - 20 + 4);
  EXPECT_EQ(l.label6.top, 100 - 13);

  l.chart1 = {16, 6, 150, 150};
  l.label6 = {0, 0, 31, 16};
  PlaceDiskLabels(l);
  EXPECT_EQ(l.label5.left, 38 + 16);  // 37.5 rounds to 38
  EXPECT_EQ(l.label5.top, 81 - 10);
  EXPECT_EQ(l.label6.left, 150 - 16 - 31 + 4);
  EXPECT_EQ(l.label6.top, 150 + 6 - 16);
}

}  // namespace
}  // namespace zub
