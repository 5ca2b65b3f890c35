#include "monitor/TfmZub.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

#include "diskview/Shape1.h"
#include "diskview/TfmAlldisk.h"
#include "game/TfmGame.h"
#include "monitor/MonitorWindowRules.h"
#include "monitor/NumberText.h"
#include "monitor/PieChartView.h"
#include "ui/Activation.h"
#include "ui/QtCanvas.h"

namespace zub {
namespace {

// The swatch captions answer a click like their swatches do.
class ClickLabel : public QLabel {
 public:
  ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
      : QLabel(text, parent), onClick_(std::move(onClick)) {}

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
      onClick_();
    }
  }

 private:
  std::function<void()> onClick_;
};

QFont FontOf(const char* name, int points) {
  Font font;
  font.name = name;
  font.pointSize = points;
  return ToQFont(font);
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

int UnitIndex(SizeUnit unit) {
  switch (unit) {
    case SizeUnit::Kb:
      return 1;
    case SizeUnit::Bytes:
      return 2;
    case SizeUnit::Mb:
      break;
  }
  return 0;
}

int ViewIndex(MemoryView view) {
  for (std::size_t i = 0; i < kAllMemoryViews.size(); ++i) {
    if (kAllMemoryViews[i] == view) {
      return static_cast<int>(i);
    }
  }
  return 0;
}

QIcon PieIcon(int freePercent, ColorRef freeColor, ColorRef usedColor) {
  QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    DrawPieSlices(canvas, Rect{0, 0, 32, 32},
                  {{static_cast<double>(freePercent), "Free", freeColor},
                   {static_cast<double>(100 - freePercent), "Used", usedColor}});
  }
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace

TfmZub::TfmZub(const MonitorServices& services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      drives_(services.drives, services.disk),
      meter_(services.memory, services.resources),
      OnlyOne1(services.application, services.marker) {
  setObjectName("fmZub");
  setWindowTitle(kStartCaption);
  setFont(FontOf("System", 10));
  setWindowIcon(QIcon::fromTheme("zub97"));
  BuildControls();
  BuildMenus();

  resize(layout_.windowWidth, layout_.windowHeight);
  handledSize_ = size();

  Timer1 = new QTimer(this);
  Timer1->setInterval(6000);
  connect(Timer1, &QTimer::timeout, this, [this] { Run(&TfmZub::Timer1Timer); });
  Timer1->start();

  Run(&TfmZub::FormCreate);

  const ScreenSize screen = Screen();
  move((screen.width - frameGeometry().width()) / 2,
       (screen.height - frameGeometry().height()) / 2);

  WatchActivation(this, [this] {
    Run(&TfmZub::FitFrame);
    Run(&TfmZub::FormActivate);
  });

  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    tray_ = new QSystemTrayIcon(this);
    connect(tray_, &QSystemTrayIcon::activated, this, [this] {
      // While a modal window runs, the main window stays hidden behind it.
      if (QApplication::activeModalWidget() != nullptr) {
        QApplication::activeModalWidget()->raise();
        return;
      }
      showNormal();
      raise();
      activateWindow();
    });
  }
  services_.application.OnTitleChanged([self = QPointer<TfmZub>(this)](const std::string& title) {
    if (self) {
      self->ShowApplicationTitle(title);
    }
  });
  ShowApplicationTitle(services_.application.Title());

  // A second copy asks for the window by the title it saw; answer only to ours.
  services_.marker.OnRaiseRequest([this](const std::string& title) {
    if (title != services_.application.Title()) {
      return;
    }
    if (isMinimized()) {
      showNormal();
    } else {
      raise();
      activateWindow();
    }
  });
}

TfmZub::~TfmZub() {
  services_.marker.OnRaiseRequest({});
}

void TfmZub::Run(Handler handler) {
  try {
    (this->*handler)();
  } catch (const std::exception& e) {
    services_.prompts.ShowMessage(e.what());
  }
  // A checkable entry toggles itself when chosen; the marks follow the window's state.
  SyncChecks();
}

void TfmZub::BuildControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);

  DriveComboBox1 = new QComboBox(client);
  DriveComboBox1->setObjectName("DriveComboBox1");
  const std::vector<DriveListEntry> entries = DriveListEntries(services_.drives.Drives());
  for (const DriveListEntry& entry : entries) {
    DriveComboBox1->addItem(Q(entry.text), QChar(entry.letter));
  }
  DriveComboBox1->setCurrentIndex(DriveEntryIndex(entries, services_.drives.CurrentDriveLetter()));
  connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
          [this] { Run(&TfmZub::DriveComboBox1Change); });

  Chart1 = new PieChartView(client);
  Chart1->setObjectName("Chart1");
  Chart2 = new PieChartView(client);
  Chart2->setObjectName("Chart2");
  // The pies act as the menu entries of the windows they open.
  connect(Chart1, &PieChartView::clicked, this, [this] {
    if (directorySearch1_ != nullptr && directorySearch1_->isEnabled()) {
      directorySearch1_->trigger();
    }
  });
  connect(Chart2, &PieChartView::clicked, this, [this] {
    if (whatsRunning1_ != nullptr && whatsRunning1_->isEnabled()) {
      whatsRunning1_->trigger();
    }
  });

  Label5 = new QLabel("Drive ", Chart1);
  Label5->setObjectName("Label5");
  Label6 = new QLabel("99%", Chart1);
  Label6->setObjectName("Label6");
  Label6->setFont(FontOf("MS Sans Serif", 10));

  const std::array<Handler, 4> colorHandlers = {&TfmZub::Label1Click, &TfmZub::Label2Click,
                                                &TfmZub::Label3Click, &TfmZub::Label4Click};
  const std::array<const char*, 4> captions = {"Free Disk", "Used Disk", "Free Mem", "Used Mem"};
  const std::array<const char*, 4> captionHints = {
      "Change Free Disk Color", "Change Used Disk Color", "Change Free Mem Color",
      "Change Used Mem Color"};
  const std::array<ColorRef, 4> designColors = {kRed, kBlue, kGreen, kPurple};
  std::array<TShape1*, 4> shapes{};
  std::array<QLabel*, 4> labels{};
  for (std::size_t i = 0; i < 4; ++i) {
    const Handler handler = colorHandlers[i];
    shapes[i] = new TShape1(client);
    shapes[i]->setObjectName(QString("Shape1%1").arg(i + 1));
    shapes[i]->SetBrushColor(designColors[i]);
    shapes[i]->setToolTip("Change Color");
    connect(shapes[i], &TShape1::clicked, this, [this, handler] { Run(handler); });
    labels[i] = new ClickLabel(captions[i], client, [this, handler] { Run(handler); });
    labels[i]->setObjectName(QString("Label%1").arg(i + 1));
    labels[i]->setToolTip(captionHints[i]);
  }
  Shape11 = shapes[0];
  Shape12 = shapes[1];
  Shape13 = shapes[2];
  Shape14 = shapes[3];
  Label1 = labels[0];
  Label2 = labels[1];
  Label3 = labels[2];
  Label4 = labels[3];

  Panel1 = new QLabel(client);
  Panel1->setObjectName("Panel1");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(2);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::yellow);
  Panel1->setPalette(palette);

  ApplyLayout();
}

