// The file search window: every file matching a mask below a directory,
// with its full path and size, largest first; five sorts, the trash click,
// and Escape to cancel a running search or sort.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "files/FileSearch.h"
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

class TfmFiles : public QDialog {
  Q_OBJECT

 public:
  // Keeps references to everything; all of it outlives the window.
  // `mainDriveLetter` gives the main window's chosen drive.
  TfmFiles(MonitorSettings& settings, DriveTable& drives, std::function<char()> mainDriveLetter,
           DirectorySource& dirs, Trash& trash, Prompts& prompts, QWidget* parent = nullptr);
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
  bool SearchBusy() const { return flags_->searchBusy; }
  bool CancelRequested() const { return flags_->cancelRequested; }
  QLabel* Panel() const { return Panel1; }
  QTableView* GridView() const { return StringGrid1; }
  QLineEdit* MaskBox() const { return Edit1; }
  DirectoryChooser* Chooser() const { return DirectoryListBox1; }
  // Called on the interface thread every time the window waits for its
  // worker; lets tests act while a search runs.
  std::function<void()> whileBusy;
  // The longest the interface went without its events during the last search.
  int LongestGapMs() const { return longestGapMs_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QAction* AddEntry(QMenu* menu, const char* name, const QString& text, void (TfmFiles::*handler)(),
                    bool checkable);
  void MoveToDrive(char letter, bool notify);
  void SortBy(SortKey key);
  void SortAs(SortDirection order);
  // The sort on the worker, then the grid back in the window.
  SearchEnd SortOnWorker(SortKey key, SortDirection order);
  void ShowChecks();
  void Escape();
  void KeepCurrentCell();

  MonitorSettings& settings_;
  DriveTable& drives_;
  std::function<char()> mainDriveLetter_;
  DirectorySource& dirs_;
  Trash& trash_;
  Prompts& prompts_;

  SearchRows rows_;
  // Shared with the worker, which may outlive a wait that gave up on it.
  std::shared_ptr<SearchFlags> flags_ = std::make_shared<SearchFlags>();
  SortMenus menus_;
  Font dialogFont_;
  bool closeAsked_ = false;
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
};

}  // namespace zub
