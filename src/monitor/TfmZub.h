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
#include "monitor/MonitorServices.h"
#include "monitor/MonitorState.h"
#include "monitor/Presets.h"
#include "monitor/ToolWindows.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QContextMenuEvent;
class QLabel;
class QMenu;
class QResizeEvent;
class QShowEvent;
class QTimer;

namespace zub {

class HelpWindow;
class PieChartView;
class TShape1;
class TrayTitle;

class TfmZub : public QMainWindow {
  Q_OBJECT

 public:
  // The services and the other windows must outlive the window. The
  // single-copy check runs first; when it finds another copy, the
  // application is asked to terminate and the caller should not show the window.
  TfmZub(const MonitorServices& services, ToolWindows& tools, QWidget* parent = nullptr);
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
  void DirectorySearch1Click();
  void DirectoryTree1Click();
  void FileSearch1Click();
  void MemoryMap1Click();
  void Chart2Click();
  void Craps1Click();
  void ResetSettings1Click();
  void Help1Click();

  // From now on a failure of the close's save goes to `sink` instead of a
  // message box: a close nobody watches (a logout) must not wait for a click.
  void ReportCloseErrorsTo(std::function<void(const std::string& text)> sink);

  // Read and changed by the other windows.
  MonitorSettings& Settings() { return state_.Settings(); }
  // The drive list's letter, upper case.
  char SelectedDriveLetter() const;

  const MonitorLayout& Layout() const { return layout_; }
  const MonitorState& State() const { return state_; }
  std::optional<SizeUnit> CurrentUnit() const { return state_.CurrentUnit(); }
  int LastDiskPercent() const { return state_.LastDiskPercent(); }
  int LastMemoryPercent() const { return state_.LastMemoryPercent(); }
  // The status panel's font size as last set, in points before any screen scaling.
  int PanelFontSize() const { return state_.View().panelFontSize; }
  bool SettingsCleared() const { return state_.SettingsCleared(); }
  OpenedWindows Opened() const { return tools_.Opened(); }

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
  QAction* AddToolEntry(QMenu* menu, const char* text, Tool tool, Handler handler);
  // Shows what the state says the window shows.
  void Render();

  ScreenSize Screen() const;
  void ApplyLayout();
  void ApplyDiskLabels();
  QSize HoldingInner(QSize inner) const;
  void SetWindowSize(int outerWidth, int outerHeight);
  void FitFrame();
  void FitWindowToScreen();
  void ApplyPreset(WindowPreset preset);

  void OpenTool(Tool tool);
  void ShowPie(PieChartView* chart, const PieView& pie);
  void UpdateTray(int freePercent);

  MonitorServices services_;
  ToolWindows& tools_;
  TOnlyOne OnlyOne1;
  MonitorState state_;
  std::function<void(const std::string&)> closeErrors_;

  MonitorLayout layout_;
  double fontScale_ = 1.0;
  QSize handledSize_;
  QSize knownFrame_{0, 0};
  int placedLabels_ = 0;

  std::array<QAction*, 3> unitEntries_{};
  std::array<QAction*, 7> viewEntries_{};
  QAction* directorySearch1_ = nullptr;
  QAction* whatsRunning1_ = nullptr;
  HelpWindow* help_ = nullptr;
  TrayTitle* tray_ = nullptr;
};

}  // namespace zub