QAction* TfmZub::AddEntry(QMenu* menu, const char* text, Handler handler) {
  QAction* action = menu->addAction(text);
  if (handler != nullptr) {
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  }
  return action;
}

void TfmZub::BuildMenus() {
  // Entries of windows this program does not have yet stay visible, disabled.
  auto unbuilt = [](QAction* action) {
    action->setEnabled(false);
    return action;
  };

  Disk1 = menuBar()->addMenu("Disk");
  AddEntry(Disk1, "All Disks", &TfmZub::AllDisks1Click);
  unitEntries_ = {AddEntry(Disk1, "Megabytes", &TfmZub::Megabytes1Click),
                  AddEntry(Disk1, "Kilobytes", &TfmZub::Kilobytes1Click),
                  AddEntry(Disk1, "Bytes", &TfmZub::Bytes1Click)};
  directorySearch1_ = unbuilt(AddEntry(Disk1, "Directory Search", nullptr));
  unbuilt(AddEntry(Disk1, "Directory Tree", nullptr));
  unbuilt(AddEntry(Disk1, "File Search", nullptr));
  QMenu* diskColors = Disk1->addMenu("Pie Graph Colors");
  AddEntry(diskColors, "Free Space", &TfmZub::Label1Click);
  AddEntry(diskColors, "Used Space", &TfmZub::Label2Click);
  AddEntry(diskColors, "Set to Default", nullptr);

  Memory1 = menuBar()->addMenu("Memory");
  whatsRunning1_ = unbuilt(AddEntry(Memory1, "Whats running . Window Names. ", nullptr));
  unbuilt(AddEntry(Memory1, "Memory Tree. Processes and Modules.", nullptr));
  const std::array<Handler, 7> viewHandlers = {
      &TfmZub::Total1Click, &TfmZub::Virtual1Click, &TfmZub::Real1Click, &TfmZub::PageFile1Click,
      &TfmZub::GDI1Click,   &TfmZub::System1Click,  &TfmZub::User1Click};
  for (std::size_t i = 0; i < viewHandlers.size(); ++i) {
    viewEntries_[i] =
        AddEntry(Memory1, MemoryViewCaption(kAllMemoryViews[i]).c_str(), viewHandlers[i]);
  }
  QMenu* memoryColors = Memory1->addMenu("Pie Graph Colors");
  AddEntry(memoryColors, "Free Space", &TfmZub::Label3Click);
  AddEntry(memoryColors, "Used Space", &TfmZub::Label4Click);
  AddEntry(memoryColors, "Set to Default", nullptr);

  for (QAction* entry : unitEntries_) {
    entry->setCheckable(true);
  }
  for (QAction* entry : viewEntries_) {
    entry->setCheckable(true);
  }
  SyncChecks();

  Options1 = menuBar()->addMenu("Options");
  AddEntry(Options1, "Small Zub", &TfmZub::Small1Click);
  AddEntry(Options1, "Medium Zub", &TfmZub::Medium1Click);
  AddEntry(Options1, "Large Zub", &TfmZub::Large1Click);
  AddEntry(Options1, "Craps Game", &TfmZub::Craps1Click);
  AddEntry(Options1, "Reset Settings", &TfmZub::ResetSettings1Click);

  Help1 = menuBar()->addAction("Help");
  connect(Help1, &QAction::triggered, this, [this] { Run(&TfmZub::Help1Click); });

  PopupMenu1 = new QMenu(this);
  AddEntry(PopupMenu1, "All Disk Graphs", &TfmZub::AllDisks1Click);
  unbuilt(AddEntry(PopupMenu1, "Directory Tree", nullptr));
  unbuilt(AddEntry(PopupMenu1, "Memory Tree", nullptr));
  AddEntry(PopupMenu1, "What Running", nullptr);
  AddEntry(PopupMenu1, "Small Zub ", &TfmZub::Small1Click);
  AddEntry(PopupMenu1, "Medium Zub", &TfmZub::Medium1Click);
  AddEntry(PopupMenu1, "Large Zub", &TfmZub::Large1Click);
  unbuilt(AddEntry(PopupMenu1, "File Search", nullptr));
  unbuilt(AddEntry(PopupMenu1, "Directory Search", nullptr));
  AddEntry(PopupMenu1, "Craps Game", &TfmZub::Craps1Click);
}

