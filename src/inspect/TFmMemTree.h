// The process and module tree window: every process with the files it has
// mapped, a status panel with the machine's totals, and a chosen line's file
// handed on to the file information window.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "inspect/ProcessTree.h"
#include "monitor/MonitorSettings.h"
#include "platform/ProcessSource.h"

class QLabel;
class QPushButton;
class QTreeView;

namespace zub {

class ProcessTreeModel;

class TFmMemTree : public QDialog {
  Q_OBJECT

 public:
  // Shows the file information window on a path that exists.
  using ShowFileInfo = std::function<void(const std::string& path)>;

  // Keeps references to the settings and the source: they outlive the window.
  TFmMemTree(MonitorSettings& settings, ProcessSource& processes, ShowFileInfo showFileInfo,
             QWidget* parent = nullptr);

  void FormCreate();
  // Each time the window becomes active: collapsed, then built afresh.
  void FormActivate();
  void Button1Click();
  void Button2Click();
  void FormResize();
  // The selected line changed.
  void TreeView1Change();

  bool TreeExpanded() const { return treeExpanded_; }
  const ProcessTree& Tree() const { return tree_; }
  QPushButton* Button1() const { return button1_; }
  QPushButton* Button2() const { return button2_; }
  QLabel* Label1() const { return label1_; }
  QLabel* Panel1() const { return panel1_; }
  QTreeView* TreeView1() const { return treeView1_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // What the user had open and chosen, kept across a rebuild by what the
  // lines name (a new snapshot gives new lines).
  struct SavedPlace {
    std::vector<TreePlace> expanded;
    bool allExpanded = true;  // every line that can be expanded was
    std::optional<TreePlace> chosen;
    std::optional<TreePlace> top;  // the line at the top of the view
  };

  void BuildTree();
  SavedPlace SavePlace() const;
  void RestorePlace(const SavedPlace& saved);

  MonitorSettings& settings_;
  ProcessSource& processes_;
  ShowFileInfo showFileInfo_;
  ProcessTree tree_;
  ProcessTreeModel* model_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* panel1_ = nullptr;
  QTreeView* treeView1_ = nullptr;
  bool treeExpanded_ = false;
  bool restoringPlace_ = false;
};

}  // namespace zub
