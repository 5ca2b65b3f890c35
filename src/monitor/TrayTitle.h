// The application title on the desktop: the main window's icon text and,
// where the desktop has a tray, a tray icon with the title as its tooltip
// and a small pie of the free memory as its picture.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

#include "ui/Color.h"

class QSystemTrayIcon;
class QWidget;

namespace zub {

class TrayTitle : public QObject {
 public:
  // A click on the tray icon brings `window` forward, or the modal window
  // that stands in front of it.
  explicit TrayTitle(QWidget* window);

  bool HasTray() const { return tray_ != nullptr; }
  void ShowTitle(const std::string& title);
  void ShowFreePercent(int freePercent, ColorRef freeColor, ColorRef usedColor);

 private:
  QPointer<QWidget> window_;
  QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace zub