char TfmZub::SelectedDriveLetter() const {
  const QVariant data = DriveComboBox1->currentData();
  if (data.isValid()) {
    return static_cast<char>(data.toChar().toUpper().toLatin1());
  }
  // No drive at all: ask about the current drive, which the queries know as C: at worst.
  const char current = services_.drives.CurrentDriveLetter();
  return DriveNumber(current) != 0 ? static_cast<char>(DriveLetter(DriveNumber(current))) : 'C';
}

// --- layout -------------------------------------------------------------

ScreenSize TfmZub::Screen() const {
  if (services_.screenSize) {
    return services_.screenSize();
  }
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return {};
  }
  return {screen->size().width(), screen->size().height()};
}

void TfmZub::ApplyLayout() {
  auto place = [](QWidget* widget, const Box& box) {
    widget->setGeometry(box.left, box.top, box.width, box.height);
  };
  place(Chart1, layout_.chart1);
  place(Chart2, layout_.chart2);
  DriveComboBox1->setFont(FontOf("Arial", layout_.comboFontSize));
  place(DriveComboBox1, layout_.driveCombo);
  Panel1->setFont(FontOf("MS Sans Serif", layout_.panelFontSize));
  place(Panel1, layout_.panel);
  const std::array<TShape1*, 4> shapes = {Shape11, Shape12, Shape13, Shape14};
  const std::array<QLabel*, 4> captions = {Label1, Label2, Label3, Label4};
  for (std::size_t i = 0; i < 4; ++i) {
    place(shapes[i], layout_.swatches[i]);
    captions[i]->setFont(FontOf("System", layout_.captionFontSize));
    captions[i]->adjustSize();
    captions[i]->move(layout_.captions[i].left, layout_.captions[i].top);
    layout_.captions[i].width = captions[i]->width();
    layout_.captions[i].height = captions[i]->height();
  }
  Label5->setFont(FontOf("MS Sans Serif", layout_.label5FontSize));
  Label5->adjustSize();
  Label5->move(layout_.label5.left, layout_.label5.top);
  Label6->adjustSize();
  Label6->move(layout_.label6.left, layout_.label6.top);
  layout_.label5.width = Label5->width();
  layout_.label5.height = Label5->height();
  layout_.label6.width = Label6->width();
  layout_.label6.height = Label6->height();
}

