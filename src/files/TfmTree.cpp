#include "files/TfmTree.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
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
#include "files/FmDirRules.h"
#include "files/Recycle.h"
#include "monitor/MonitorWindowRules.h"
#include "ui/QtCanvas.h"
#include "ui/WaitCursor.h"

namespace zub {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Font PointFont(int pointSize) {
  Font font;
  font.pointSize = pointSize;
  return font;
}

// What the worker of one Execute owns, so nothing of the window is touched off its thread.
struct TreeJob {
  DirectoryTree tree;
  TreeScanState state;
};

}  // namespace

TfmTree::TfmTree(DriveTable& drives, DirectorySource& dirs, Trash& trash, Prompts& prompts,
                 QWidget* parent)
    : QDialog(parent), drives_(drives), dirs_(dirs), trash_(trash), prompts_(prompts) {
  setObjectName("fmTree");
  setWindowTitle(kTreeCaption);
  dialogFont_ = PointFont(8);
  setFont(ToQFont(dialogFont_));

  DriveComboBox1 = new QComboBox(this);
  DriveComboBox1->setObjectName("DriveComboBox1");
  DriveComboBox1->setAccessibleName("Drive");
  DriveComboBox1->setGeometry(16, 8, 161, 19);
  for (const DriveListEntry& entry : DriveListEntries(drives_.Drives())) {
    DriveComboBox1->addItem(Q(entry.text), QChar(entry.letter));
  }
  connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
          [this] { DriveComboBox1Change(); });

  DirectoryListBox1 = new DirectoryChooser(dirs_, this);
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
  // A line is never cut short: the view scrolls sideways instead.
  TreeView1->setTextElideMode(Qt::ElideNone);
  TreeView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  TreeView1->header()->setStretchLastSection(false);
  TreeView1->setHeaderHidden(true);
  TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeModel_ = new DirectoryTreeModel(tree_, TreeView1);
  TreeView1->setModel(treeModel_);

  StringGrid1 = NewChoosingGrid(
      grid_, [this] { StringGrid1Click(); }, this);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setAccessibleName("Files");
  StringGrid1->setGeometry(16, 160, 441, 145);
  gridModel_ = new FileGridModel(grid_, StringGrid1);
  StringGrid1->setModel(gridModel_);
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setWordWrap(false);
  StringGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(StringGrid1->font()).height() +
                                                       4);
  StringGrid1->hide();

  resize(499, 346);
  MoveToDrive(drives_.CurrentDriveLetter(), false);
}

TfmTree::~TfmTree() = default;

void TfmTree::MoveToDrive(char letter, bool notify) {
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, letter, notify);
}

void TfmTree::DriveComboBox1Change() {
  const QVariant data = DriveComboBox1->currentData();
  if (data.isValid()) {
    MoveToDrive(static_cast<char>(data.toChar().toLatin1()), true);
  }
}

void TfmTree::DirectoryListBox1Change() {
  const std::string& directory = DirectoryListBox1->Directory();
  if (const char letter = DriveHolding(drives_.Drives(), directory); letter != 0) {
    drives_.SetCurrentDirectory(letter, directory);
    const int index = DriveComboBox1->findData(QChar(letter));
    if (index >= 0 && index != DriveComboBox1->currentIndex()) {
      const QSignalBlocker quiet(DriveComboBox1);
      DriveComboBox1->setCurrentIndex(index);
    }
  }
}

void TfmTree::ShowTree(bool tree) {
  TreeView1->setVisible(tree);
  StringGrid1->setVisible(!tree);
  setWindowTitle(Q(TreeWindowCaption(tree, listing_.caption)));
}

