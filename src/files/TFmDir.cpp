#include "files/TFmDir.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTableView>

#include "files/BusyWork.h"
#include "files/DirectoryChooser.h"
#include "files/FileGridModel.h"
#include "files/FileWindowParts.h"
#include "files/FmDirRules.h"
#include "files/ListingFlow.h"
#include "ui/Activation.h"
#include "ui/QtCanvas.h"

namespace zub {

TFmDir::TFmDir(MonitorSettings& settings, DriveTable& drives, std::function<char()> mainDriveLetter,
               DirectorySource& dirs, Trash& trash, Prompts& prompts, QWidget* parent,
               const WorkLimits& limits)
    : QDialog(parent),
      settings_(settings),
      drives_(drives),
      mainDriveLetter_(std::move(mainDriveLetter)),
      dirs_(dirs),
      trash_(trash),
      prompts_(prompts) {
  setObjectName("FmDir");
  setWindowTitle(kFmDirCaption);
  setFont(ToQFont(PointFont(8)));

  client_ = NewMenuClient(this, menuBar_);

  QMenu* units = menuBar_->addMenu("Space &Units");
  Mb1 = AddMenuEntry(units, "Mb1", "&Mb", this, &TFmDir::Mb1Click, true);
  Kb1 = AddMenuEntry(units, "Kb1", "&Kb", this, &TFmDir::Kb1Click, true);
  Bytes1 = AddMenuEntry(units, "Bytes1", "&Bytes", this, &TFmDir::Bytes1Click, true);
  QMenu* display = menuBar_->addMenu("&Display");
  Directories1 =
      AddMenuEntry(display, "Directories1", "&Directories", this, &TFmDir::Directories1Click, true);
  Files1 = AddMenuEntry(display, "Files1", "&Files", this, &TFmDir::Files1Click, true);
  QMenu* sort = menuBar_->addMenu("&Sort");
  FileName1 = AddMenuEntry(sort, "FileName1", "File &Name", this, &TFmDir::FileName1Click, true);
  FileSize1 = AddMenuEntry(sort, "FileSize1", "File &Size", this, &TFmDir::FileSize1Click, true);
  FileExtension1 = AddMenuEntry(sort, "FileExtension1", "File &Extension", this,
                                &TFmDir::FileExtension1Click, true);
  QMenu* order = menuBar_->addMenu("Sort &Order");
  Ascending1 =
      AddMenuEntry(order, "Ascending1", "&A..Z or Ascending", this, &TFmDir::Ascending1Click, true);
  Descending1 = AddMenuEntry(order, "Descending1", "&Z..A  or Descending", this,
                             &TFmDir::Descending1Click, true);
  QMenu* font = menuBar_->addMenu("Fon&t");
  AddMenuEntry(font, "FontFiles1", "&Files", this, &TFmDir::FontFiles1Click, false);
  AddMenuEntry(font, "FontDirectories1", "&Directories", this, &TFmDir::FontDirectories1Click,
               false);
  for (const auto& group :
       {std::vector<QAction*>{Mb1, Kb1, Bytes1}, std::vector<QAction*>{Directories1, Files1},
        std::vector<QAction*>{FileName1, FileSize1, FileExtension1},
        std::vector<QAction*>{Ascending1, Descending1}}) {
    auto* exclusive = new QActionGroup(this);
    for (QAction* action : group) {
      exclusive->addAction(action);
    }
  }
  Mb1->setChecked(true);
  Directories1->setChecked(true);
  FileSize1->setChecked(true);
  Descending1->setChecked(true);

  DriveComboBox1 =
      NewDriveChooser(drives_, client_, {8, 0, 145, 19}, [this] { DriveComboBox1Change(); });

  Panel1 = new QLabel(client_);
  Panel1->setObjectName("Panel1");
  Panel1->setAccessibleName("Space used");
  // 40 high, not 41: its last row would lie under the list below it.
  Panel1->setGeometry(8, 24, 289, 40);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::yellow);
  Panel1->setPalette(palette);
  Panel1->setFont(ToQFont(PointFont(12)));
  Panel1->installEventFilter(this);

