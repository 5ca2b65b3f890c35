#include "files/FileWindowParts.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "files/ChoosingView.h"
#include "files/DirectoryTreeModel.h"
#include "files/FileEntry.h"
#include "files/FileGridModel.h"
#include "files/FmDirRules.h"
#include "files/Recycle.h"
#include "monitor/MonitorWindowRules.h"
#include "ui/QtCanvas.h"
#include "ui/QtFitText.h"

namespace zub {
namespace {

// Keeps a grid's figure columns at least as wide as their widest figure,
// above whatever width the window's rules ask for them.
class FigureColumns : public QObject {
  Q_OBJECT  // findChild below needs the type's own meta-object

 public:
  FigureColumns(QTableView* view, const FileGrid& grid) : QObject(view), view_(view), grid_(grid) {
    setObjectName("zubFigureColumns");
    connect(view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
              if (!applying_ && IsFigure(column)) {
                asked_[column] = width;
                Apply(column);
              }
            });
  }

  void RowsFrom(std::size_t first) {
    if (first == 0) {
      largest_ = 0;
    }
    for (std::size_t row = first; row < grid_.RowCount(); ++row) {
      if (grid_.State(row) == CellState::Filled) {
        largest_ = std::max(largest_, grid_.Size(row));
      }
    }
    Apply(1);
    Apply(2);
  }

 private:
  bool IsFigure(int column) const {
    return column == 1 || (column == 2 && grid_.ColumnCount() > 2);
  }

  // The cell's room is its width less the grid line and the text margins.
  int Need(int column) const {
    const QString widest =
        column == 1 ? Q(SizeText(largest_)) : QString::number(grid_.Number(grid_.RowCount() - 1));
    const int margin =
        view_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view_) + 1;
    return QFontMetrics(view_->font()).horizontalAdvance(widest) + 2 * margin +
           (view_->showGrid() ? 1 : 0) + 1;
  }

  void Apply(int column) {
    if (!IsFigure(column)) {
      return;
    }
    if (asked_[column] < 0) {
      asked_[column] = view_->columnWidth(column);
    }
    const int width = std::max(asked_[column], Need(column));
    if (view_->columnWidth(column) != width) {
      applying_ = true;
      view_->setColumnWidth(column, width);
      applying_ = false;
    }
  }

  QTableView* view_;
  const FileGrid& grid_;
  std::int64_t largest_ = 0;
  std::array<int, 3> asked_ = {-1, -1, -1};  // the rules' widths, by column
  bool applying_ = false;
};

// A panel's whole text, shown elided to the panel's room.
class PanelText : public QObject {
  Q_OBJECT

 public:
  explicit PanelText(QLabel* panel) : QObject(panel), panel_(panel) {
    setObjectName("zubPanelText");
    panel->installEventFilter(this);
  }

  void Show(const QString& text) {
    whole_ = text;
    panel_->setToolTip(text);
    panel_->setAccessibleDescription(text);
    Fit();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == panel_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::FontChange)) {
      Fit();
    }
    return false;
  }

 private:
  void Fit() {
    const QString shown =
        QFontMetrics(panel_->font()).elidedText(whole_, Qt::ElideMiddle, TextRoom(*panel_));
    if (shown != panel_->text()) {
      panel_->setText(shown);
    }
  }

  QLabel* panel_;
  QString whole_;
};

}  // namespace

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Font PointFont(int pointSize) {
  Font font;
  font.pointSize = pointSize;
  return font;
}

void ResizeToOuter(QWidget* window, const QSize& outer, const QMenuBar* menuBar) {
  const int menu = menuBar != nullptr ? menuBar->sizeHint().height() - kDesignMenuHeight : 0;
  window->resize(outer.width() - kDesignFrameWidth, outer.height() - kDesignFrameHeight + menu);
}

QSize DesignOuterSize(const QWidget* window, const QMenuBar* menuBar) {
  const int menu = menuBar != nullptr ? kDesignMenuHeight - menuBar->height() : 0;
  return {window->width() + kDesignFrameWidth, window->height() + kDesignFrameHeight + menu};
}

