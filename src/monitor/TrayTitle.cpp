#include "monitor/TrayTitle.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

#include "monitor/PieSlices.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

QIcon PieIcon(int freePercent, ColorRef freeColor, ColorRef usedColor) {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    DrawPieSlices(canvas, Rect{0, 0, 32, 32},
                  {{static_cast<double>(freePercent), "Free", freeColor},
                   {static_cast<double>(100 - freePercent), "Used", usedColor}});
  }
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

TrayTitle::TrayTitle(QWidget* window) : QObject(window), window_(window) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    return;
  }
  tray_ = new QSystemTrayIcon(this);
  connect(tray_, &QSystemTrayIcon::activated, this, [this] {
    // While a modal window runs, the main window stays hidden behind it.
    if (QApplication::activeModalWidget() != nullptr) {
      QApplication::activeModalWidget()->raise();
      return;
    }
    if (window_ != nullptr) {
      window_->showNormal();
      window_->raise();
      window_->activateWindow();
    }
  });
}

void TrayTitle::ShowTitle(const std::string& title) {
  const QString text = QString::fromStdString(title);
  if (window_ != nullptr) {
    window_->setWindowIconText(text);
  }
  if (tray_ != nullptr) {
    tray_->setToolTip(text);
  }
}

void TrayTitle::ShowFreePercent(int freePercent, ColorRef freeColor, ColorRef usedColor) {
  if (tray_ == nullptr) {
    return;
  }
  tray_->setIcon(PieIcon(freePercent, freeColor, usedColor));
  tray_->show();
}

}  // namespace zub