  DirectoryListBox1 = new DirectoryChooser(dirs_, client_, limits);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setAccessibleName("Directory");
  DirectoryListBox1->setGeometry(8, 64, 289, 105);
  DirectoryListBox1->setFont(ToQFont(PointFont(10)));
  connect(DirectoryListBox1, &DirectoryChooser::directoryChanged, this,
          [this] { DirectoryListBox1Change(); });

  StringGrid1 = NewFileGridView(
      grid_, model_, [this] { StringGrid1Click(); }, client_, "Files");
  StringGrid1->setGeometry(8, 64, 273, 129);
  StringGrid1->horizontalHeader()->setDefaultSectionSize(80);
  StringGrid1->setShowGrid(true);
  StringGrid1->viewport()->setCursor(Qt::CrossCursor);
  StringGrid1->hide();

  Label1 = new QLabel(kFmDirNote, client_);
  Label1->setObjectName("Label1");
  Label1->move(8, 216);
  Label1->adjustSize();

  // The grid and the dialog start on the stored directory font.
  dialogFont_ = Font{settings_.DirFontName, settings_.DirFontSize,
                     static_cast<ColorRef>(settings_.DirFontColor)};
  SetGridFont(StringGrid1, model_, dialogFont_);
  view_ = std::make_unique<WindowFlowView>(
      WindowFlowView::Parts{this, Panel1, StringGrid1, model_, &grid_, nullptr, nullptr, {}, {}});
  flow_ = std::make_unique<ListingFlow>(dirs_, prompts_, grid_, *view_, FlowClock{}, limits);

  ResizeToOuter(this, {470, 278}, menuBar_);
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, mainDriveLetter_(), false);
  WatchActivation(this, [this] { FormActivate(); });
}

TFmDir::~TFmDir() = default;

SizeUnit TFmDir::CheckedUnit() const {
  return Kb1->isChecked() ? SizeUnit::Kb : Bytes1->isChecked() ? SizeUnit::Bytes : SizeUnit::Mb;
}

SortKey TFmDir::CheckedKey() const {
  return FileName1->isChecked()        ? SortKey::skNameText
         : FileExtension1->isChecked() ? SortKey::skFileExt
                                       : SortKey::skSizeText;
}

SortDirection TFmDir::CheckedDirection() const {
  return Ascending1->isChecked() ? SortDirection::Ascending : SortDirection::Descending;
}

const std::string& TFmDir::ListedDirectory() const {
  return flow_->Last().directory;
}

const Listing& TFmDir::LastListing() const {
  return flow_->Last();
}

void TFmDir::Run() {
  const FlowRun run = RunFlow(this, *flow_, whileBusy);
  if (run.closed) {
    reject();
  }
}

void TFmDir::List(ListingPanel panel) {
  PrepareListingGrid(StringGrid1, DesignOuterSize(this, menuBar_).width());
  if (flow_->BeginListing(DirectoryListBox1->Directory(), CheckedKey(), CheckedDirection(),
                          std::move(panel))) {
    Run();
  }
}

void TFmDir::FormActivate() {
  const char letter = mainDriveLetter_();
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, letter, false);
  List([letter](const Listing& listing) { return ActivationPanel(listing, letter); });
}

void TFmDir::DriveComboBox1Change() {
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, ChosenDriveLetter(DriveComboBox1),
                     true);
}

void TFmDir::DirectoryListBox1Change() {
  FollowChosenDirectory(drives_, DriveComboBox1, DirectoryListBox1->Directory());
  Panel1->setFont(ToQFont(PointFont(12)));
  List([unit = CheckedUnit()](const Listing& listing) {
    return std::optional<std::string>(DirectoryPanelText(unit, listing));
  });
}

