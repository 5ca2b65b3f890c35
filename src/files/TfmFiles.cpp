#include "files/TfmFiles.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "files/BusyWork.h"
#include "files/DirectoryChooser.h"
#include "files/FileGridModel.h"
#include "files/FileWindowParts.h"
#include "files/SearchFlow.h"
#include "monitor/NumberText.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

constexpr int kGridHeight = 185;

}  // namespace

TfmFiles::TfmFiles(MonitorSettings& settings, DriveTable& drives,
                   std::function<char()> mainDriveLetter, DirectorySource& dirs, Trash& trash,
                   Prompts& prompts, QWidget* parent, const WorkLimits& limits)
    : QDialog(parent),
      settings_(settings),
      drives_(drives),
      mainDriveLetter_(std::move(mainDriveLetter)),
      dirs_(dirs),
      trash_(trash),
      prompts_(prompts) {
  setObjectName("fmFiles");
  setWindowTitle(kSearchCaption);
  setFont(ToQFont(PointFont(8)));

  client_ = NewMenuClient(this, menuBar_);

  QMenu* sort = menuBar_->addMenu("&Sort");
  FilePathName1 = AddMenuEntry(sort, "FilePathName1", "File &Path+Name", this,
                               &TfmFiles::FilePathName1Click, true);
  FileSize1 = AddMenuEntry(sort, "FileSize1", "File &Size", this, &TfmFiles::FileSize1Click, true);
  FileName1 = AddMenuEntry(sort, "FileName1", "File &Name", this, &TfmFiles::FileName1Click, true);
  FileExtension1 = AddMenuEntry(sort, "FileExtension1", "File &Extension", this,
                                &TfmFiles::FileExtension1Click, true);
  FilePath1 = AddMenuEntry(sort, "FilePath1", "File P&ath", this, &TfmFiles::FilePath1Click, true);
  QMenu* order = menuBar_->addMenu("Sort &Order");
  Ascending1 =
      AddMenuEntry(order, "Ascending1", "&A..Z Ascending", this, &TfmFiles::Ascending1Click, true);
  Descending1 = AddMenuEntry(order, "Descending1", "&Z..A Descending", this,
                             &TfmFiles::Descending1Click, true);
  QAction* font = menuBar_->addAction("&Font");
  font->setObjectName("Font1");
  connect(font, &QAction::triggered, this, [this] { Font1Click(); });

  Panel1 = new QLabel(client_);
  Panel1->setObjectName("Panel1");
  Panel1->setAccessibleName("Search state");
  Panel1->setGeometry(176, 8, 273, 33);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(2);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setFont(ToQFont(PointFont(10)));

  Label1 = new QLabel(kSearchHint, client_);
  Label1->setObjectName("Label1");
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // How many lines the hint wraps to depends on the face standing in for
  // the design's (three in a wide one): it gets the height its text needs.
  Label1->setGeometry(176, 48, 295, std::max(26, Label1->heightForWidth(295)));

  DriveComboBox1 =
      NewDriveChooser(drives_, client_, {8, 48, 145, 19}, [this] { DriveComboBox1Change(); });

  DirectoryListBox1 = new DirectoryChooser(dirs_, client_, limits);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setAccessibleName("Start directory");
  DirectoryListBox1->setGeometry(8, 72, 145, 65);
  connect(DirectoryListBox1, &DirectoryChooser::directoryChanged, this,
          [this] { DirectoryListBox1Change(); });

  Edit1 = new QLineEdit(client_);
  Edit1->setObjectName("Edit1");
  Edit1->setAccessibleName("File mask");
  Edit1->setGeometry(192, 112, 121, 21);
  connect(Edit1, &QLineEdit::returnPressed, this, [this] { Button1Click(); });

  Button1 = new QPushButton("&Begin Search", client_);
  Button1->setObjectName("Button1");
  Button1->setAccessibleName("Begin Search");
  Button1->setGeometry(344, 96, 137, 33);
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

  rows_.grid.SetRowCount(5);
  StringGrid1 = NewFileGridView(
      rows_.grid, model_, [this] { StringGrid1Click(); }, client_, "Files found");
  StringGrid1->setGeometry(8, 144, 569, kGridHeight);
  StringGrid1->horizontalHeader()->setDefaultSectionSize(100);
  StringGrid1->setColumnWidth(0, 350);
  StringGrid1->setColumnWidth(1, 100);
  // What lies below the hint moves down as far as the hint grew into it,
  // keeping a gap of 3 pixels.
  const int overlap = Label1->geometry().bottom() + 4 - Button1->y();
  for (QWidget* below : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Button1),
                         static_cast<QWidget*>(StringGrid1)}) {
    below->move(below->x(), below->y() + std::max(0, overlap));
  }
  dialogFont_ = Font{settings_.FilesFontName, settings_.FilesFontSize,
                     static_cast<ColorRef>(settings_.FilesFontColor)};
  SetGridFont(StringGrid1, model_, dialogFont_);

  view_ = std::make_unique<WindowFlowView>(WindowFlowView::Parts{
      this, Panel1, StringGrid1, model_, &rows_.grid, nullptr, nullptr, {}, {}});
  flow_ = std::make_unique<SearchFlow>(dirs_, prompts_, rows_, *view_, FlowClock{}, limits);
  ShowChecks();
  ResizeToOuter(this, {592, 362}, menuBar_);
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, mainDriveLetter_(), false);
}

