// The directory space window: a directory chooser or the chosen directory's
// files with their sizes, a panel with the total and the count, and a click
// that offers a file to the trash.
#pragma once

#include <QDialog>
#include <functional>

#include "files/DirectoryScan.h"
#include "files/FileGrid.h"
#include "monitor/DriveSpace.h"
#include "monitor/MonitorSettings.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"
#include "platform/Trash.h"
#include "ui/Font.h"
#include "ui/Prompts.h"

class QAction;
class QComboBox;
class QLabel;
class QMenuBar;
class QTableView;

namespace zub {

class DirectoryChooser;
class FileGridModel;

class TFmDir : public QDialog {
  Q_OBJECT

 public:
  // Keeps references to everything; all of it outlives the window.
  // `mainDriveLetter` gives the main window's chosen drive.
  TFmDir(MonitorSettings& settings, DriveTable& drives, std::function<char()> mainDriveLetter,
         DirectorySource& dirs, Trash& trash, Prompts& prompts, QWidget* parent = nullptr);
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

  const std::string& ListedDirectory() const { return listing_.directory; }
  const Listing& LastListing() const { return listing_; }
  FileGrid& Grid() { return grid_; }
  QLabel* Panel() const { return Panel1; }
  QTableView* GridView() const { return StringGrid1; }
  DirectoryChooser* Chooser() const { return DirectoryListBox1; }
  QComboBox* DriveChooser() const { return DriveComboBox1; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* AddCheck(QMenu* menu, const char* name, const QString& text, void (TFmDir::*handler)());
  QAction* AddCommand(QMenu* menu, const char* name, const QString& text,
                      void (TFmDir::*handler)());
  void List();
  void KeepCurrentCell();
  SizeUnit CheckedUnit() const;
  SortKey CheckedKey() const;
  SortDirection CheckedDirection() const;
  void SetPanel(const std::string& text, int pointSize);
  void MoveToDrive(char letter, bool notify);
  char ChosenDrive() const;
  void SortAs(SortDirection direction);

  MonitorSettings& settings_;
  DriveTable& drives_;
  std::function<char()> mainDriveLetter_;
  DirectorySource& dirs_;
  Trash& trash_;
  Prompts& prompts_;

  FileGrid grid_{GridKind::DirectorySpace};
  Listing listing_;
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
};

}  // namespace zub
