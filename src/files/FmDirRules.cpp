#include "files/FmDirRules.h"

#include "monitor/MonitorWindowRules.h"
#include "monitor/NumberText.h"

namespace zub {

char DriveHolding(const std::vector<DriveInfo>& drives, const std::string& path) {
  char letter = 0;
  std::size_t best = 0;
  for (const DriveInfo& drive : drives) {
    const std::string& mount = drive.mountPoint;
    const bool inside = path.compare(0, mount.size(), mount) == 0 &&
                        (path.size() == mount.size() || mount == "/" || path[mount.size()] == '/');
    if (inside && mount.size() >= best) {
      best = mount.size();
      letter = drive.letter;
    }
  }
  return letter;
}

std::string ActivationPanelText(const Listing& listing) {
  return std::to_string(MbFigure(listing.total)) + " Mb " + std::to_string(listing.count) +
         " Files";
}

std::optional<std::string> ActivationPanel(const Listing& listing, char letter) {
  return listing.directory.empty() ? DriveNotReadyMessage(letter) : ActivationPanelText(listing);
}

std::string DirectoryPanelText(SizeUnit unit, const Listing& listing) {
  switch (unit) {
    case SizeUnit::Kb:
      return std::to_string(KbFigure(listing.total)) + " Kb " + std::to_string(listing.count) +
             " Files";
    case SizeUnit::Bytes:
      return std::to_string(listing.total) + " Bytes";
    case SizeUnit::Mb:
      break;
  }
  return ActivationPanelText(listing);
}

std::optional<std::string> UnitPanelText(SizeUnit unit, std::int64_t total) {
  if (total <= 0) {
    return std::nullopt;
  }
  switch (unit) {
    case SizeUnit::Kb:
      return std::to_string(KbFigure(total)) + " Kb";
    case SizeUnit::Bytes:
      return std::to_string(total) + " bytes";
    case SizeUnit::Mb:
      break;
  }
  return std::to_string(MbFigure(total)) + " Mb";
}

FmDirGeometry FmDirResize(int windowWidth, int windowHeight, int clientHeight) {
  FmDirGeometry g;
  g.gridWidth = windowWidth - 40;
  g.column0Width = static_cast<int>(RoundHalfEven(g.gridWidth * 0.5));
  g.column1Width = static_cast<int>(RoundHalfEven(g.gridWidth * 0.4));
  g.noteTop = windowHeight - 62;
  g.gridHeight = clientHeight - 80;
  return g;
}

}  // namespace zub
