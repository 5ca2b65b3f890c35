// The directory tree window: a scan of a directory and everything below it
// as one line per directory holding files, and the files of a chosen line
// in a grid from which a file can go to the trash.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "files/DirectoryScan.h"
#include "files/DirectoryTree.h"
#include "files/FileGrid.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"
#include "platform/Trash.h"
#include "ui/Font.h"
#include "ui/Prompts.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QTreeView;

namespace zub {

class DirectoryChooser;
class DirectoryTreeModel;
class FileGridModel;

class TfmTree : public QDialog {
  Q_OBJECT

 public:
  // Keeps references to everything; all of it outlives the window.
  TfmTree(DriveTable& drives, DirectorySource& dirs, Trash& trash, Prompts& prompts,
          QWidget* parent = nullptr);
  ~TfmTree() override;

  void DriveComboBox1Change();
  void DirectoryListBox1Change();
  void Button1Click();  // "Execute"
  void Button2Click();  // "Sort"
  void Button3Click();  // "Font"
  void TreeView1Change(const QModelIndex& current);
  void Panel1Click();
  void StringGrid1Click();

  const DirectoryTree& Tree() const { return tree_; }
  const TreeScanState& ScanState() const { return scanState_; }
  FileGrid& Grid() { return grid_; }
  const std::string& ListedDirectory() const { return listing_.directory; }
  QLabel* Panel() const { return Panel1; }
  QTreeView* TreeView() const { return TreeView1; }
  QTableView* GridView() const { return StringGrid1; }
  DirectoryChooser* Chooser() const { return DirectoryListBox1; }
  // The longest the interface went without its events during the last Execute.
  int LongestGapMs() const { return longestGapMs_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MoveToDrive(char letter, bool notify);
  void ShowTree(bool tree);
  void KeepCurrentCell();

  DriveTable& drives_;
  DirectorySource& dirs_;
  Trash& trash_;
  Prompts& prompts_;

  DirectoryTree tree_;
  TreeScanState scanState_;
  FileGrid grid_{GridKind::DirectoryTree};
  Listing listing_;
  Font dialogFont_;
  int longestGapMs_ = 0;

  QComboBox* DriveComboBox1 = nullptr;
  DirectoryChooser* DirectoryListBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QLabel* Panel1 = nullptr;
  QTreeView* TreeView1 = nullptr;
  DirectoryTreeModel* treeModel_ = nullptr;
  QTableView* StringGrid1 = nullptr;
  FileGridModel* gridModel_ = nullptr;
};

}  // namespace zub
