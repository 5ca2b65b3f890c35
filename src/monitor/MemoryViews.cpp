#include "monitor/MemoryViews.h"

#include <cstdint>

#include "monitor/DriveSpace.h"
#include "monitor/FreeRes.h"
#include "monitor/NumberText.h"

namespace zub {
namespace {

// Free share in whole per cent; a view with nothing in it shows 0 rather
// than dividing by zero.
int FreePercent(std::int64_t available, std::int64_t total) {
  if (total <= 0) {
    return 0;
  }
  const auto p = RoundHalfEven(static_cast<double>(available) / static_cast<double>(total) * 100.0);
  return static_cast<int>(p < 0 ? 0 : (p > 100 ? 100 : p));
}

// Figures are whole numbers truncated toward zero: cutting the text to a few
// characters dropped significant digits once memory outgrew five digits.
std::string Whole(std::int64_t bytes, double unit) {
  return std::to_string(static_cast<std::int64_t>(static_cast<double>(bytes) / unit));
}

MemoryMeasurement SizeView(std::int64_t total, std::int64_t available, double unit,
                           const char* suffix) {
  if (total <= 0) {
    total = 0;
    available = 0;
  }
  MemoryMeasurement m;
  m.freePercent = FreePercent(available, total);
  m.empty = total == 0;
  m.text = Whole(total - available, unit) + "/" + Whole(available, unit) + "/" +
           Whole(total, unit) + suffix;
  m.panelFontSize = 11;
  return m;
}

MemoryMeasurement ResourceView(ResourceSource& source, int index, const char* name) {
  MemoryMeasurement m;
  m.freePercent = QueryFreeResources(source, index);
  m.text = std::string("Free ") + name + " Resources " + std::to_string(m.freePercent) + "%";
  m.panelFontSize = 12;
  return m;
}

}  // namespace

std::string MemoryViewCaption(MemoryView view) {
  switch (view) {
    case MemoryView::Total:
      return "Total";
    case MemoryView::Virtual:
      return "Virtual";
    case MemoryView::Real:
      return "Real";
    case MemoryView::PageFile:
      return "Page File";
    case MemoryView::Gdi:
      return "GDI";
    case MemoryView::System:
      return "System";
    case MemoryView::User:
      return "User";
  }
  return {};
}

MemoryStatus MemoryMeter::ReadStatus() const {
  const auto status = memory_->Read();
  if (!status) {
    throw MemoryStatusError("Cannot read the memory status");
  }
  return *status;
}

MemoryMeasurement MemoryMeter::Measure(MemoryView view) const {
  switch (view) {
    case MemoryView::Total: {
      const MemoryStatus s = ReadStatus();
      const int load = s.memoryLoad < 0 ? 0 : (s.memoryLoad > 100 ? 100 : s.memoryLoad);
      MemoryMeasurement m;
      m.freePercent = 100 - load;
      m.text = "Free Total Memory is " + std::to_string(m.freePercent) + " %";
      m.panelFontSize = 12;
      m.applicationTitle = "Free Memory " + std::to_string(m.freePercent) + " %";
      return m;
    }
    case MemoryView::Virtual: {
      const MemoryStatus s = ReadStatus();
      return SizeView(s.totalVirtual, s.availVirtual, kBytesPerMb, "Mb Used/free/total");
    }
    case MemoryView::Real: {
      const MemoryStatus s = ReadStatus();
      return SizeView(s.totalPhys, s.availPhys, kBytesPerKb, "Kb Used/free/total");
    }
    case MemoryView::PageFile: {
      const MemoryStatus s = ReadStatus();
      return SizeView(s.totalPageFile, s.availPageFile, kBytesPerMb, "Mb Used/free/total");
    }
    case MemoryView::Gdi:
      return ResourceView(*resources_, 1, "GDI");
    case MemoryView::System:
      return ResourceView(*resources_, 0, "System");
    case MemoryView::User:
      return ResourceView(*resources_, 2, "User");
  }
  return {};
}

std::string MemoryMeter::TitleSummary() const {
  const MemoryStatus s = ReadStatus();
  const int system = QueryFreeResources(*resources_, 0);
  const int gdi = QueryFreeResources(*resources_, 1);
  const int user = QueryFreeResources(*resources_, 2);
  return std::to_string(s.memoryLoad) + "% " + std::to_string(system) + "% " + std::to_string(gdi) +
         "% " + std::to_string(user) + "% Total System GDI User";
}

}  // namespace zub