void TfmZub::ApplyDiskLabels() {
  layout_.label6.width = Label6->width();
  layout_.label6.height = Label6->height();
  PlaceDiskLabels(layout_);
  Label5->move(layout_.label5.left, layout_.label5.top);
  Label6->move(layout_.label6.left, layout_.label6.top);
}

// Sizes are outer sizes: the window manager's frame, once known, is taken off.
void TfmZub::SetWindowSize(int outerWidth, int outerHeight) {
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize inner(outerWidth - frame.width(), outerHeight - frame.height());
  resize(inner);
  if (inner != handledSize_) {
    handledSize_ = inner;
    FormResize();
  }
}

// The window manager's frame is known only once the window is up: the outer
// size it was given before the frame came must then be given again. The
// activation that follows reselects Mb and Total, so the resize handling is
// not run twice (a drive that is not ready would complain twice).
void TfmZub::FitFrame() {
  const QSize frame = frameGeometry().size() - geometry().size();
  if (frame == knownFrame_) {
    return;
  }
  const QSize inner = size() + knownFrame_ - frame;
  knownFrame_ = frame;
  handledSize_ = inner;
  resize(inner);
}

void TfmZub::FitWindowToScreen() {
  const ScreenSize screen = Screen();
  fontScale_ = ScreenFontScale(screen);
  layout_ = FitToScreen(layout_, screen);
  ApplyLayout();
  SetWindowSize(layout_.windowWidth, layout_.windowHeight);
}