TfmFiles::~TfmFiles() = default;

bool TfmFiles::SearchBusy() const {
  return flow_->SearchBusy();
}

bool TfmFiles::CancelRequested() const {
  return flow_->CancelRequested();
}

void TfmFiles::ShowChecks() {
  const std::pair<QAction*, SortKey> keys[] = {{FilePathName1, SortKey::skNameText},
                                               {FileSize1, SortKey::skSizeText},
                                               {FileName1, SortKey::skFileName},
                                               {FileExtension1, SortKey::skFileExt},
                                               {FilePath1, SortKey::skFilePath}};
  for (const auto& [action, key] : keys) {
    action->setChecked(menus_.IsChecked(key));
  }
  Ascending1->setChecked(menus_.IsChecked(SortDirection::Ascending));
  Descending1->setChecked(menus_.IsChecked(SortDirection::Descending));
}

void TfmFiles::DriveComboBox1Change() {
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, ChosenDriveLetter(DriveComboBox1),
                     true);
}

void TfmFiles::DirectoryListBox1Change() {
  FollowChosenDirectory(drives_, DriveComboBox1, DirectoryListBox1->Directory());
}

void TfmFiles::Run() {
  const FlowRun run = RunFlow(this, *flow_, whileBusy);
  longestGapMs_ = static_cast<int>(run.longestGap.count());
  if (run.closed) {
    reject();
  }
}

void TfmFiles::Button1Click() {
  if (flow_->Begin(drives_.Drives(), DirectoryListBox1->Directory(), Edit1->text().toStdString())) {
    Run();
  }
}

void TfmFiles::SortBy(SortKey key) {
  menus_.Choose(key);
  SortAs(menus_.Order());
}

void TfmFiles::SortAs(SortDirection order) {
  menus_.SetOrder(order);
  ShowChecks();
  if (flow_->BeginSort(menus_.Key(), order)) {
    Run();
  }
}

void TfmFiles::FilePathName1Click() {
  SortBy(SortKey::skNameText);
}
void TfmFiles::FileSize1Click() {
  SortBy(SortKey::skSizeText);
}
void TfmFiles::FileName1Click() {
  SortBy(SortKey::skFileName);
}
void TfmFiles::FileExtension1Click() {
  SortBy(SortKey::skFileExt);
}
void TfmFiles::FilePath1Click() {
  SortBy(SortKey::skFilePath);
}
void TfmFiles::Ascending1Click() {
  SortAs(SortDirection::Ascending);
}
void TfmFiles::Descending1Click() {
  SortAs(SortDirection::Descending);
}

void TfmFiles::Font1Click() {
  const std::optional<Font> chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  SetGridFont(StringGrid1, model_, *chosen);
  settings_.FilesFontColor = static_cast<std::int32_t>(chosen->color);
  settings_.FilesFontSize = chosen->pointSize;
}

void TfmFiles::StringGrid1Click() {
  TrashChosenFile(StringGrid1, model_, rows_.grid, "", dirs_, trash_, prompts_, Panel1);
}

void TfmFiles::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The rule counts the outer size, frame and menu included (592 x 362
  // outside). The grid keeps its height, but never runs past the inside:
  // the design's grid is 13 pixels taller than its window leaves it.
  const int gridWidth = DesignOuterSize(this, menuBar_).width() - 40;
  StringGrid1->resize(
      gridWidth, std::min(kGridHeight, client_->height() - StringGrid1->y() - StringGrid1->x()));
  StringGrid1->setColumnWidth(0, static_cast<int>(RoundHalfEven(gridWidth * 10.0 / 17.0)));
  StringGrid1->setColumnWidth(1, static_cast<int>(RoundHalfEven(gridWidth / 4.0)));
  StringGrid1->setColumnWidth(2, static_cast<int>(RoundHalfEven(gridWidth / 6.0)));
}

void TfmFiles::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  AddMenuEntry(&menu, "SortAscending1", "Sort &Ascending", this, &TfmFiles::Ascending1Click, false);
  AddMenuEntry(&menu, "SortDescending1", "Sort &Descending", this, &TfmFiles::Descending1Click,
               false);
  menu.exec(event->globalPos());
}

void TfmFiles::showEvent(QShowEvent* event) {
  CentreOnShow(this, event);
  QDialog::showEvent(event);
}

void TfmFiles::keyPressEvent(QKeyEvent* event) {
  // Escape only ever cancels a running search or sort; it never closes the window.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace zub
