#include "files/TfmTree.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTreeView>

#include "files/BusyWork.h"
#include "files/ChoosingView.h"
#include "files/DirectoryChooser.h"
#include "files/DirectoryTreeModel.h"
#include "files/FileGridModel.h"
#include "files/FileWindowParts.h"
#include "files/ListingFlow.h"
#include "files/TreeFlow.h"
#include "ui/QtCanvas.h"

namespace zub {

TfmTree::TfmTree(DriveTable& drives, DirectorySource& dirs, Trash& trash, Prompts& prompts,
                 QWidget* parent, const WorkLimits& limits)
    : QDialog(parent), drives_(drives), dirs_(dirs), trash_(trash), prompts_(prompts) {
  setObjectName("fmTree");
  setWindowTitle(kTreeCaption);
  dialogFont_ = PointFont(8);
  setFont(ToQFont(dialogFont_));

  DriveComboBox1 =
      NewDriveChooser(drives_, this, {16, 8, 161, 19}, [this] { DriveComboBox1Change(); });

  DirectoryListBox1 = new DirectoryChooser(dirs_, this, limits);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setAccessibleName("Start directory");
  DirectoryListBox1->setGeometry(184, 8, 265, 97);
  connect(DirectoryListBox1, &DirectoryChooser::directoryChanged, this,
          [this] { DirectoryListBox1Change(); });

  Button1 = new QPushButton("&Execute", this);
  Button1->setObjectName("Button1");
  Button1->setAccessibleName("Execute");
  Button1->setGeometry(24, 40, 153, 25);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  Button2 = new QPushButton("&Sort", this);
  Button2->setObjectName("Button2");
  Button2->setAccessibleName("Sort");
  Button2->setGeometry(24, 72, 73, 25);
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  Button3 = new QPushButton("&Font", this);
  Button3->setObjectName("Button3");
  Button3->setAccessibleName("Font");
  Button3->setGeometry(104, 72, 73, 25);
  connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
  for (QPushButton* button : {Button1, Button2, Button3}) {
    button->setAutoDefault(false);
  }

  Panel1 = new QLabel(this);
  Panel1->setObjectName("Panel1");
  Panel1->setAccessibleName("Totals; press Space to swap tree and files");
  Panel1->setGeometry(16, 112, 441, 41);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setFocusPolicy(Qt::TabFocus);
  Panel1->installEventFilter(this);

  auto* tree = new ChoosingTree(ChoiceTarget::Tree, this);
  tree->onChoose = [this](const QModelIndex& index) { TreeView1Change(index); };
  TreeView1 = tree;
  TreeView1->setObjectName("TreeView1");
  TreeView1->setAccessibleName("Directory tree");
  TreeView1->setGeometry(16, 160, 441, 145);
  TreeView1->setIndentation(19);
  TreeView1->setRootIsDecorated(false);
  TreeView1->setUniformRowHeights(true);
  // A line is never cut short: the view scrolls sideways instead. The column
  // is widened as longer lines arrive (measuring every line again after each
  // batch would hold the window for a tenth of a second on a whole drive).
  TreeView1->setTextElideMode(Qt::ElideNone);
  TreeView1->header()->setSectionResizeMode(QHeaderView::Fixed);
  TreeView1->header()->setStretchLastSection(false);
  TreeView1->setHeaderHidden(true);
  TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeModel_ = new DirectoryTreeModel(tree_, TreeView1);
  TreeView1->setModel(treeModel_);

  StringGrid1 = NewFileGridView(
      grid_, gridModel_, [this] { StringGrid1Click(); }, this, "Files");
  StringGrid1->setGeometry(16, 160, 441, 145);
  StringGrid1->hide();

  view_ = std::make_unique<WindowFlowView>(WindowFlowView::Parts{
      this, Panel1, StringGrid1, gridModel_, &grid_, TreeView1, treeModel_,
      [this](bool tree) { ShowTree(tree); },
      [this](const std::string& directory) { DirectoryListBox1->SetDirectory(directory, false); }});
  scan_ = std::make_unique<TreeFlow>(dirs_, tree_, *view_, FlowClock{}, limits);
  listing_ = std::make_unique<ListingFlow>(dirs_, prompts_, grid_, *view_, FlowClock{}, limits);
  ResizeToOuter(this, {499, 346}, nullptr);
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, drives_.CurrentDriveLetter(),
                     false);
}