void TfmZub::ApplyPreset(WindowPreset preset) {
  layout_.label6.width = Label6->width();
  layout_.label6.height = Label6->height();
  layout_ = PresetLayout(layout_, preset);
  ApplyLayout();
  SetWindowSize(layout_.windowWidth, layout_.windowHeight);
  FitWindowToScreen();
  DriveComboBox1Change();
}

void TfmZub::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // Sizes the window set itself were handled when it set them.
  if (event->size() != handledSize_) {
    handledSize_ = event->size();
    Run(&TfmZub::FormResize);
  }
}

// Shown is activated, also where no window manager hands out the focus.
void TfmZub::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) {
    activateWindow();
  }
}

void TfmZub::contextMenuEvent(QContextMenuEvent* event) {
  PopupMenu1->exec(event->globalPos());
}

// --- window events ------------------------------------------------------

void TfmZub::FormCreate() {
  opened_ = {};
  FitWindowToScreen();
  settings_ = LoadMonitorSettings(services_.settings);
  Shape11->SetBrushColor(static_cast<ColorRef>(settings_.Pie1Color));
  Shape12->SetBrushColor(static_cast<ColorRef>(settings_.Pie1Slice));
  Shape13->SetBrushColor(static_cast<ColorRef>(settings_.Pie2Color));
  Shape14->SetBrushColor(static_cast<ColorRef>(settings_.Pie2Slice));
}

void TfmZub::FormActivate() {
  setWindowTitle(Q(ActivatedCaption()));
  SetPanelFontSize(12);
  // The quick update: always Mb, no readiness check.
  const char letter = SelectedDriveLetter();
  const int number = DriveNumber(letter);
  const DriveSpaceText space = drives_.FormatDriveSpace(number, SizeUnit::Mb);
  SetPanelText(space.text);
  SetPanelFontSize(space.panelFontSize);
  Chart1->setToolTip(Q(DiskHint(space.text, drives_.DriveTypeText(letter))));
  const int percent = static_cast<int>(RoundHalfEven(drives_.DriveFreePercent(number)));
  SetLabelText(Label5, DriveLabelText(letter));
  SetLabelText(Label6, PercentText(percent));
  lastDiskPercent_ = percent;
  UpdateDiskPie();

  Megabytes1Click();
  Total1Click();
}

void TfmZub::FormResize() {
  Megabytes1Click();
  Total1Click();
}

void TfmZub::FormClose() {
  if (settingsCleared_) {
    return;
  }
  SaveMonitorSettings(services_.settings, settings_, opened_);
}

void TfmZub::ReportCloseErrorsTo(std::function<void(const std::string&)> sink) {
  closeErrors_ = std::move(sink);
}

void TfmZub::closeEvent(QCloseEvent* event) {
  // A save that fails is reported; the window closes all the same.
  if (closeErrors_) {
    try {
      FormClose();
    } catch (const std::exception& e) {
      closeErrors_(e.what());
    }
  } else {
    Run(&TfmZub::FormClose);
  }
  if (help_ != nullptr) {
    help_->close();
  }
  QMainWindow::closeEvent(event);
}

void TfmZub::DriveComboBox1Change() {
  const char letter = SelectedDriveLetter();
  const int number = DriveNumber(letter);
  SetPanelFontSize(12);
  if (!drives_.IsDriveReady(letter)) {
    services_.prompts.ShowMessage(DriveNotReadyMessage(letter));
    return;
  }
  const DriveSpaceText space = drives_.FormatDriveSpace(number, unit_.value_or(SizeUnit::Mb));
  SetPanelText(space.text);
  SetPanelFontSize(space.panelFontSize);
  const int percent = static_cast<int>(RoundHalfEven(drives_.DriveFreePercent(number)));
  lastDiskPercent_ = percent;
  UpdateDiskPie();
  Chart1->setToolTip(Q(DiskHint(space.text, drives_.DriveTypeText(letter))));
  SetLabelText(Label5, DriveLabelText(letter));
  SetLabelText(Label6, PercentText(percent));
  ApplyDiskLabels();
}

