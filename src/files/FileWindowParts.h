// What the three file windows share on screen: the drive chooser, the grid
// view with its trash click, centring, and the FlowView that shows a flow's
// results in a window's panel, caption, grid and tree.
#pragma once

#include <QAction>
#include <QMenu>
#include <QRect>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "files/FileFlow.h"
#include "files/FileGrid.h"
#include "platform/DirectorySource.h"
#include "platform/DriveTable.h"
#include "platform/Trash.h"
#include "ui/Font.h"
#include "ui/Prompts.h"

class QComboBox;
class QLabel;
class QSize;
class QMenuBar;
class QShowEvent;
class QTableView;
class QTreeView;
class QWidget;

namespace zub {

class DirectoryTreeModel;
class FileGridModel;

QString Q(std::string_view text);
Font PointFont(int pointSize);

// The frame the windows were designed in, which their rules' sizes count:
// two 4-pixel borders and a 19-pixel caption; a menu bar adds 19 more.
// Window managers draw frames of their own, often only after the first
// resize, so the design's frame stands in for the real one.
inline constexpr int kDesignFrameWidth = 8;
inline constexpr int kDesignFrameHeight = 27;
inline constexpr int kDesignMenuHeight = 19;
// Gives `window` the inside that the design's outside size `outer` has;
// the real menu bar (if any) takes the place of the design's.
void ResizeToOuter(QWidget* window, const QSize& outer, const QMenuBar* menuBar);
// The window's outside size as its rules count it.
QSize DesignOuterSize(const QWidget* window, const QMenuBar* menuBar);

// A menu bar over a client area that holds the window's controls.
QWidget* NewMenuClient(QWidget* window, QMenuBar*& menuBar);
// A menu entry running `handler` of `window`.
template <typename Window>
QAction* AddMenuEntry(QMenu* menu, const char* name, const QString& text, Window* window,
                      void (Window::*handler)(), bool checkable) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  action->setCheckable(checkable);
  QObject::connect(action, &QAction::triggered, window,
                   [window, handler] { (window->*handler)(); });
  return action;
}

// The drive list of the main window's drives; `changed` runs on the user's choice.
QComboBox* NewDriveChooser(DriveTable& drives, QWidget* parent, const QRect& geometry,
                           std::function<void()> changed);
// The letter of the drive the list shows, 0 for none.
char ChosenDriveLetter(const QComboBox* drives);
// A chosen directory becomes its drive's current directory, and the drive
// list shows that drive.
void FollowChosenDirectory(DriveTable& table, QComboBox* drives, const std::string& directory);

// Centres a window on its screen when it is shown by the program.
void CentreOnShow(QWidget* window, const QShowEvent* event);

// A grid view over `grid` with its model: no headers, one cell selected at a
// time, a cell chosen by the user runs `choose`.
QTableView* NewFileGridView(FileGrid& grid, FileGridModel*& model, std::function<void()> choose,
                            QWidget* parent, const QString& accessibleName);
void SetGridFont(QTableView* view, FileGridModel* model, const Font& font);
// A listing's grid: name and size columns of 160 and 100, and the grid as
// wide as the window (outside, `outerWidth`) less 10, but never past the
// window's inside: the margin on its right is at least the one on its left.
void PrepareListingGrid(QTableView* view, int outerWidth);
// After rows from `first` on were added (0: the grid's rows anew): the
// figure columns (sizes, numbers) widen to their widest figure, so that a
// figure is never elided, whatever width the window's rules give them.
void FitFigureColumns(QTableView* view, std::size_t first);

// Shows `text` on a panel from its start: a text longer than the panel is
// elided in the middle, never cut at both ends, and is whole in the tooltip
// and the accessible description. It fits again when the panel's width or
// font changes.
void ShowPanelText(QLabel* panel, const QString& text);
// A chosen font, colour included, on a control.
void ApplyFont(QWidget* widget, const Font& font);

// The trash click on the selected row: the grid takes no input until the
// question is answered; the panel (at 10 points) and the row show the outcome.
void TrashChosenFile(QTableView* view, FileGridModel* model, FileGrid& grid,
                     const std::string& listedDirectory, DirectorySource& files, Trash& trash,
                     Prompts& prompts, QLabel* panel);

// Shows a flow's results in a window.
class WindowFlowView : public FlowView {
 public:
  struct Parts {
    QWidget* window = nullptr;
    QLabel* panel = nullptr;
    QTableView* gridView = nullptr;
    FileGridModel* gridModel = nullptr;
    FileGrid* grid = nullptr;
    QTreeView* treeView = nullptr;
    DirectoryTreeModel* treeModel = nullptr;
    std::function<void(bool)> showTree;
    std::function<void(const std::string&)> moveChooser;
  };
  explicit WindowFlowView(Parts parts) : parts_(std::move(parts)) {}

  void ShowPanel(const std::string& text) override;
  void ShowCaption(const std::string& text) override;
  void GridReset() override;
  void GridAppended(std::size_t first) override;
  void FocusGrid() override;
  void TreeReset() override;
  void TreeAppended(std::size_t first) override;
  void TreeDone() override;
  void ShowTree(bool tree) override;
  void MoveChooser(const std::string& directory) override;
  // After the tree's font changed: its column fits its longest line again.
  void RefitTree();

 private:
  // Widens the tree's column to its longest line among nodes from `first` on.
  void FitTreeColumn(std::size_t first);

  Parts parts_;
  std::size_t longestLine_ = 0;  // in bytes, of the nodes measured so far
};

}  // namespace zub
