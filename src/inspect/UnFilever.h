// The file information window: nine version texts of one file, read each
// time the window becomes active.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <optional>
#include <string>

#include "inspect/Version.h"

class QFrame;
class QLabel;
class QPushButton;

namespace zub {

class TFileInfo : public QDialog {
  Q_OBJECT

 public:
  // The sources outlive the window. Nothing is read until a file is to be
  // shown (or VersionResource1 is asked for): the window is made at start-up,
  // which must read nothing the main window does not show.
  TFileInfo(VersionSources sources, std::string ownPath, QWidget* parent = nullptr);

  // The path of the file to show, set before the window is shown.
  std::string InfoFileName;

  void FormActivate();
  void Button1Click();

  // Made, reading the program's own file, when first asked for.
  TVersionResource& VersionResource1();
  // Company, Description, OS, Filetype, FileVersion, InternalName,
  // Copyright, ProductName, ProductVersion, in that order.
  QLabel* ValueLabel(int index) const { return values_.at(index); }
  QFrame* Panel1() const { return panel1_; }
  QPushButton* Button1() const { return button1_; }

 private:
  // Widens the panel and the window so that no value loses a character,
  // as far as the screen allows.
  void FitValues();

  VersionSources sources_;
  std::string ownPath_;
  std::optional<TVersionResource> versionResource1_;
  QFrame* panel1_ = nullptr;
  QPushButton* button1_ = nullptr;
  std::array<QLabel*, 9> values_{};
  std::array<QString, 9> texts_;  // whole, as read; a label may show less
};

}  // namespace zub
