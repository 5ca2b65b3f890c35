// The running windows window: the machine's physical memory and the number
// of windows in a figures panel, a heading panel, and the titles of the
// desktop's top-level windows, topmost first.
#pragma once

#include <QAbstractButton>
#include <QWidget>

#include "inspect/WindowsListUnit.h"
#include "inspect/sysinfo.h"
#include "ui/Font.h"
#include "ui/Prompts.h"

class QListWidget;

namespace zub {

// A black panel with a centred caption and bevelled edges. Pressing it (a
// click, or Space or Enter when it has the focus) is a click.
class BevelPanel : public QAbstractButton {
  Q_OBJECT

 public:
  enum class Bevel { None, Raised, Lowered };

  BevelPanel(Bevel outer, Bevel inner, int bevelWidth, QWidget* parent);

  // The width the caption needs inside the bevels, so that none of it is cut.
  int CaptionWidth() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Bevel outer_;
  Bevel inner_;
  int bevelWidth_;
};

class TfmMem : public QWidget {
  Q_OBJECT

 public:
  // The system texts are gathered here, once, for the life of the window.
  // Keeps references to the window source and the prompts: they outlive it.
  TfmMem(SettingsFile& machine, SystemFactsSource& facts, const DriveQueries& drives,
         WindowSource& windows, Prompts& prompts, QWidget* parent = nullptr);

  // Each time the window becomes active: the list and the figures anew.
  void FormActivate();
  void FormResize();
  void Panel1Click();
  void Panel2Click();
  void ListBox1Click();

  const TSysInfo& SysInfo1() const { return sysInfo_; }
  const TWindowsList& WindowsList1() const { return windowsList_; }
  BevelPanel* Panel1() const { return panel1_; }
  BevelPanel* Panel2() const { return panel2_; }
  QListWidget* ListBox1() const { return listBox1_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Keeps the panels wide enough for their captions.
  void UpdateMinimumSize();
  int FrameWidth() const { return frameGeometry().width() - geometry().width(); }

  TSysInfo sysInfo_;
  TWindowsList windowsList_;
  Prompts& prompts_;
  BevelPanel* panel1_ = nullptr;
  BevelPanel* panel2_ = nullptr;
  QListWidget* listBox1_ = nullptr;
  Font dialogFont_;  // the font dialog reopens on what was chosen last
};

}  // namespace zub