void TfmZub::Timer1Timer() {
  services_.application.SetTitle(meter_.TitleSummary());
  if (tray_ != nullptr) {
    UpdateTrayIcon(meter_.Measure(MemoryView::Total).freePercent);
  }
}

// --- units and memory views ---------------------------------------------

void TfmZub::SelectUnit(SizeUnit unit) {
  unit_ = unit;
  DriveComboBox1Change();
  CheckUnit(unit);  // also when the drive was not ready
}

void TfmZub::Megabytes1Click() {
  SelectUnit(SizeUnit::Mb);
}
void TfmZub::Kilobytes1Click() {
  SelectUnit(SizeUnit::Kb);
}
void TfmZub::Bytes1Click() {
  SelectUnit(SizeUnit::Bytes);
}

void TfmZub::SelectMemoryView(MemoryView view) {
  const bool resource = IsResourceView(view);
  if (!resource) {
    SetPanelFontSize(ViewPanelFontSize(view));
    CheckView(view);
  }
  // A failing resource query stops here: pie, panel and marks stay as they were.
  const MemoryMeasurement measured = meter_.Measure(view);
  lastMemoryPercent_ = measured.freePercent;
  UpdateMemoryPie();
  if (measured.applicationTitle) {
    services_.application.SetTitle(*measured.applicationTitle);
  }
  if (resource) {
    SetPanelFontSize(12);
  }
  SetPanelText(measured.text);
  Chart2->setToolTip(Q(measured.text));
  if (resource) {
    CheckView(view);
  }
  if (view == MemoryView::Total && tray_ != nullptr) {
    UpdateTrayIcon(measured.freePercent);
  }
}

void TfmZub::Total1Click() {
  SelectMemoryView(MemoryView::Total);
}
void TfmZub::Virtual1Click() {
  SelectMemoryView(MemoryView::Virtual);
}
void TfmZub::Real1Click() {
  SelectMemoryView(MemoryView::Real);
}
void TfmZub::PageFile1Click() {
  SelectMemoryView(MemoryView::PageFile);
}
void TfmZub::GDI1Click() {
  SelectMemoryView(MemoryView::Gdi);
}
void TfmZub::System1Click() {
  SelectMemoryView(MemoryView::System);
}
void TfmZub::User1Click() {
  SelectMemoryView(MemoryView::User);
}

void TfmZub::CheckUnit(SizeUnit unit) {
  checkedUnit_ = unit;
  SyncChecks();
}

void TfmZub::CheckView(MemoryView view) {
  checkedView_ = view;
  SyncChecks();
}

void TfmZub::SyncChecks() {
  for (std::size_t i = 0; i < unitEntries_.size(); ++i) {
    if (unitEntries_[i] != nullptr) {
      unitEntries_[i]->setChecked(static_cast<int>(i) == UnitIndex(checkedUnit_));
    }
  }
  for (std::size_t i = 0; i < viewEntries_.size(); ++i) {
    if (viewEntries_[i] != nullptr) {
      viewEntries_[i]->setChecked(static_cast<int>(i) == ViewIndex(checkedView_));
    }
  }
}

// --- presets and colours ------------------------------------------------

void TfmZub::Small1Click() {
  ApplyPreset(WindowPreset::Small);
}
void TfmZub::Medium1Click() {
  ApplyPreset(WindowPreset::Medium);
}
void TfmZub::Large1Click() {
  ApplyPreset(WindowPreset::Large);
}

void TfmZub::ChooseSliceColor(int slice) {
  const std::optional<ColorRef> chosen = services_.prompts.ChooseColor(colorDialogColor_);
  if (!chosen) {
    return;
  }
  colorDialogColor_ = *chosen;
  const std::array<TShape1*, 4> shapes = {Shape11, Shape12, Shape13, Shape14};
  const std::array<std::int32_t*, 4> fields = {&settings_.Pie1Color, &settings_.Pie1Slice,
                                               &settings_.Pie2Color, &settings_.Pie2Slice};
  shapes[slice]->SetBrushColor(*chosen);
  *fields[slice] = static_cast<std::int32_t>(*chosen);
  // The last percentage again, in the new colours: nothing is measured.
  if (slice < 2) {
    UpdateDiskPie();
  } else {
    UpdateMemoryPie();
  }
}

