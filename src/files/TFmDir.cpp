#include "files/TFmDir.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include "files/ChoosingView.h"
#include "files/DirectoryChooser.h"
#include "files/FileGridModel.h"
#include "files/FmDirRules.h"
#include "files/Recycle.h"
#include "monitor/MonitorWindowRules.h"
#include "ui/Activation.h"
#include "ui/QtCanvas.h"
#include "ui/WaitCursor.h"

namespace zub {
namespace {

constexpr int kDesignFrameWidth = 8;    // two 4-pixel borders
constexpr int kDesignFrameHeight = 46;  // caption, menu bar and borders

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Font PointFont(int pointSize) {
  Font font;
  font.pointSize = pointSize;
  return font;
}

}  // namespace

TFmDir::TFmDir(MonitorSettings& settings, DriveTable& drives, std::function<char()> mainDriveLetter,
               DirectorySource& dirs, Trash& trash, Prompts& prompts, QWidget* parent)
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

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  layout->setMenuBar(menuBar_);
  client_ = new QWidget(this);
  layout->addWidget(client_);

  QMenu* units = menuBar_->addMenu("Space &Units");
  Mb1 = AddCheck(units, "Mb1", "&Mb", &TFmDir::Mb1Click);
  Kb1 = AddCheck(units, "Kb1", "&Kb", &TFmDir::Kb1Click);
  Bytes1 = AddCheck(units, "Bytes1", "&Bytes", &TFmDir::Bytes1Click);
  QMenu* display = menuBar_->addMenu("&Display");
  Directories1 = AddCheck(display, "Directories1", "&Directories", &TFmDir::Directories1Click);
  Files1 = AddCheck(display, "Files1", "&Files", &TFmDir::Files1Click);
  QMenu* sort = menuBar_->addMenu("&Sort");
  FileName1 = AddCheck(sort, "FileName1", "File &Name", &TFmDir::FileName1Click);
  FileSize1 = AddCheck(sort, "FileSize1", "File &Size", &TFmDir::FileSize1Click);
  FileExtension1 =
      AddCheck(sort, "FileExtension1", "File &Extension", &TFmDir::FileExtension1Click);
  QMenu* order = menuBar_->addMenu("Sort &Order");
  Ascending1 = AddCheck(order, "Ascending1", "&A..Z or Ascending", &TFmDir::Ascending1Click);
  Descending1 = AddCheck(order, "Descending1", "&Z..A  or Descending", &TFmDir::Descending1Click);
  QMenu* font = menuBar_->addMenu("Fon&t");
  AddCommand(font, "FontFiles1", "&Files", &TFmDir::FontFiles1Click);
  AddCommand(font, "FontDirectories1", "&Directories", &TFmDir::FontDirectories1Click);
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

  DriveComboBox1 = new QComboBox(client_);
  DriveComboBox1->setObjectName("DriveComboBox1");
  DriveComboBox1->setAccessibleName("Drive");
  DriveComboBox1->setGeometry(8, 0, 145, 19);
  for (const DriveListEntry& entry : DriveListEntries(drives_.Drives())) {
    DriveComboBox1->addItem(Q(entry.text), QChar(entry.letter));
  }
  connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
          [this] { DriveComboBox1Change(); });

  Panel1 = new QLabel(client_);
  Panel1->setObjectName("Panel1");
  Panel1->setAccessibleName("Space used");
  Panel1->setGeometry(8, 24, 289, 41);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::yellow);
  Panel1->setPalette(palette);
  Panel1->setFont(ToQFont(PointFont(12)));
  Panel1->installEventFilter(this);

  DirectoryListBox1 = new DirectoryChooser(dirs_, client_);
  DirectoryListBox1->setObjectName("DirectoryListBox1");
  DirectoryListBox1->setAccessibleName("Directory");
  DirectoryListBox1->setGeometry(8, 64, 289, 105);
  DirectoryListBox1->setFont(ToQFont(PointFont(10)));
  connect(DirectoryListBox1, &DirectoryChooser::directoryChanged, this,
          [this] { DirectoryListBox1Change(); });

  StringGrid1 = NewChoosingGrid(
      grid_, [this] { StringGrid1Click(); }, client_);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setAccessibleName("Files");
  StringGrid1->setGeometry(8, 64, 273, 129);
  model_ = new FileGridModel(grid_, StringGrid1);
  StringGrid1->setModel(model_);
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setDefaultSectionSize(80);
  StringGrid1->setShowGrid(true);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setWordWrap(false);
  StringGrid1->viewport()->setCursor(Qt::CrossCursor);
  StringGrid1->hide();

  Label1 = new QLabel(kFmDirNote, client_);
  Label1->setObjectName("Label1");
  Label1->move(8, 216);
  Label1->adjustSize();

  // The grid and the dialog start on the stored directory font.
  dialogFont_ = Font{settings_.DirFontName, settings_.DirFontSize,
                     static_cast<ColorRef>(settings_.DirFontColor)};
  StringGrid1->setFont(ToQFont(dialogFont_));
  StringGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(StringGrid1->font()).height() +
                                                       4);
  model_->SetTextColor(ToQColor(dialogFont_.color));

  resize(470 - kDesignFrameWidth, 278 - kDesignFrameHeight + menuBar_->sizeHint().height());
  MoveToDrive(mainDriveLetter_(), false);
  WatchActivation(this, [this] { FormActivate(); });
}

