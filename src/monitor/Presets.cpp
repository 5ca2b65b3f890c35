#include "monitor/Presets.h"

#include <algorithm>

#include "monitor/NumberText.h"
#include "ui/Font.h"

namespace zub {

PresetValues PresetValuesOf(WindowPreset preset) {
  switch (preset) {
    case WindowPreset::Small:
      return {10, 100, 188, 340, 10, 15};
    case WindowPreset::Medium:
      return {11, 150, 240, 455, 14, 20};
    case WindowPreset::Large:
      break;
  }
  return {12, 200, 300, 560, 18, 40};
}

int ComboHeightFor(int fontSize) {
  Font font;
  font.pointSize = fontSize;
  return font.PixelHeight() + 7;
}

namespace {

int Round(double value) {
  return static_cast<int>(RoundHalfEven(value));
}

}  // namespace

MonitorLayout PresetLayout(const MonitorLayout& current, WindowPreset preset) {
  const PresetValues v = PresetValuesOf(preset);
  MonitorLayout l = current;

  // 1. The labels on the pie are not placed directly on the window.
  l.comboFontSize = v.fontSize;
  l.captionFontSize = v.fontSize;
  l.panelFontSize = v.fontSize;
  l.driveCombo.height = ComboHeightFor(v.fontSize);
  // 2, 3, 4
  l.chart1 = {8, 0, v.chartSize, v.chartSize};
  l.chart2 = {0, 0, v.chartSize, v.chartSize};
  l.windowHeight = v.windowHeight;
  l.windowWidth = v.windowWidth;
  l.chart2.left = preset == WindowPreset::Small ? 112 : l.chart1.left + l.chart1.width + 4;
  // 5
  switch (preset) {
    case WindowPreset::Small:
      l.panel.width = 289;
      break;
    case WindowPreset::Medium:
      l.panel.width = 350;
      break;
    case WindowPreset::Large:
      l.panel.width = l.chart1.width + l.chart2.width;
      break;
  }
  l.panel.height = Round(l.windowHeight / 6.0);
  l.panel.top = l.chart1.height + 4;
  l.panel.left = 8;
  // 6
  l.driveCombo.left = l.chart2.width + l.chart2.left + 4;
  l.driveCombo.width = l.windowWidth - l.chart2.left - l.chart2.width - 12;
  l.driveCombo.top = 0;
  // 7, 8
  l.label5FontSize = v.label5FontSize;
  PlaceDiskLabels(l);
  // 9
  int sum = 0;
  for (Box& swatch : l.swatches) {
    swatch.width = v.swatchSize;
    swatch.height = v.swatchSize;
    swatch.left = l.chart2.width + l.chart2.left + 4;
    swatch.top = l.driveCombo.top + l.driveCombo.height + sum + 4;
    sum += l.swatches[0].height;
  }
  // 10: Label5 and Label6 too; the drive update puts them back on the pie.
  const int labelLeft = l.swatches[0].left + l.swatches[0].width + 2;
  for (Box& caption : l.captions) {
    caption.left = labelLeft;
  }
  l.label5.left = labelLeft;
  l.label6.left = labelLeft;
  // 11
  int offset = 0;
  if (preset == WindowPreset::Medium) {
    offset = Round(l.swatches[0].width * 0.25);
  } else if (preset == WindowPreset::Large) {
    offset = Round(l.swatches[0].width / 3.0);
  }
  for (std::size_t i = 0; i < l.captions.size(); ++i) {
    l.captions[i].top = l.swatches[i].top + offset;
  }
  return l;
}

double ScreenFontScale(ScreenSize screen) {
  return screen.width == 640 ? 1.0 : screen.width / 640.0;
}

int ScaledFontSize(int points, double scale) {
  return std::max(1, Round(points * scale));
}

MonitorLayout FitToScreen(const MonitorLayout& layout, ScreenSize screen) {
  if (screen.width == 640) {
    return layout;
  }
  MonitorLayout l = layout;
  l.windowHeight = screen.height * layout.windowHeight / 480;
  l.windowWidth = screen.width * layout.windowWidth / 640;

  const double ratio = screen.width / 640.0;
  auto scale = [ratio](Box& box) {
    const int left = Round(box.left * ratio);
    const int top = Round(box.top * ratio);
    box.width = Round(box.Right() * ratio) - left;
    box.height = Round(box.Bottom() * ratio) - top;
    box.left = left;
    box.top = top;
  };
  for (Box* box : {&l.chart1, &l.chart2, &l.driveCombo, &l.panel, &l.label5, &l.label6}) {
    scale(*box);
  }
  for (Box& box : l.swatches) {
    scale(box);
  }
  for (Box& box : l.captions) {
    scale(box);
  }

  const double fontScale = ScreenFontScale(screen);
  l.comboFontSize = ScaledFontSize(l.comboFontSize, fontScale);
  l.captionFontSize = ScaledFontSize(l.captionFontSize, fontScale);
  l.panelFontSize = ScaledFontSize(l.panelFontSize, fontScale);
  return l;
}

ClientExtent ControlsExtent(const MonitorLayout& l) {
  ClientExtent extent;
  auto reach = [&extent](const Box& box) {
    extent.width = std::max(extent.width, box.Right());
    extent.height = std::max(extent.height, box.Bottom());
  };
  for (const Box* box : {&l.chart1, &l.chart2, &l.driveCombo, &l.panel}) {
    reach(*box);
  }
  for (const Box& box : l.swatches) {
    reach(box);
  }
  for (const Box& box : l.captions) {
    reach(box);
  }
  extent.gap = std::max(0, l.panel.top - l.chart1.Bottom());
  return extent;
}

void PlaceDiskLabels(MonitorLayout& l) {
  l.label5.left = Round(l.chart1.width * 0.25) + l.chart1.left;
  l.label5.top = Round(l.chart1.top + l.chart1.height * 0.5) - 10;
  l.label6.left = l.chart1.width - l.chart1.left - l.label6.width + 4;
  l.label6.top = l.chart1.height + l.chart1.top - l.label6.height;
}

}  // namespace zub
