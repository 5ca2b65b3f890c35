#include "inspect/TFmMemTree.h"

#include <sys/stat.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include "inspect/ProcessTreeModel.h"
#include "ui/Activation.h"
#include "ui/Color.h"
#include "ui/QtCanvas.h"
#include "ui/WaitCursor.h"

namespace zub {

namespace {

constexpr int kMaxTreePointSize = 10;

// Only a regular file has texts to show: a device (a GPU's render node that
// graphics programs map), a socket or a directory does not.
bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void ApplyFont(QWidget* widget, const QFont& font, const QColor& color, QPalette::ColorRole role) {
  widget->setFont(font);
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

// The design's box was drawn for a narrower face than the ones installed
// here: rather than cut the last line off, the text gets smaller until it
// fits (and its tooltip keeps it whole in any case).
void FitLabelText(QLabel* label) {
  label->setToolTip(label->text());
  QFont font = label->font();
  for (int pixels = font.pixelSize(); pixels >= 7; --pixels) {
    font.setPixelSize(pixels);
    const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, label->width(), 10000),
                                                         Qt::TextWordWrap, label->text());
    if (needed.height() <= label->height()) {
      break;
    }
  }
  label->setFont(font);
}

}  // namespace

TFmMemTree::TFmMemTree(MonitorSettings& settings, ProcessSource& processes,
                       ShowFileInfo showFileInfo, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      processes_(processes),
      showFileInfo_(std::move(showFileInfo)) {
  setObjectName("FmMemTree");
  setWindowTitle("Zub Windows 95 Memory Tree");
  setAccessibleName("Zub Windows 95 Memory Tree");
  QFont windowFont("MS Sans Serif");
  windowFont.setPixelSize(11);
  setFont(windowFont);

  // "&" gives the keyboard a way in; the captions read as before.
  button1_ = new QPushButton("&Build Tree", this);
  button1_->setObjectName("Button1");
  button1_->setAccessibleName("Build Tree");
  button1_->setGeometry(16, 0, 75, 25);
  button1_->setAutoDefault(false);
  connect(button1_, &QPushButton::clicked, this, &TFmMemTree::Button1Click);

  button2_ = new QPushButton("&Expand Tree", this);
  button2_->setObjectName("Button2");
  button2_->setAccessibleName("Expand Tree");
  button2_->setGeometry(96, 0, 75, 25);
  button2_->setAutoDefault(false);
  connect(button2_, &QPushButton::clicked, this, &TFmMemTree::Button2Click);

  label1_ = new QLabel(
      "Fonts are set in the Directory  search screen for this memory tree using the directory "
      "font.",
      this);
  label1_->setObjectName("Label1");
  label1_->setAccessibleName(label1_->text());
  label1_->setWordWrap(true);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label1_->setGeometry(16, 32, 141, 39);
  FitLabelText(label1_);

  panel1_ = new QLabel(this);
  panel1_->setObjectName("Panel1");
  panel1_->setAccessibleName("Status");
  panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel1_->setLineWidth(2);
  panel1_->setAlignment(Qt::AlignCenter);
  // A window made narrow breaks the status between words instead of cutting figures off.
  panel1_->setWordWrap(true);
  panel1_->setGeometry(176, 16, 449, 41);

  model_ = new ProcessTreeModel(tree_, this);
  treeView1_ = new QTreeView(this);
  treeView1_->setObjectName("TreeView1");
  treeView1_->setAccessibleName("Processes and modules");
  treeView1_->setModel(model_);
  treeView1_->setHeaderHidden(true);
  treeView1_->setUniformRowHeights(true);
  treeView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeView1_->setSelectionMode(QAbstractItemView::SingleSelection);
  treeView1_->setIndentation(19);
  // Lines are long paths: the column grows to its text and scrolls sideways.
  treeView1_->header()->setStretchLastSection(false);
  treeView1_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  treeView1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  treeView1_->setGeometry(16, 72, 617, 353);
  connect(treeView1_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TFmMemTree::TreeView1Change);

  setTabOrder(button1_, button2_);
  setTabOrder(button2_, treeView1_);

  resize(648, 460);
  setWindowState(windowState() | Qt::WindowMaximized);
  FormCreate();
  WatchActivation(this, [this] { FormActivate(); });
}

void TFmMemTree::FormCreate() {
  QFont font(QString::fromStdString(settings_.DirFontName));
  font.setPointSize(std::max(1, std::min<int>(settings_.DirFontSize, kMaxTreePointSize)));
  const QColor color = ToQColor(static_cast<ColorRef>(settings_.DirFontColor));
  ApplyFont(treeView1_, font, color, QPalette::Text);
  ApplyFont(panel1_, font, color, QPalette::WindowText);
}

void TFmMemTree::FormActivate() {
  treeExpanded_ = false;
  button2_->setText("&Expand Tree");
  button2_->setAccessibleName("Expand Tree");
  BuildTree();
}

void TFmMemTree::Button1Click() {
  BuildTree();
}

void TFmMemTree::Button2Click() {
  if (!treeExpanded_) {
    treeView1_->expandAll();
    button2_->setText("&Collapse");
    button2_->setAccessibleName("Collapse");
    treeExpanded_ = true;
  } else {
    treeView1_->collapseAll();
    button2_->setText("&Expand Tree");
    button2_->setAccessibleName("Expand Tree");
    treeExpanded_ = false;
  }
}

void TFmMemTree::BuildTree() {
  const WaitCursor wait;
  const SavedPlace saved = SavePlace();
  model_->BeginRebuild();
  const MemTreeCounters counters = BuildMemTree(processes_, tree_);
  model_->EndRebuild();
  RestorePlace(saved);
  panel1_->setText(QString::fromStdString(StatusText(counters)));
}

TFmMemTree::SavedPlace TFmMemTree::SavePlace() const {
  SavedPlace saved;
  TreePlaces places(tree_);
  const int rows = model_->rowCount();
  for (int row = 0; row < rows; ++row) {
    const QModelIndex index = model_->index(row, 0);
    if (treeView1_->isExpanded(index)) {
      saved.expanded.push_back(places.PlaceOf(ProcessTreeModel::LineOf(index)));
    } else if (model_->hasChildren(index)) {
      saved.allExpanded = false;
    }
  }
  if (const QModelIndex chosen = treeView1_->currentIndex(); chosen.isValid()) {
    saved.chosen = places.PlaceOf(ProcessTreeModel::LineOf(chosen));
  }
  if (const QModelIndex top = treeView1_->indexAt(QPoint(0, 0)); top.isValid()) {
    saved.top = places.PlaceOf(ProcessTreeModel::LineOf(top));
  }
  return saved;
}

void TFmMemTree::RestorePlace(const SavedPlace& saved) {
  TreePlaces places(tree_);
  if (saved.allExpanded && !saved.expanded.empty()) {
    treeView1_->expandAll();  // one layout instead of one per line
  } else {
    for (const TreePlace& place : saved.expanded) {
      if (const auto line = places.Find(place)) {
        treeView1_->expand(model_->IndexOf(*line));
      }
    }
  }
  if (saved.top) {
    if (const auto line = places.Find(*saved.top)) {
      treeView1_->scrollTo(model_->IndexOf(*line), QAbstractItemView::PositionAtTop);
    }
  }
  if (saved.chosen) {
    if (const auto line = places.Find(*saved.chosen)) {
      // The user's choice, kept: it must not open the file information
      // again, or every return from that window would reopen it.
      const QModelIndex index = model_->IndexOf(*line);
      restoringPlace_ = true;
      treeView1_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
      restoringPlace_ = false;
      treeView1_->scrollTo(index, QAbstractItemView::EnsureVisible);
    }
  }
}

void TFmMemTree::FormResize() {
  const QRect outer = frameGeometry();
  treeView1_->resize(outer.width() - 29, outer.height() - 98);
  panel1_->resize(outer.width() - 218, panel1_->height());
}

void TFmMemTree::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  FormResize();
}

void TFmMemTree::TreeView1Change() {
  const QModelIndexList selected = treeView1_->selectionModel()->selectedIndexes();
  if (restoringPlace_ || selected.isEmpty()) {
    return;
  }
  const std::string name = tree_.FilePath(ProcessTreeModel::LineOf(selected.front()));
  if (!IsRegularFile(name) || !showFileInfo_) {
    return;
  }
  // Shown once the selection has settled: the modal window's return
  // activates this one, and that rebuilds the tree.
  QTimer::singleShot(0, this, [this, name] { showFileInfo_(name); });
}

}  // namespace zub