TFmDir::~TFmDir() = default;

QAction* TFmDir::AddCheck(QMenu* menu, const char* name, const QString& text,
                          void (TFmDir::*handler)()) {
  QAction* action = AddCommand(menu, name, text, handler);
  action->setCheckable(true);
  return action;
}

QAction* TFmDir::AddCommand(QMenu* menu, const char* name, const QString& text,
                            void (TFmDir::*handler)()) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  return action;
}

char TFmDir::ChosenDrive() const {
  const QVariant data = DriveComboBox1->currentData();
  return data.isValid() ? static_cast<char>(data.toChar().toLatin1()) : 0;
}

void TFmDir::MoveToDrive(char letter, bool notify) {
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, letter, notify);
}

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

void TFmDir::SetPanel(const std::string& text, int pointSize) {
  Panel1->setFont(ToQFont(PointFont(pointSize)));
  Panel1->setText(Q(text));
  Panel1->setToolTip(Q(text));
}

void TFmDir::List() {
  const WaitCursor hourglass;
  StringGrid1->setColumnWidth(0, 160);
  StringGrid1->setColumnWidth(1, 100);
  StringGrid1->resize(width() + kDesignFrameWidth - 10, StringGrid1->height());
  listing_ =
      ListDirectory(dirs_, DirectoryListBox1->Directory(), grid_, CheckedKey(), CheckedDirection());
  model_->Reload();
  KeepCurrentCell();
  setWindowTitle(Q(listing_.caption));
}

// The view shows the recorded cell again after its rows changed.
void TFmDir::KeepCurrentCell() {
  grid_.selected.row = std::min(grid_.selected.row, grid_.RowCount() - 1);
  StringGrid1->selectionModel()->setCurrentIndex(
      model_->index(static_cast<int>(grid_.selected.row), grid_.selected.column),
      QItemSelectionModel::ClearAndSelect);
}

void TFmDir::FormActivate() {
  const char letter = mainDriveLetter_();
  MoveToDrive(letter, false);
  if (DirectoryListBox1->Directory().empty()) {
    // The main window's drive is gone and this window was never anywhere:
    // nothing to list, and never the working directory in its place.
    listing_ = Listing{};
    grid_.ClearCells();
    model_->Reload();
    KeepCurrentCell();
    Panel1->setText(Q(DriveNotReadyMessage(letter)));
    return;
  }
  List();
  Panel1->setText(Q(ActivationPanelText(listing_)));
}

void TFmDir::DriveComboBox1Change() {
  MoveToDrive(ChosenDrive(), true);
}

void TFmDir::DirectoryListBox1Change() {
  const std::string& directory = DirectoryListBox1->Directory();
  if (const char letter = DriveHolding(drives_.Drives(), directory); letter != 0) {
    drives_.SetCurrentDirectory(letter, directory);
    const int index = DriveComboBox1->findData(QChar(letter));
    if (index >= 0 && index != DriveComboBox1->currentIndex()) {
      const QSignalBlocker quiet(DriveComboBox1);
      DriveComboBox1->setCurrentIndex(index);
    }
  }
  Panel1->setFont(ToQFont(PointFont(12)));
  List();
  Panel1->setText(Q(DirectoryPanelText(CheckedUnit(), listing_)));
}