QWidget* NewMenuClient(QWidget* window, QMenuBar*& menuBar) {
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar = new QMenuBar(window);
  layout->setMenuBar(menuBar);
  auto* client = new QWidget(window);
  layout->addWidget(client);
  return client;
}

QComboBox* NewDriveChooser(DriveTable& drives, QWidget* parent, const QRect& geometry,
                           std::function<void()> changed) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName("DriveComboBox1");
  combo->setAccessibleName("Drive");
  combo->setGeometry(geometry);
  for (const DriveListEntry& entry : DriveListEntries(drives.Drives())) {
    combo->addItem(Q(entry.text), QChar(entry.letter));
  }
  QObject::connect(combo, &QComboBox::currentIndexChanged, parent,
                   [changed = std::move(changed)] { changed(); });
  return combo;
}

char ChosenDriveLetter(const QComboBox* drives) {
  const QVariant data = drives->currentData();
  return data.isValid() ? static_cast<char>(data.toChar().toLatin1()) : 0;
}

void FollowChosenDirectory(DriveTable& table, QComboBox* drives, const std::string& directory) {
  const char letter = DriveHolding(table.Drives(), directory);
  if (letter == 0) {
    return;
  }
  table.SetCurrentDirectory(letter, directory);
  const int index = drives->findData(QChar(letter));
  if (index >= 0 && index != drives->currentIndex()) {
    const QSignalBlocker quiet(drives);
    drives->setCurrentIndex(index);
  }
}

void CentreOnShow(QWidget* window, const QShowEvent* event) {
  if (const QScreen* shown = window->screen(); shown != nullptr && !event->spontaneous()) {
    const QRect area = shown->availableGeometry();
    window->move(area.center() -
                 QPoint(window->frameGeometry().width() / 2, window->frameGeometry().height() / 2));
  }
}

QTableView* NewFileGridView(FileGrid& grid, FileGridModel*& model, std::function<void()> choose,
                            QWidget* parent, const QString& accessibleName) {
  QTableView* view = NewChoosingGrid(grid, std::move(choose), parent);
  view->setObjectName("StringGrid1");
  view->setAccessibleName(accessibleName);
  model = new FileGridModel(grid, view);
  view->setModel(model);
  view->horizontalHeader()->hide();
  view->verticalHeader()->hide();
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectItems);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setWordWrap(false);
  view->verticalHeader()->setDefaultSectionSize(QFontMetrics(view->font()).height() + 4);
  view->setTextElideMode(grid.Kind() == GridKind::FileSearch ? Qt::ElideMiddle : Qt::ElideRight);
  new FigureColumns(view, grid);  // owned by the view
  return view;
}

void FitFigureColumns(QTableView* view, std::size_t first) {
  if (auto* figures = view->findChild<FigureColumns*>("zubFigureColumns")) {
    figures->RowsFrom(first);
  }
}

void PrepareListingGrid(QTableView* view, int outerWidth) {
  view->setColumnWidth(0, 160);
  view->setColumnWidth(1, 100);
  const int inside = view->parentWidget()->width() - 2 * view->x();
  view->resize(std::min(outerWidth - 10, inside), view->height());
}

void ShowPanelText(QLabel* panel, const QString& text) {
  auto* shown = panel->findChild<PanelText*>("zubPanelText", Qt::FindDirectChildrenOnly);
  if (shown == nullptr) {
    shown = new PanelText(panel);  // owned by the panel
  }
  shown->Show(text);
}

void SetGridFont(QTableView* view, FileGridModel* model, const Font& font) {
  view->setFont(ToQFont(font));
  view->verticalHeader()->setDefaultSectionSize(QFontMetrics(view->font()).height() + 4);
  model->SetTextColor(ToQColor(font.color));
  FitFigureColumns(view, 0);
}

void ApplyFont(QWidget* widget, const Font& font) {
  widget->setFont(ToQFont(font));
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Text, ToQColor(font.color));
  palette.setColor(QPalette::WindowText, ToQColor(font.color));
  widget->setPalette(palette);
}

