#include "diskview/TfmAlldisk.h"

#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "diskview/AllDisks.h"
#include "diskview/PieGrafWidget.h"
#include "monitor/EventDrives.h"
#include "ui/Activation.h"
#include "ui/MenuKeys.h"
#include "ui/QtCanvas.h"

namespace zub {

TfmAlldisk::TfmAlldisk(MonitorSettings& settings, DriveTable& drives, DiskSpace& disk,
                       Prompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), drives_(drives), disk_(disk), prompts_(prompts) {
  setObjectName("fmAlldisk");
  setWindowTitle("Zub All Disk");
  setFont(ToQFont(Font{"MS Sans Serif", 8}));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  menuBar_->setAccessibleName("Menu bar");
  layout->setMenuBar(menuBar_);
  client_ = new QWidget(this);
  client_->setAccessibleName("Drives");
  layout->addWidget(client_);

  QMenu* color = menuBar_->addMenu("&Color");
  connect(color->addAction("&Free Space"), &QAction::triggered, this, &TfmAlldisk::FreeSpace1Click);
  connect(color->addAction("&Used Space"), &QAction::triggered, this, &TfmAlldisk::UsedSpace1Click);
  connect(color->addAction("&Text Font"), &QAction::triggered, this, &TfmAlldisk::TextFont1Click);
  InstallMenuKeys(this, menuBar_);

  for (int number = 1; number <= kAllDisksPieCount; ++number) {
    auto* pie = new PieGrafWidget(client_);
    pie->setObjectName(QString("PieGraf%1").arg(number));
    const PiePlace place = AllDisksPiePlace(number);
    pie->setGeometry(place.left, place.top, kAllDisksPieSize, kAllDisksPieSize);
    pies_[number - 1] = pie;
  }
  // The pies are made in drive order, and Tab follows the order of making:
  // the keyboard walks the drives as the pies are given out.

  ApplyOuterHeight(kAllDisksDesignHeight);
  WatchActivation(this, [this] { FormActivate(); });
}

PieGrafWidget* TfmAlldisk::PieGraf(int number) const {
  return pies_.at(number - 1);
}

void TfmAlldisk::FormActivate() {
  const EventDrives drives(drives_, disk_);
  const AllDisksView view = BuildAllDisks(drives.Queries());
  auto drive = view.pies.begin();
  for (PieGrafWidget* pie : pies_) {
    pie->Graf().SetMainColor(static_cast<ColorRef>(settings_.AllColor));
    pie->Graf().SetSliceColor(static_cast<ColorRef>(settings_.AllSlice));
    pie->hide();
    if (drive == view.pies.end()) {
      continue;
    }
    pie->Graf().SetPercent(drive->percent);
    pie->setToolTip(QString::fromStdString(drive->hint));
    pie->show();
    pie->Graf().SetCaption(drive->caption);
    ++drive;
  }
  ApplyOuterHeight(view.outerHeight);
  setWindowTitle(QString::fromStdString(view.caption));
}

void TfmAlldisk::FreeSpace1Click() {
  const auto chosen = prompts_.ChooseColor(dialogColor_);
  if (!chosen) {
    return;
  }
  dialogColor_ = *chosen;
  for (PieGrafWidget* pie : pies_) {
    pie->Graf().SetMainColor(*chosen);
  }
  settings_.AllColor = static_cast<std::int32_t>(*chosen);
}

void TfmAlldisk::UsedSpace1Click() {
  const auto chosen = prompts_.ChooseColor(dialogColor_);
  if (!chosen) {
    return;
  }
  dialogColor_ = *chosen;
  for (PieGrafWidget* pie : pies_) {
    pie->Graf().SetSliceColor(*chosen);
  }
  settings_.AllSlice = static_cast<std::int32_t>(*chosen);
}

void TfmAlldisk::TextFont1Click() {
  // The font lasts as long as the window object; it is stored nowhere.
  const auto chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  for (PieGrafWidget* pie : pies_) {
    pie->Graf().SetFont(*chosen);
  }
}

// The rules give the frame-inclusive size; Qt sizes the inside, so take off
// whatever frame the window manager has put round it.
void TfmAlldisk::ApplyOuterHeight(int outerHeight) {
  outerHeight_ = outerHeight;
  const int frameWidth = frameGeometry().width() - geometry().width();
  const int frameHeight = frameGeometry().height() - geometry().height();
  resize(kAllDisksWidth - frameWidth, outerHeight - frameHeight);
}

void TfmAlldisk::showEvent(QShowEvent* event) {
  if (const QScreen* shown = screen(); shown != nullptr && !event->spontaneous()) {
    const QRect area = shown->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
  QDialog::showEvent(event);
}

}  // namespace zub
