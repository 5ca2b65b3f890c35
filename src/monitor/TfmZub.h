// The main window: the disk and memory pies, the status panel, the colour
// swatches, the menus that open every other window, and the timer that keeps
// the application title current.
#pragma once

#include <QMainWindow>
#include <QSize>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/OnlyOne.h"
#include "game/CrapsGame.h"
#include "monitor/DriveSpace.h"
#include "monitor/MemoryViews.h"
#include "monitor/MonitorServices.h"
#include "monitor/MonitorSettings.h"
#include "monitor/Presets.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QContextMenuEvent;
class QDialog;
class QLabel;
class QMenu;
class QResizeEvent;
class QShowEvent;
class QSystemTrayIcon;
class QTimer;

namespace zub {

class PieChartView;
class TShape1;
class TfmAlldisk;

class TfmZub : public QMainWindow {
  Q_OBJECT

 public:
  // The services must outlive the window. The single-copy check runs first;
  // when it finds another copy, the application is asked to terminate and
  // the caller should not show the window.
  explicit TfmZub(const MonitorServices& services, QWidget* parent = nullptr);
  ~TfmZub() override;

  // Handlers, one per event. They raise what the logic raises; the events
  // that call them show the text of a failure in a message box.
  void FormCreate();
  void FormActivate();
  void FormResize();
  void FormClose();
  void DriveComboBox1Change();
  void Timer1Timer();
  void Megabytes1Click();
  void Kilobytes1Click();
  void Bytes1Click();
  void Total1Click();
  void Virtual1Click();
  void Real1Click();
  void PageFile1Click();
  void GDI1Click();
  void System1Click();
  void User1Click();
  void Small1Click();
  void Medium1Click();
  void Large1Click();
  void Label1Click();
  void Label2Click();
  void Label3Click();
  void Label4Click();
  void AllDisks1Click();
  void Craps1Click();
  void ResetSettings1Click();
  void Help1Click();

  // From now on a failure of the close's save goes to `sink` instead of a
  // message box: a close nobody watches (a logout) must not wait for a click.
  void ReportCloseErrorsTo(std::function<void(const std::string& text)> sink);

  // Read and changed by the other windows.
  MonitorSettings& Settings() { return settings_; }
  // The drive list's letter, upper case.
  char SelectedDriveLetter() const;

  const MonitorLayout& Layout() const { return layout_; }
  std::optional<SizeUnit> CurrentUnit() const { return unit_; }
  int LastDiskPercent() const { return lastDiskPercent_; }
  int LastMemoryPercent() const { return lastMemoryPercent_; }
  // The status panel's font size as last set, in points before any screen scaling.
  int PanelFontSize() const { return panelFontSize_; }
  bool SettingsCleared() const { return settingsCleared_; }
  const OpenedWindows& Opened() const { return opened_; }

  // Controls, under the names the rest of the program knows them by.
  QComboBox* DriveComboBox1 = nullptr;
  PieChartView* Chart1 = nullptr;
  PieChartView* Chart2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;  // on Chart1
  QLabel* Label6 = nullptr;  // on Chart1
  TShape1* Shape11 = nullptr;
  TShape1* Shape12 = nullptr;
  TShape1* Shape13 = nullptr;
  TShape1* Shape14 = nullptr;
  QLabel* Panel1 = nullptr;
  QTimer* Timer1 = nullptr;
  QMenu* Disk1 = nullptr;
  QMenu* Memory1 = nullptr;
  QMenu* Options1 = nullptr;
  QAction* Help1 = nullptr;
  QMenu* PopupMenu1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  using Handler = void (TfmZub::*)();

  // Runs a handler as an event does: a failure's text goes to a message box.
  void Run(Handler handler);
  void BuildControls();
  void BuildMenus();
  QAction* AddEntry(QMenu* menu, const char* text, Handler handler);

  ScreenSize Screen() const;
  void ApplyLayout();
  void ApplyDiskLabels();
  void SetWindowSize(int outerWidth, int outerHeight);
  void FitFrame();
  void FitWindowToScreen();
  void ApplyPreset(WindowPreset preset);

  void SelectUnit(SizeUnit unit);
  void SelectMemoryView(MemoryView view);
  void CheckUnit(SizeUnit unit);
  void CheckView(MemoryView view);
  void SyncChecks();

  void SetPanelText(const std::string& text);
  void SetPanelFontSize(int points);
  void SetLabelText(QLabel* label, const std::string& text);
  void UpdateDiskPie();
  void UpdateMemoryPie();
  void ChooseSliceColor(int slice);

  void ShowModalHidingMain(QDialog* window);
  void ShowApplicationTitle(const std::string& title);
  void UpdateTrayIcon(int freePercent);

  MonitorServices services_;
  DriveQueries drives_;
  MemoryMeter meter_;
  TOnlyOne OnlyOne1;
  MonitorSettings settings_;
  OpenedWindows opened_;
  bool settingsCleared_ = false;
  std::function<void(const std::string&)> closeErrors_;
  CrapsGame game_;

  MonitorLayout layout_;
  double fontScale_ = 1.0;
  QSize handledSize_;
  QSize knownFrame_{0, 0};
  std::optional<SizeUnit> unit_;
  SizeUnit checkedUnit_ = SizeUnit::Mb;
  MemoryView checkedView_ = MemoryView::Total;
  int lastDiskPercent_ = 0;
  int lastMemoryPercent_ = 0;
  int panelFontSize_ = 12;
  // One colour dialog for all four slices: it reopens on its last answer.
  ColorRef colorDialogColor_ = kBlack;

  std::array<QAction*, 3> unitEntries_{};
  std::array<QAction*, 7> viewEntries_{};
  QAction* directorySearch1_ = nullptr;
  QAction* whatsRunning1_ = nullptr;
  TfmAlldisk* allDisks_ = nullptr;
  QDialog* help_ = nullptr;
  QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace zub
