// The chart control of the main window's two pies: one series of slices, no
// title, legend, axes or marks; a hint on hover (also its accessible
// description) and a click signal.
#pragma once

#include <string>
#include <vector>

#include "ui/ClickableWidget.h"

#include "monitor/PieSlices.h"

class QPaintEvent;

namespace zub {

class PieChartView : public ClickableWidget {
  Q_OBJECT

 public:
  explicit PieChartView(QWidget* parent = nullptr);

  // The series: each change redraws the chart. Clearing also ends ShowEmpty.
  void ClearSlices();
  void AddSlice(double value, const std::string& label, ColorRef color);
  const std::vector<PieSlice>& Slices() const { return slices_; }
  // For a figure whose total is 0: no slices, an outlined disc with nothing
  // in it, until the next ClearSlices or AddSlice.
  void ShowEmpty();
  bool ShowsEmpty() const { return empty_; }

  // The disc's box: the control inset by four pixels on every side.
  Rect DiscBox() const;
  // Draws the pie as paintEvent does.
  void Draw(Canvas& canvas) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<PieSlice> slices_;
  bool empty_ = false;
};

}  // namespace zub
