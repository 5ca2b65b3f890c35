// The main window's geometry: its design layout, the three size presets, the
// fitting to the screen and the placing of the two labels on the disk pie.
#pragma once

#include <array>

#include "monitor/MonitorServices.h"

namespace zub {

enum class WindowPreset { Small, Medium, Large };

// A control's place in pixels: left, top, width, height.
struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  bool operator==(const Box&) const = default;
};

struct PresetValues {
  int fontSize;        // F: points, every control placed directly on the window
  int chartSize;       // C
  int windowHeight;    // H
  int windowWidth;     // W
  int label5FontSize;  // points
  int swatchSize;      // S
};

PresetValues PresetValuesOf(WindowPreset preset);

// Every placed control of the main window. Window sizes are outer sizes; the
// boxes are in the window's client area, except Label5 and Label6, which lie
// on Chart1 and are in its coordinates. Labels size themselves to their text:
// their width and height are those of the text they show.
struct MonitorLayout {
  int windowWidth = 340;
  int windowHeight = 190;
  Box chart1{8, 0, 100, 100};
  Box chart2{112, 0, 100, 100};
  Box driveCombo{216, 0, 113, 20};
  Box panel{8, 104, 289, 33};
  std::array<Box, 4> swatches{
      {{216, 24, 17, 17}, {216, 40, 17, 17}, {216, 56, 17, 17}, {216, 72, 17, 17}}};
  std::array<Box, 4> captions{{{240, 24, 0, 0}, {240, 40, 0, 0}, {240, 56, 0, 0}, {240, 72, 0, 0}}};
  Box label5{24, 40, 0, 0};
  Box label6{72, 80, 0, 0};
  // Font sizes in points.
  int comboFontSize = 10;
  int captionFontSize = 9;
  int panelFontSize = 12;
  int label5FontSize = 10;

  bool operator==(const MonitorLayout&) const = default;
};

// A drop-down list is as high as its font needs: 20 pixels for 10 points.
int ComboHeightFor(int fontSize);

// Steps 1 to 11 of a preset, on the window exactly at the preset's size.
// Label6's width and height must be those of its current text.
MonitorLayout PresetLayout(const MonitorLayout& current, WindowPreset preset);

// The screen fitting: nothing on a screen exactly 640 pixels wide; otherwise
// the window's size follows the screen, every control's edges are multiplied
// by screen width / 640 and rounded, and so are the fonts of the controls
// placed directly on the window (never below one point).
MonitorLayout FitToScreen(const MonitorLayout& layout, ScreenSize screen);

// What fonts are multiplied by on this screen: 1 at 640 pixels wide.
double ScreenFontScale(ScreenSize screen);
int ScaledFontSize(int points, double scale);

// The least client area that holds every control placed on the window: the
// right and bottom edges of the furthest controls, and the gap the layout
// keeps between the pies and the status panel. A window whose outer size
// leaves less (a wide screen scales the controls by its width and the
// window's height by its height; a frame and menu bar taller than the
// design's) is made large enough to hold them with that gap beyond them; one
// that holds them keeps its exact size.
struct ClientExtent {
  int width = 0;
  int height = 0;
  int gap = 0;
  bool operator==(const ClientExtent&) const = default;
};
ClientExtent ControlsExtent(const MonitorLayout& layout);

// Label5 (the drive) and Label6 (the free percentage) on the disk pie, from
// Chart1's place in the window. Label6's size must be that of its new text.
void PlaceDiskLabels(MonitorLayout& layout);

}  // namespace zub
