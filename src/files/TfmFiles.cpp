#include "files/TfmFiles.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <chrono>
#include <mutex>

#include "files/BusyWork.h"
#include "files/ChoosingView.h"
#include "files/DirectoryChooser.h"
#include "files/FileGridModel.h"
#include "files/Recycle.h"
#include "monitor/MonitorWindowRules.h"
#include "monitor/NumberText.h"
#include "ui/QtCanvas.h"
#include "ui/WaitCursor.h"

namespace zub {
namespace {

QString Q(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Font PointFont(int pointSize) {
  Font font;
  font.pointSize = pointSize;
  return font;
}

// A read stuck in the kernel (a network drive gone quiet) is left behind
// this long after Escape, with the rows found so far.
constexpr auto kGiveUpAfter = std::chrono::milliseconds(1500);

// What the worker of one walk owns or shares.
struct WalkJob {
  std::shared_ptr<SearchFlags> flags;
  std::atomic<bool> stop{false};
  std::mutex lock;  // held while a row is added
  SearchRows rows;
  SearchEnd end = SearchEnd::Finished;
};

struct SortJob {
  std::shared_ptr<SearchFlags> flags;
  FileGrid grid{GridKind::FileSearch};
  SearchEnd end = SearchEnd::Finished;
};

}  // namespace

TfmFiles::TfmFiles(MonitorSettings& settings, DriveTable& drives,
                   std::function<char()> mainDriveLetter, DirectorySource& dirs, Trash& trash,
                   Prompts& prompts, QWidget* parent)
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

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  menuBar_ = new QMenuBar(this);
  layout->setMenuBar(menuBar_);
  client_ = new QWidget(this);
  layout->addWidget(client_);

  QMenu* sort = menuBar_->addMenu("&Sort");
  FilePathName1 =
      AddEntry(sort, "FilePathName1", "File &Path+Name", &TfmFiles::FilePathName1Click, true);
  FileSize1 = AddEntry(sort, "FileSize1", "File &Size", &TfmFiles::FileSize1Click, true);
  FileName1 = AddEntry(sort, "FileName1", "File &Name", &TfmFiles::FileName1Click, true);
  FileExtension1 =
      AddEntry(sort, "FileExtension1", "File &Extension", &TfmFiles::FileExtension1Click, true);
  FilePath1 = AddEntry(sort, "FilePath1", "File P&ath", &TfmFiles::FilePath1Click, true);
  QMenu* order = menuBar_->addMenu("Sort &Order");
  Ascending1 = AddEntry(order, "Ascending1", "&A..Z Ascending", &TfmFiles::Ascending1Click, true);
  Descending1 =
      AddEntry(order, "Descending1", "&Z..A Descending", &TfmFiles::Descending1Click, true);
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
  Label1->setGeometry(176, 48, 295, 26);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  DriveComboBox1 = new QComboBox(client_);
  DriveComboBox1->setObjectName("DriveComboBox1");
  DriveComboBox1->setAccessibleName("Drive");
  DriveComboBox1->setGeometry(8, 48, 145, 19);
  for (const DriveListEntry& entry : DriveListEntries(drives_.Drives())) {
    DriveComboBox1->addItem(Q(entry.text), QChar(entry.letter));
  }
  connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
          [this] { DriveComboBox1Change(); });

  DirectoryListBox1 = new DirectoryChooser(dirs_, client_);
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

  StringGrid1 = NewChoosingGrid(
      rows_.grid, [this] { StringGrid1Click(); }, client_);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setAccessibleName("Files found");
  StringGrid1->setGeometry(8, 144, 569, 185);
  rows_.grid.SetRowCount(5);
  model_ = new FileGridModel(rows_.grid, StringGrid1);
  StringGrid1->setModel(model_);
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setDefaultSectionSize(100);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setWordWrap(false);
  StringGrid1->setColumnWidth(0, 350);
  StringGrid1->setColumnWidth(1, 100);

  dialogFont_ = Font{settings_.FilesFontName, settings_.FilesFontSize,
                     static_cast<ColorRef>(settings_.FilesFontColor)};
  StringGrid1->setFont(ToQFont(dialogFont_));
  StringGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(StringGrid1->font()).height() +
                                                       4);
  model_->SetTextColor(ToQColor(dialogFont_.color));
  ShowChecks();
  resize(592, 362);
  MoveToDrive(mainDriveLetter_(), false);
}