void TfmTree::Button1Click() {
  const WaitCursor hourglass;
  treeModel_->BeginChange();
  tree_.Clear();
  scanState_ = TreeScanState{};
  treeModel_->EndChange();
  ShowTree(true);
  // The walk runs elsewhere so the window keeps painting; it takes no input meanwhile.
  auto job = std::make_shared<TreeJob>();
  DirectorySource& source = dirs_;
  const std::string start = DirectoryListBox1->Directory();
  const BusyOutcome outcome = RunBusy(this,
                                      [job, &source, start] {
                                        TreeScan scan(job->tree);
                                        ExecuteTree(source, start, scan);
                                        job->state = scan.State();
                                      },
                                      {});
  longestGapMs_ = static_cast<int>(outcome.longestGap.count());
  treeModel_->BeginChange();
  tree_ = std::move(job->tree);
  scanState_ = job->state;
  treeModel_->EndChange();
  Panel1->setText(Q(TreePanelText(scanState_)));
  TreeView1->expandAll();
}

void TfmTree::Button2Click() {
  const WaitCursor hourglass;
  treeModel_->BeginChange();
  tree_.SortSiblings(TreeOrder());
  treeModel_->EndChange();
  TreeView1->expandAll();
}

void TfmTree::Button3Click() {
  const std::optional<Font> chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  const QFont font = ToQFont(*chosen);
  for (QWidget* widget :
       std::initializer_list<QWidget*>{DirectoryListBox1, StringGrid1, TreeView1}) {
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, ToQColor(chosen->color));
    palette.setColor(QPalette::WindowText, ToQColor(chosen->color));
    widget->setPalette(palette);
  }
  gridModel_->SetTextColor(ToQColor(chosen->color));
  StringGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
}

void TfmTree::TreeView1Change(const QModelIndex& current) {
  const std::int32_t node = treeModel_->NodeOf(current);
  if (node == DirectoryTree::kNone) {
    return;
  }
  const std::string path = NodePath(tree_.Text(node));
  if (!path.empty()) {
    if (NodeDirectoryMissing(dirs_.StatPath(path))) {
      prompts_.ShowMessage(NoSuchDirectoryText(path));
      return;
    }
    DirectoryListBox1->SetDirectory(path, false);
  }
  const WaitCursor hourglass;
  listing_ = ListDirectory(dirs_, DirectoryListBox1->Directory(), grid_, SortKey::skSizeText,
                           SortDirection::Descending);
  gridModel_->Reload();
  KeepCurrentCell();
  ShowTree(false);
  Panel1->setText(Q(TreeListingPanelText(listing_.total, listing_.count)));
}

void TfmTree::KeepCurrentCell() {
  grid_.selected.row = std::min(grid_.selected.row, grid_.RowCount() - 1);
  StringGrid1->selectionModel()->setCurrentIndex(
      gridModel_->index(static_cast<int>(grid_.selected.row), grid_.selected.column),
      QItemSelectionModel::ClearAndSelect);
}

void TfmTree::Panel1Click() {
  ShowTree(!TreeView1->isVisible());
}

void TfmTree::StringGrid1Click() {
  const bool hadFocus = StringGrid1->hasFocus();
  StringGrid1->setEnabled(false);
  const DeleteOutcome outcome =
      DeleteClickedFile(grid_, listing_.directory, dirs_, trash_, prompts_);
  if (outcome.acted) {
    Panel1->setFont(ToQFont(PointFont(10)));
    Panel1->setText(Q(outcome.panelText));
    gridModel_->RowChanged(grid_.selected.row);
  }
  StringGrid1->setEnabled(true);
  if (hadFocus) {
    StringGrid1->setFocus();
  }
}

void TfmTree::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int treeWidth = width() - 29;
  TreeView1->resize(treeWidth, std::max(0, height() - 200));
  Panel1->resize(treeWidth, Panel1->height());
  DirectoryListBox1->resize(width() - 205, DirectoryListBox1->height());
  StringGrid1->resize(treeWidth - 6, StringGrid1->height());
}

void TfmTree::showEvent(QShowEvent* event) {
  if (const QScreen* shown = screen(); shown != nullptr && !event->spontaneous()) {
    const QRect area = shown->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
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
