// The file search window: every file matching a mask below a directory,
// with its full path and size, largest first; five sorts, the trash click,
// and Escape to cancel a running search or sort.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "files/FileSearch.h"
#include "files/LongWork.h"
#include "monitor/MonitorSettings.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"
#include "platform/Trash.h"
#include "ui/Font.h"
#include "ui/Prompts.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTableView;

namespace zub {

class DirectoryChooser;
class FileGridModel;
class SearchFlow;
class WindowFlowView;

class TfmFiles : public QDialog {
  Q_OBJECT

 public:
  // Keeps references to everything; all of it outlives the window. `limits`
  // say when long work is given up on.
  // `mainDriveLetter` gives the main window's chosen drive.
  TfmFiles(MonitorSettings& settings, DriveTable& drives, std::function<char()> mainDriveLetter,
           DirectorySource& dirs, Trash& trash, Prompts& prompts, QWidget* parent = nullptr,
           const WorkLimits& limits = {});
  ~TfmFiles() override;

  void DriveComboBox1Change();
  void DirectoryListBox1Change();
  void Button1Click();  // "Begin Search"
  void FilePathName1Click();
  void FileSize1Click();
  void FileName1Click();
  void FileExtension1Click();
  void FilePath1Click();
  void Ascending1Click();
  void Descending1Click();
  void Font1Click();
  void StringGrid1Click();

  FileGrid& Grid() { return rows_.grid; }
  std::int64_t Total() const { return rows_.total; }
  bool SearchBusy() const;
  bool CancelRequested() const;
  QLabel* Panel() const { return Panel1; }
  QTableView* GridView() const { return StringGrid1; }
  QLineEdit* MaskBox() const { return Edit1; }
  DirectoryChooser* Chooser() const { return DirectoryListBox1; }
  // Called on the interface thread at every tick of a running search or
  // sort; lets tests act while one runs.
  std::function<void()> whileBusy;
  // The longest the interface went without its events during the last search or sort.
  int LongestGapMs() const { return longestGapMs_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void SortBy(SortKey key);
  void SortAs(SortDirection order);
  void Run();
  void ShowChecks();

  MonitorSettings& settings_;
  DriveTable& drives_;
  std::function<char()> mainDriveLetter_;
  DirectorySource& dirs_;
  Trash& trash_;
  Prompts& prompts_;

  SearchRows rows_;
  SortMenus menus_;
  Font dialogFont_;
  int longestGapMs_ = 0;

  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  QLabel* Panel1 = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* DriveComboBox1 = nullptr;
  DirectoryChooser* DirectoryListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;
  QTableView* StringGrid1 = nullptr;
  FileGridModel* model_ = nullptr;
  QAction* FilePathName1 = nullptr;
  QAction* FileSize1 = nullptr;
  QAction* FileName1 = nullptr;
  QAction* FileExtension1 = nullptr;
  QAction* FilePath1 = nullptr;
  QAction* Ascending1 = nullptr;
  QAction* Descending1 = nullptr;
  // Last, so gone first: the flow's sort reads the rows above.
  std::unique_ptr<WindowFlowView> view_;
  std::unique_ptr<SearchFlow> flow_;
};

}  // namespace zub