TfmFiles::~TfmFiles() {
  // A worker given up on keeps only what it shares; nothing here waits for it.
  if (flags_) {
    flags_->cancelRequested = true;
  }
}

QAction* TfmFiles::AddEntry(QMenu* menu, const char* name, const QString& text,
                            void (TfmFiles::*handler)(), bool checkable) {
  QAction* action = menu->addAction(text);
  action->setObjectName(name);
  action->setCheckable(checkable);
  connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  return action;
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

void TfmFiles::MoveToDrive(char letter, bool notify) {
  MoveChooserToDrive(drives_, DriveComboBox1, DirectoryListBox1, letter, notify);
}

void TfmFiles::DriveComboBox1Change() {
  const QVariant data = DriveComboBox1->currentData();
  if (data.isValid()) {
    MoveToDrive(static_cast<char>(data.toChar().toLatin1()), true);
  }
}

void TfmFiles::DirectoryListBox1Change() {
  const std::string& directory = DirectoryListBox1->Directory();
  char letter = 0;
  std::size_t best = 0;
  for (const DriveInfo& drive : drives_.Drives()) {
    const std::string& mount = drive.mountPoint;
    const bool inside =
        directory.compare(0, mount.size(), mount) == 0 &&
        (directory.size() == mount.size() || mount == "/" || directory[mount.size()] == '/');
    if (inside && mount.size() >= best) {
      best = mount.size();
      letter = drive.letter;
    }
  }
  if (letter != 0) {
    drives_.SetCurrentDirectory(letter, directory);
    const int index = DriveComboBox1->findData(QChar(letter));
    if (index >= 0 && index != DriveComboBox1->currentIndex()) {
      const QSignalBlocker quiet(DriveComboBox1);
      DriveComboBox1->setCurrentIndex(index);
    }
  }
}

void TfmFiles::Escape() {
  flags_->cancelRequested = true;
}

void TfmFiles::KeepCurrentCell() {
  rows_.grid.selected.row = std::min(rows_.grid.selected.row, rows_.grid.RowCount() - 1);
  StringGrid1->selectionModel()->setCurrentIndex(
      model_->index(static_cast<int>(rows_.grid.selected.row), rows_.grid.selected.column),
      QItemSelectionModel::ClearAndSelect);
}

void TfmFiles::Button1Click() {
  if (flags_->searchBusy) {
    return;
  }
  const std::string start = DirectoryListBox1->Directory();
  const std::string mask = Edit1->text().toStdString();
  if (AsksWholeDrive(IsDriveRoot(drives_.Drives(), start), mask) &&
      prompts_.Ask(kWholeDriveQuestion, false) != Answer::Yes) {
    return;
  }
  const WaitCursor hourglass;
  flags_->cancelRequested = false;
  flags_->searchBusy = false;
  ClearSearch(rows_);
  model_->Reload();
  KeepCurrentCell();
  Panel1->setText(kScanningText);
  StringGrid1->setFocus();

  auto job = std::make_shared<WalkJob>();
  job->flags = flags_;
  job->flags->searchBusy = true;
  DirectorySource& source = dirs_;
  std::optional<std::chrono::steady_clock::time_point> cancelledAt;
  BusyOptions options;
  options.onEscape = [&] {
    Escape();
    job->stop = true;
    if (!cancelledAt) {
      cancelledAt = std::chrono::steady_clock::now();
    }
  };
  options.onClose = [&] {
    closeAsked_ = true;
    options.onEscape();
  };
  options.giveUp = [&] {
    if (whileBusy) {
      whileBusy();
    }
    return cancelledAt && std::chrono::steady_clock::now() - *cancelledAt > kGiveUpAfter;
  };
  const BusyOutcome outcome = RunBusy(
      this,
      [job, &source, start, mask] {
        StoppableSource stoppable(source, job->stop);
        job->end = SearchWalk(stoppable, start, mask, job->rows, *job->flags, {}, &job->lock);
      },
      options);
  longestGapMs_ = static_cast<int>(outcome.longestGap.count());
  SearchEnd end = job->end;
  if (outcome.finished) {
    rows_ = std::move(job->rows);
  } else {
    {
      const std::lock_guard<std::mutex> hold(job->lock);
      rows_.grid = job->rows.grid;
      rows_.total = job->rows.total;
    }
    // The stuck worker keeps its own flags; the window starts on clear ones.
    flags_ = std::make_shared<SearchFlags>();
    end = SearchEnd::Cancelled;
  }
  flags_->searchBusy = false;
  flags_->cancelRequested = false;
  model_->Reload();
  KeepCurrentCell();
  if (end == SearchEnd::Cancelled && !closeAsked_) {
    prompts_.ShowMessage(kSearchCancelled);
  }
  Panel1->setText(kSortingText);
  if (!closeAsked_ &&
      SortOnWorker(SortKey::skSizeText, SortDirection::Descending) == SearchEnd::Cancelled) {
    if (!closeAsked_) {
      prompts_.ShowMessage(kSortCancelled);
    }
  }
  Panel1->setText(Q(SearchTotalText(rows_.total)));
  if (closeAsked_) {
    closeAsked_ = false;
    reject();
  }
}

SearchEnd TfmFiles::SortOnWorker(SortKey key, SortDirection order) {
  StringGrid1->setFocus();
  auto job = std::make_shared<SortJob>();
  job->flags = flags_;
  model_->Reload();
  // The view shows a blank row while the rows are sorted elsewhere.
  std::swap(job->grid, rows_.grid);
  model_->Reload();
  BusyOptions options;
  options.onEscape = [this] { Escape(); };
  options.onClose = [this] {
    closeAsked_ = true;
    Escape();
  };
  options.giveUp = [this] {
    if (whileBusy) {
      whileBusy();
    }
    return false;
  };
  RunBusy(
      this, [job, key, order] { job->end = SearchSort(job->grid, key, order, *job->flags, {}); },
      options);
  std::swap(job->grid, rows_.grid);
  model_->Reload();
  KeepCurrentCell();
  return job->end;
}

void TfmFiles::SortBy(SortKey key) {
  menus_.Choose(key);
  ShowChecks();
  SortAs(menus_.Order());
}

void TfmFiles::SortAs(SortDirection order) {
  menus_.SetOrder(order);
  ShowChecks();
  if (flags_->searchBusy) {
    return;
  }
  const WaitCursor hourglass;
  if (SortOnWorker(menus_.Key(), order) == SearchEnd::Cancelled && !closeAsked_) {
    prompts_.ShowMessage(kSortCancelled);
  }
  if (closeAsked_) {
    closeAsked_ = false;
    reject();
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
  StringGrid1->setFont(ToQFont(*chosen));
  StringGrid1->verticalHeader()->setDefaultSectionSize(QFontMetrics(StringGrid1->font()).height() +
                                                       4);
  model_->SetTextColor(ToQColor(chosen->color));
  settings_.FilesFontColor = static_cast<std::int32_t>(chosen->color);
  settings_.FilesFontSize = chosen->pointSize;
}

void TfmFiles::StringGrid1Click() {
  const bool hadFocus = StringGrid1->hasFocus();
  StringGrid1->setEnabled(false);
  const DeleteOutcome outcome = DeleteClickedFile(rows_.grid, "", dirs_, trash_, prompts_);
  if (outcome.acted) {
    Panel1->setFont(ToQFont(PointFont(10)));
    Panel1->setText(Q(outcome.panelText));
    model_->RowChanged(rows_.grid.selected.row);
  }
  StringGrid1->setEnabled(true);
  if (hadFocus) {
    StringGrid1->setFocus();
  }
}

void TfmFiles::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int gridWidth = width() - 40;
  StringGrid1->resize(gridWidth, StringGrid1->height());
  StringGrid1->setColumnWidth(0, static_cast<int>(RoundHalfEven(gridWidth * 10.0 / 17.0)));
  StringGrid1->setColumnWidth(1, static_cast<int>(RoundHalfEven(gridWidth / 4.0)));
  StringGrid1->setColumnWidth(2, static_cast<int>(RoundHalfEven(gridWidth / 6.0)));
}

void TfmFiles::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  AddEntry(&menu, "SortAscending1", "Sort &Ascending", &TfmFiles::Ascending1Click, false);
  AddEntry(&menu, "SortDescending1", "Sort &Descending", &TfmFiles::Descending1Click, false);
  menu.exec(event->globalPos());
}

void TfmFiles::showEvent(QShowEvent* event) {
  if (const QScreen* shown = screen(); shown != nullptr && !event->spontaneous()) {
    const QRect area = shown->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
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
