// What the memory pie can show, how each view is measured, and the summary
// line the timer puts into the application title.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/MemorySource.h"
#include "platform/ResourceSource.h"

namespace zub {

enum class MemoryView { Total, Virtual, Real, PageFile, Gdi, System, User };

constexpr std::array<MemoryView, 7> kAllMemoryViews = {
    MemoryView::Total, MemoryView::Virtual, MemoryView::Real, MemoryView::PageFile,
    MemoryView::Gdi,   MemoryView::System,  MemoryView::User};

// The menu caption of a view: "Total", "Virtual", "Real", "Page File", ...
std::string MemoryViewCaption(MemoryView view);

// The memory figures cannot be read.
class MemoryStatusError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct MemoryMeasurement {
  int freePercent = 0;  // the Free slice; Used is 100 - freePercent
  // The view has nothing in it (a machine without swap): its pie is shown
  // empty rather than as 0 % free, which reads as all used.
  bool empty = false;
  std::string text;
  int panelFontSize = 12;
  std::optional<std::string> applicationTitle;  // Total only
};

class MemoryMeter {
 public:
  MemoryMeter(MemorySource& memory, ResourceSource& resources)
      : memory_(&memory), resources_(&resources) {}

  // Reads the platform afresh. Throws MemoryStatusError or ResourceError.
  MemoryMeasurement Measure(MemoryView view) const;
  // "31% 80% 84% 80% Total System GDI User".
  std::string TitleSummary() const;

 private:
  MemoryStatus ReadStatus() const;

  MemorySource* memory_;
  ResourceSource* resources_;
};

}  // namespace zub
