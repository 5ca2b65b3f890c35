// The file information window: nine version texts of one file, read each
// time the window becomes active.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "inspect/Version.h"

class QFrame;
class QLabel;
class QPushButton;

namespace zub {

class TFileInfo : public QDialog {
  Q_OBJECT

 public:
  // Reads `ownPath`, the program's own executable, at once. The sources
  // outlive the window.
  TFileInfo(VersionSources sources, const std::string& ownPath, QWidget* parent = nullptr);

  // The path of the file to show, set before the window is shown.
  std::string InfoFileName;

  void FormActivate();
  void Button1Click();

  TVersionResource& VersionResource1() { return versionResource1_; }
  // Company, Description, OS, Filetype, FileVersion, InternalName,
  // Copyright, ProductName, ProductVersion, in that order.
  QLabel* ValueLabel(int index) const { return values_.at(index); }
  QFrame* Panel1() const { return panel1_; }
  QPushButton* Button1() const { return button1_; }

 private:
  // Widens the panel and the window so that no value loses a character,
  // as far as the screen allows.
  void FitValues();

  TVersionResource versionResource1_;
  QFrame* panel1_ = nullptr;
  QPushButton* button1_ = nullptr;
  std::array<QLabel*, 9> values_{};
};

}  // namespace zub