void TFmDir::Mb1Click() {
  Mb1->setChecked(true);
  if (const auto text = UnitPanelText(SizeUnit::Mb, listing_.total)) {
    Panel1->setText(Q(*text));
  }
}

void TFmDir::Kb1Click() {
  Kb1->setChecked(true);
  if (const auto text = UnitPanelText(SizeUnit::Kb, listing_.total)) {
    Panel1->setText(Q(*text));
  }
}

void TFmDir::Bytes1Click() {
  Bytes1->setChecked(true);
  if (const auto text = UnitPanelText(SizeUnit::Bytes, listing_.total)) {
    Panel1->setText(Q(*text));
  }
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
  List();
}

void TFmDir::FileSize1Click() {
  FileSize1->setChecked(true);
  List();
}

void TFmDir::FileExtension1Click() {
  FileExtension1->setChecked(true);
  List();
}

void TFmDir::SortAs(SortDirection direction) {
  const WaitCursor hourglass;
  SortGrid(grid_, CheckedKey(), direction);
  model_->Reload();
  KeepCurrentCell();
}

void TFmDir::Ascending1Click() {
  Ascending1->setChecked(true);
  SortAs(SortDirection::Ascending);
}

void TFmDir::Descending1Click() {
  Descending1->setChecked(true);
  SortAs(SortDirection::Descending);
}

void TFmDir::FontFiles1Click() {
  const std::optional<Font> chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  StringGrid1->setFont(ToQFont(*chosen));
  StringGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(StringGrid1->font()).height() +
                                                       4);
  model_->SetTextColor(ToQColor(chosen->color));
  settings_.DirFontSize = chosen->pointSize;
  settings_.DirFontColor = static_cast<std::int32_t>(chosen->color);
}

void TFmDir::FontDirectories1Click() {
  const std::optional<Font> chosen = prompts_.ChooseFont(dialogFont_);
  if (!chosen) {
    return;
  }
  dialogFont_ = *chosen;
  DirectoryListBox1->setFont(ToQFont(*chosen));
  QPalette palette = DirectoryListBox1->palette();
  palette.setColor(QPalette::Text, ToQColor(chosen->color));
  palette.setColor(QPalette::WindowText, ToQColor(chosen->color));
  DirectoryListBox1->setPalette(palette);
}

void TFmDir::StringGrid1Click() {
  // No second choice can start while the question is open.
  const bool hadFocus = StringGrid1->hasFocus();
  StringGrid1->setEnabled(false);
  const DeleteOutcome outcome =
      DeleteClickedFile(grid_, listing_.directory, dirs_, trash_, prompts_);
  if (outcome.acted) {
    SetPanel(outcome.panelText, 10);
    model_->RowChanged(grid_.selected.row);
  }
  StringGrid1->setEnabled(true);
  if (hadFocus) {
    StringGrid1->setFocus();
  }
}

void TFmDir::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The rule counts the outer size, frame and menu included, as the window
  // was designed (470 x 278 outside, 232 high inside). Window managers draw
  // frames of their own, often only after the first resize, so the design's
  // frame is added to the client size instead of asking for it.
  const FmDirGeometry g = FmDirResize(width() + kDesignFrameWidth,
                                      client_->height() + kDesignFrameHeight, client_->height());
  StringGrid1->resize(g.gridWidth, g.gridHeight);
  Panel1->resize(g.gridWidth, Panel1->height());
  StringGrid1->setColumnWidth(0, g.column0Width);
  StringGrid1->setColumnWidth(1, g.column1Width);
  DirectoryListBox1->resize(g.gridWidth, g.gridHeight);
  Label1->move(Label1->x(), g.noteTop);
}

void TFmDir::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  AddCommand(&menu, "PopupDirectories1", "&Directories", &TFmDir::Directories1Click);
  AddCommand(&menu, "PopupFiles1", "&Files", &TFmDir::Files1Click);
  AddCommand(&menu, "SortAscending1", "Sort &Ascending", &TFmDir::Ascending1Click);
  AddCommand(&menu, "SortDescending1", "Sort D&escending", &TFmDir::Descending1Click);
  menu.exec(event->globalPos());
}

void TFmDir::showEvent(QShowEvent* event) {
  if (const QScreen* shown = screen(); shown != nullptr && !event->spontaneous()) {
    const QRect area = shown->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
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
