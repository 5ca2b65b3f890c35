// The All Disks window: one pie per drive from C: to Z:, the totals in the
// title bar, and a menu for the pie colours and text font.
#pragma once

#include <QDialog>
#include <array>

#include "monitor/DriveSpace.h"
#include "monitor/MonitorSettings.h"
#include "platform/DiskSpace.h"
#include "platform/DriveTable.h"
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Prompts.h"

class QAction;
class QMenuBar;

namespace zub {

class PieGrafWidget;

class TfmAlldisk : public QDialog {
  Q_OBJECT

 public:
  // Keeps references to all four: they outlive the window.
  TfmAlldisk(MonitorSettings& settings, DriveTable& drives, DiskSpace& disk, Prompts& prompts,
             QWidget* parent = nullptr);

  // Each time the window becomes active: fills and lays out the pies.
  void FormActivate();
  void FreeSpace1Click();
  void UsedSpace1Click();
  void TextFont1Click();

  // PieGraf1 ... PieGraf24.
  PieGrafWidget* PieGraf(int number) const;
  // The outer (frame-inclusive) height the last activation gave the window.
  int OuterHeight() const { return outerHeight_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ApplyOuterHeight(int outerHeight);

  MonitorSettings& settings_;
  DriveTable& drives_;
  DiskSpace& disk_;
  Prompts& prompts_;
  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  std::array<PieGrafWidget*, 24> pies_{};
  // Both dialogs reopen on what was last chosen in them.
  ColorRef dialogColor_ = kBlack;
  Font dialogFont_;
  int outerHeight_ = 0;
};

}  // namespace zub
