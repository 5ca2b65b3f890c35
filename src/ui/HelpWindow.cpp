#include "ui/HelpWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace zub {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("HelpWindow");
  setWindowTitle("Zub 97 Help");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("HelpBrowser");
  browser_->setAccessibleName("Manual");
  layout->addWidget(browser_);
}

void HelpWindow::ShowTopic(const QString& path) {
  browser_->setSource(QUrl::fromLocalFile(path));
  // 560 x 480 where it fits; on a 640 x 480 screen the frame and a panel
  // would push the bottom off it, so take the free area less the frame.
  QSize size(560, 480);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect free = screen->availableGeometry();
    const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(8, 32);
    size = size.boundedTo(free.size() - frame);
  }
  resize(size);
  show();
  raise();
  activateWindow();
}

}  // namespace zub