void TfmZub::Label1Click() {
  ChooseSliceColor(0);
}
void TfmZub::Label2Click() {
  ChooseSliceColor(1);
}
void TfmZub::Label3Click() {
  ChooseSliceColor(2);
}
void TfmZub::Label4Click() {
  ChooseSliceColor(3);
}

// --- panel, labels and pies ---------------------------------------------

void TfmZub::SetPanelText(const std::string& text) {
  Panel1->setText(Q(text));
}

void TfmZub::SetPanelFontSize(int points) {
  panelFontSize_ = points;
  Panel1->setFont(FontOf("MS Sans Serif", ScaledFontSize(points, fontScale_)));
}

void TfmZub::SetLabelText(QLabel* label, const std::string& text) {
  label->setText(Q(text));
  label->adjustSize();
}

void TfmZub::UpdateDiskPie() {
  Chart1->ClearSlices();
  Chart1->AddSlice(lastDiskPercent_, "Free", static_cast<ColorRef>(settings_.Pie1Color));
  Chart1->AddSlice(100 - lastDiskPercent_, "Used", static_cast<ColorRef>(settings_.Pie1Slice));
}

void TfmZub::UpdateMemoryPie() {
  Chart2->ClearSlices();
  Chart2->AddSlice(lastMemoryPercent_, "Free", static_cast<ColorRef>(settings_.Pie2Color));
  Chart2->AddSlice(100 - lastMemoryPercent_, "Used", static_cast<ColorRef>(settings_.Pie2Slice));
}

// --- other windows ------------------------------------------------------

void TfmZub::ShowModalHidingMain(QDialog* window) {
  hide();
  window->exec();
  show();
}

void TfmZub::AllDisks1Click() {
  if (allDisks_ == nullptr) {
    allDisks_ = new TfmAlldisk(settings_, drives_, services_.prompts, this);
  }
  ShowModalHidingMain(allDisks_);
}

void TfmZub::Craps1Click() {
  TfmGame game(game_, services_.prompts, this);
  game.exec();
}

void TfmZub::ResetSettings1Click() {
  if (ResetSettings(services_.settings, services_.prompts)) {
    settingsCleared_ = true;
  }
}

void TfmZub::Help1Click() {
  const QString path = Q(services_.application.HelpFile());
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    services_.prompts.ShowMessage("Cannot find the help file " + path.toStdString());
    return;
  }
  if (help_ == nullptr) {
    help_ = new QDialog(this);
    help_->setObjectName("HelpWindow");
    help_->setWindowTitle("Zub 97 Help");
    auto* layout = new QVBoxLayout(help_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new QTextBrowser(help_);
    browser->setObjectName("HelpBrowser");
    layout->addWidget(browser);
    help_->resize(560, 480);
  }
  // Topic 1 is the manual's first page.
  auto* browser = help_->findChild<QTextBrowser*>("HelpBrowser");
  browser->setSource(QUrl::fromLocalFile(path));
  help_->show();
  help_->raise();
  help_->activateWindow();
}

// --- the application title on the desktop ------------------------------

void TfmZub::ShowApplicationTitle(const std::string& title) {
  setWindowIconText(Q(title));
  if (tray_ != nullptr) {
    tray_->setToolTip(Q(title));
  }
}

void TfmZub::UpdateTrayIcon(int freePercent) {
  tray_->setIcon(PieIcon(freePercent, static_cast<ColorRef>(settings_.Pie2Color),
                         static_cast<ColorRef>(settings_.Pie2Slice)));
  tray_->show();
}

}  // namespace zub