TfmTree::~TfmTree() = default;

const TreeScanState& TfmTree::ScanState() const {
  return scan_->ScanState();
}

const std::string& TfmTree::ListedDirectory() const {
  return listing_->Last().directory;
}

void TfmTree::DriveComboBox1Change() {
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, ChosenDriveLetter(DriveComboBox1),
                     true);
}

void TfmTree::DirectoryListBox1Change() {
  FollowChosenDirectory(drives_, DriveComboBox1, DirectoryListBox1->Directory());
}

void TfmTree::ShowTree(bool tree) {
  TreeView1->setVisible(tree);
  StringGrid1->setVisible(!tree);
  setWindowTitle(Q(TreeWindowCaption(tree, listing_->Last().caption)));
}

void TfmTree::Run(Flow& flow) {
  const FlowRun run = RunFlow(this, flow, whileBusy);
  longestGapMs_ = static_cast<int>(run.longestGap.count());
  if (run.closed) {
    reject();
  }
}

void TfmTree::Button1Click() {
  if (scan_->BeginExecute(DirectoryListBox1->Directory())) {
    Run(*scan_);
  }
}

void TfmTree::Button2Click() {
  if (scan_->BeginSort()) {
    Run(*scan_);
  }
}

void TfmTree::Button3Click() {
  const std::optional<Font> chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  // The directories take it; the path line above them keeps the window's
  // font, so that a large font cannot push it out of the chooser.
  ApplyFont(DirectoryListBox1->List(), *chosen);
  ApplyFont(TreeView1, *chosen);
  ApplyFont(StringGrid1, *chosen);
  view_->RefitTree();
  SetGridFont(StringGrid1, gridModel_, *chosen);
}

void TfmTree::TreeView1Change(const QModelIndex& current) {
  const std::int32_t node = treeModel_->NodeOf(current);
  if (node == DirectoryTree::kNone) {
    return;
  }
  PrepareListingGrid(StringGrid1, DesignOuterSize(this, nullptr).width());
  if (listing_->BeginListing(NodeDirectory(tree_.Text(node), DirectoryListBox1->Directory()),
                             SortKey::skSizeText, SortDirection::Descending, &TreeListingPanel,
                             ListingMode::ChosenLine)) {
    Run(*listing_);
  }
}

void TfmTree::Panel1Click() {
  ShowTree(!TreeView1->isVisible());
}

void TfmTree::StringGrid1Click() {
  TrashChosenFile(StringGrid1, gridModel_, grid_, ListedDirectory(), dirs_, trash_, prompts_,
                  Panel1);
}

void TfmTree::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The rule counts the outer size, frame included (499 x 346 outside).
  const QSize outer = DesignOuterSize(this, nullptr);
  const int treeWidth = outer.width() - 29;
  TreeView1->resize(treeWidth, std::max(0, outer.height() - 200));
  Panel1->resize(treeWidth, Panel1->height());
  DirectoryListBox1->resize(outer.width() - 205, DirectoryListBox1->height());
  StringGrid1->resize(treeWidth - 6, StringGrid1->height());
}

void TfmTree::showEvent(QShowEvent* event) {
  CentreOnShow(this, event);
  QDialog::showEvent(event);
}

void TfmTree::keyPressEvent(QKeyEvent* event) {
  // Escape closes a dialog; this window closes only from its frame.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TfmTree::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Panel1) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      Panel1Click();
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        Panel1Click();
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zub
