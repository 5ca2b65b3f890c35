// The directory space window: a directory chooser or the chosen directory's
// files with their sizes, a panel with the total and the count, and a click
// that offers a file to the trash.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "files/DirectoryScan.h"
#include "files/FileGrid.h"
#include "files/ListingFlow.h"
#include "files/LongWork.h"
#include "monitor/DriveSpace.h"
#include "monitor/MonitorSettings.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"
#include "platform/Trash.h"
#include "ui/Font.h"
#include "ui/Prompts.h"

class QAction;
class QMenu;
class QComboBox;
class QLabel;
class QMenuBar;
class QTableView;

namespace zub {

class DirectoryChooser;
class FileGridModel;
class ListingFlow;
class WindowFlowView;

class TFmDir : public QDialog {
  Q_OBJECT

 public:
  // Keeps references to everything; all of it outlives the window. `limits`
  // say when long work is given up on.
  // `mainDriveLetter` gives the main window's chosen drive.
  TFmDir(MonitorSettings& settings, DriveTable& drives, std::function<char()> mainDriveLetter,
         DirectorySource& dirs, Trash& trash, Prompts& prompts, QWidget* parent = nullptr,
         const WorkLimits& limits = {});
  ~TFmDir() override;

  void FormActivate();
  void DriveComboBox1Change();
  void DirectoryListBox1Change();
  void Mb1Click();
  void Kb1Click();
  void Bytes1Click();
  void Directories1Click();
  void Files1Click();
  void Panel1Click();
  void FileName1Click();
  void FileSize1Click();
  void FileExtension1Click();
  void Ascending1Click();
  void Descending1Click();
  void FontFiles1Click();
  void FontDirectories1Click();
  void StringGrid1Click();

  const std::string& ListedDirectory() const;
  const Listing& LastListing() const;
  FileGrid& Grid() { return grid_; }
  QLabel* Panel() const { return Panel1; }
  QTableView* GridView() const { return StringGrid1; }
  DirectoryChooser* Chooser() const { return DirectoryListBox1; }
  QComboBox* DriveChooser() const { return DriveComboBox1; }
  // Called on the interface thread at every tick of running work; lets
  // tests act while it runs.
  std::function<void()> whileBusy;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void List(ListingPanel panel);
  void Run();
  SizeUnit CheckedUnit() const;
  SortKey CheckedKey() const;
  SortDirection CheckedDirection() const;
  void ShowUnit(QAction* entry, SizeUnit unit);
  void SortAs(QAction* entry, SortDirection direction);

  MonitorSettings& settings_;
  DriveTable& drives_;
  std::function<char()> mainDriveLetter_;
  DirectorySource& dirs_;
  Trash& trash_;
  Prompts& prompts_;

  FileGrid grid_{GridKind::DirectorySpace};
  Font dialogFont_;

  QMenuBar* menuBar_ = nullptr;
  QWidget* client_ = nullptr;
  QComboBox* DriveComboBox1 = nullptr;
  QLabel* Panel1 = nullptr;
  DirectoryChooser* DirectoryListBox1 = nullptr;
  QTableView* StringGrid1 = nullptr;
  FileGridModel* model_ = nullptr;
  QLabel* Label1 = nullptr;
  QAction* Mb1 = nullptr;
  QAction* Kb1 = nullptr;
  QAction* Bytes1 = nullptr;
  QAction* Directories1 = nullptr;
  QAction* Files1 = nullptr;
  QAction* FileName1 = nullptr;
  QAction* FileSize1 = nullptr;
  QAction* FileExtension1 = nullptr;
  QAction* Ascending1 = nullptr;
  QAction* Descending1 = nullptr;
  // Last, so gone first: the flow's sort reads the grid above.
  std::unique_ptr<WindowFlowView> view_;
  std::unique_ptr<ListingFlow> flow_;
};

}  // namespace zub