void TrashChosenFile(QTableView* view, FileGridModel* model, FileGrid& grid,
                     const std::string& listedDirectory, DirectorySource& files, Trash& trash,
                     Prompts& prompts, QLabel* panel) {
  // No second choice can start while the question is open.
  const bool hadFocus = view->hasFocus();
  view->setEnabled(false);
  const DeleteOutcome outcome = DeleteClickedFile(grid, listedDirectory, files, trash, prompts);
  if (outcome.acted) {
    panel->setFont(ToQFont(PointFont(10)));
    ShowPanelText(panel, Q(outcome.panelText));
    model->RowChanged(grid.selected.row);
  }
  view->setEnabled(true);
  if (hadFocus) {
    view->setFocus();
  }
}

void WindowFlowView::ShowPanel(const std::string& text) {
  ShowPanelText(parts_.panel, Q(text));
}

void WindowFlowView::ShowCaption(const std::string& text) {
  parts_.window->setWindowTitle(Q(text));
}

void WindowFlowView::GridReset() {
  parts_.gridModel->Reload();
  FitFigureColumns(parts_.gridView, 0);
  // The view shows the recorded cell again; the user chose nothing.
  FileGrid& grid = *parts_.grid;
  grid.selected.row = std::min(grid.selected.row, std::max<std::size_t>(grid.RowCount(), 1) - 1);
  parts_.gridView->selectionModel()->setCurrentIndex(
      parts_.gridModel->index(static_cast<int>(grid.selected.row), grid.selected.column),
      QItemSelectionModel::ClearAndSelect);
}

void WindowFlowView::GridAppended(std::size_t first) {
  parts_.gridModel->RowsAppended();
  FitFigureColumns(parts_.gridView, first);
}

void WindowFlowView::FocusGrid() {
  parts_.gridView->setFocus();
}

void WindowFlowView::TreeReset() {
  parts_.treeModel->Reload();
  RefitTree();
}

void WindowFlowView::RefitTree() {
  longestLine_ = 0;
  FitTreeColumn(0);
}

void WindowFlowView::TreeAppended(std::size_t first) {
  parts_.treeModel->NodesAppended();
  FitTreeColumn(first);
  if (first == 0) {
    parts_.treeView->expand(parts_.treeModel->index(0, 0));
  }
}

void WindowFlowView::TreeDone() {
  // Two levels: expanding the top lines expands every node.
  for (int row = 0; row < parts_.treeModel->rowCount(); ++row) {
    parts_.treeView->expand(parts_.treeModel->index(row, 0));
  }
}

void WindowFlowView::FitTreeColumn(std::size_t first) {
  const DirectoryTree& tree = parts_.treeModel->Tree();
  std::int32_t longest = DirectoryTree::kNone;
  for (std::size_t node = first; node < tree.NodeCount(); ++node) {
    const std::size_t length = tree.Text(static_cast<std::int32_t>(node)).size();
    if (length > longestLine_) {
      longestLine_ = length;
      longest = static_cast<std::int32_t>(node);
    }
  }
  if (longest == DirectoryTree::kNone) {
    if (first == 0) {
      parts_.treeView->header()->resizeSection(0, parts_.treeView->viewport()->width());
    }
    return;
  }
  // Measured once per new longest line; a little room for wider letters.
  const QFontMetrics metrics(parts_.treeView->font());
  const int width = metrics.horizontalAdvance(Q(tree.Text(longest))) * 11 / 10 +
                    parts_.treeView->indentation() * (tree.Level(longest) + 1) + 8;
  QHeaderView* header = parts_.treeView->header();
  if (first == 0 || width > header->sectionSize(0)) {
    header->resizeSection(0, width);
  }
}

void WindowFlowView::MoveChooser(const std::string& directory) {
  if (parts_.moveChooser) {
    parts_.moveChooser(directory);
  }
}

void WindowFlowView::ShowTree(bool tree) {
  if (parts_.showTree) {
    parts_.showTree(tree);
  }
}

}  // namespace zub

#include "FileWindowParts.moc"