void TFmDir::ShowUnit(QAction* entry, SizeUnit unit) {
  entry->setChecked(true);
  if (const auto text = UnitPanelText(unit, flow_->Last().total)) {
    view_->ShowPanel(*text);
  }
}

void TFmDir::Mb1Click() {
  ShowUnit(Mb1, SizeUnit::Mb);
}

void TFmDir::Kb1Click() {
  ShowUnit(Kb1, SizeUnit::Kb);
}

void TFmDir::Bytes1Click() {
  ShowUnit(Bytes1, SizeUnit::Bytes);
}

void TFmDir::Directories1Click() {
  Directories1->setChecked(true);
  DirectoryListBox1->show();
  StringGrid1->hide();
}

void TFmDir::Files1Click() {
  Files1->setChecked(true);
  StringGrid1->show();
  DirectoryListBox1->hide();
}

void TFmDir::Panel1Click() {
  if (Directories1->isChecked()) {
    Files1Click();
  } else {
    Directories1Click();
  }
}

void TFmDir::FileName1Click() {
  FileName1->setChecked(true);
  List({});
}

void TFmDir::FileSize1Click() {
  FileSize1->setChecked(true);
  List({});
}

void TFmDir::FileExtension1Click() {
  FileExtension1->setChecked(true);
  List({});
}

void TFmDir::SortAs(QAction* entry, SortDirection direction) {
  entry->setChecked(true);
  if (flow_->BeginSort(CheckedKey(), direction, grid_.RowCount())) {
    Run();
  }
}

void TFmDir::Ascending1Click() {
  SortAs(Ascending1, SortDirection::Ascending);
}

void TFmDir::Descending1Click() {
  SortAs(Descending1, SortDirection::Descending);
}

void TFmDir::FontFiles1Click() {
  const std::optional<Font> chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  SetGridFont(StringGrid1, model_, *chosen);
  settings_.DirFontSize = chosen->pointSize;
  settings_.DirFontColor = static_cast<std::int32_t>(chosen->color);
}

void TFmDir::FontDirectories1Click() {
  const std::optional<Font> chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  // The directories take it; the path line above them keeps the window's
  // font, so that a large font cannot push it out of the chooser.
  ApplyFont(DirectoryListBox1->List(), *chosen);
}

void TFmDir::StringGrid1Click() {
  TrashChosenFile(StringGrid1, model_, grid_, ListedDirectory(), dirs_, trash_, prompts_, Panel1);
}

void TFmDir::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The rule counts the outer size, frame and menu included, as the window
  // was designed (470 x 278 outside, 232 high inside).
  const QSize outer = DesignOuterSize(this, menuBar_);
  const FmDirGeometry g = FmDirResize(outer.width(), outer.height(), client_->height());
  StringGrid1->resize(g.gridWidth, g.gridHeight);
  Panel1->resize(g.gridWidth, Panel1->height());
  StringGrid1->setColumnWidth(0, g.column0Width);
  StringGrid1->setColumnWidth(1, g.column1Width);
  DirectoryListBox1->resize(g.gridWidth, g.gridHeight);
  Label1->move(Label1->x(), g.noteTop);
}

void TFmDir::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  AddMenuEntry(&menu, "PopupDirectories1", "&Directories", this, &TFmDir::Directories1Click, false);
  AddMenuEntry(&menu, "PopupFiles1", "&Files", this, &TFmDir::Files1Click, false);
  AddMenuEntry(&menu, "SortAscending1", "Sort &Ascending", this, &TFmDir::Ascending1Click, false);
  AddMenuEntry(&menu, "SortDescending1", "Sort D&escending", this, &TFmDir::Descending1Click,
               false);
  menu.exec(event->globalPos());
}

void TFmDir::showEvent(QShowEvent* event) {
  CentreOnShow(this, event);
  QDialog::showEvent(event);
}

bool TFmDir::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Panel1 && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Panel1Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace zub
