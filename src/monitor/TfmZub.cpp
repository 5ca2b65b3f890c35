#include "monitor/TfmZub.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <cmath>

#include "diskview/Shape1.h"
#include "monitor/MonitorWindowRules.h"
#include "monitor/PieChartView.h"
#include "monitor/TrayTitle.h"
#include "ui/Activation.h"
#include "ui/ClickLabel.h"
#include "ui/HelpWindow.h"
#include "ui/MenuKeys.h"
#include "ui/QtCanvas.h"
#include "ui/QtFitText.h"

namespace zub {
namespace {

QFont FontOf(const char* name, int points) {
  Font font;
  font.name = name;
  font.pointSize = points;
  return ToQFont(font);
}

// A platform font may be sized in points or in pixels; both are logical sizes.
QFont ScaledFont(QFont font, double scale) {
  if (font.pointSizeF() > 0) {
    font.setPointSizeF(font.pointSizeF() * scale);
  } else if (font.pixelSize() > 0) {
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
  }
  return font;
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

MonitorSources SourcesOf(const MonitorServices& s) {
  return {s.application, s.drives, s.disk, s.memory, s.resources, s.settings, s.prompts};
}

}  // namespace

TfmZub::TfmZub(const MonitorServices& services, ToolWindows& tools, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      tools_(tools),
      OnlyOne1(services.application, services.marker),
      state_(SourcesOf(services)) {
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

  tray_ = new TrayTitle(this);
  services_.application.OnTitleChanged(
      [tray = QPointer<TrayTitle>(tray_)](const std::string& title) {
        if (tray) {
          tray->ShowTitle(title);
        }
      });
  tray_->ShowTitle(services_.application.Title());

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
    Render();  // what the handler changed before it failed stays changed
    services_.prompts.ShowMessage(e.what());
  }
  Render();
}

void TfmZub::Render() {
  const MonitorView& view = state_.View();
  setWindowTitle(Q(view.caption));
  // The unit's or view's size when the text fits the panel, else the largest
  // that fits: a figure never loses a digit.
  const int panelPoints = ScaledFontSize(view.panelFontSize, fontScale_);
  Panel1->setFont(FontOf("MS Sans Serif", panelPoints));
  SetFittedText(Panel1, Q(view.panelText), panelPoints);
  Chart1->setToolTip(Q(view.diskHint));
  Chart1->setAccessibleDescription(Q(view.diskHint));
  Chart2->setToolTip(Q(view.memoryHint));
  Chart2->setAccessibleDescription(Q(view.memoryHint));
  Panel1->setAccessibleDescription(Q(view.panelText));
  for (auto [label, text] : {std::pair{Label5, &view.label5}, std::pair{Label6, &view.label6}}) {
    if (label->text() != Q(*text)) {
      label->setText(Q(*text));
      label->adjustSize();
    }
  }
  if (view.diskLabelsPlaced != placedLabels_) {
    placedLabels_ = view.diskLabelsPlaced;
    ApplyDiskLabels();
  }
  ShowPie(Chart1, view.disk);
  ShowPie(Chart2, view.memory);
  const std::array<TShape1*, 4> shapes = {Shape11, Shape12, Shape13, Shape14};
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    shapes[i]->SetBrushColor(view.swatches[i]);
  }
  // A checkable entry toggles itself when chosen; the marks follow the state.
  for (std::size_t i = 0; i < unitEntries_.size(); ++i) {
    unitEntries_[i]->setChecked(static_cast<int>(i) == UnitIndex(view.checkedUnit));
  }
  for (std::size_t i = 0; i < viewEntries_.size(); ++i) {
    viewEntries_[i]->setChecked(static_cast<int>(i) == ViewIndex(view.checkedView));
  }
}

void TfmZub::ShowPie(PieChartView* chart, const PieView& pie) {
  if (!pie.shown) {
    return;
  }
  if (pie.empty) {
    if (!chart->ShowsEmpty()) {
      chart->ShowEmpty();
    }
    return;
  }
  const std::vector<PieSlice>& now = chart->Slices();
  if (!chart->ShowsEmpty() && now.size() == 2 && now[0].value == pie.freePercent &&
      now[0].color == pie.freeColor && now[1].color == pie.usedColor) {
    return;
  }
  chart->ClearSlices();
  chart->AddSlice(pie.freePercent, "Free", pie.freeColor);
  chart->AddSlice(100 - pie.freePercent, "Used", pie.usedColor);
}

void TfmZub::BuildControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);

  DriveComboBox1 = new QComboBox(client);
  DriveComboBox1->setObjectName("DriveComboBox1");
  DriveComboBox1->setAccessibleName("Drive");
  const std::vector<DriveListEntry> entries = DriveListEntries(services_.drives.Drives());
  for (const DriveListEntry& entry : entries) {
    DriveComboBox1->addItem(Q(entry.text), QChar(entry.letter));
  }
  DriveComboBox1->setCurrentIndex(DriveEntryIndex(entries, services_.drives.CurrentDriveLetter()));
  connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
          [this] { Run(&TfmZub::DriveComboBox1Change); });

  Chart1 = new PieChartView(client);
  Chart1->setObjectName("Chart1");
  Chart1->setAccessibleName("Disk pie");
  Chart2 = new PieChartView(client);
  Chart2->setObjectName("Chart2");
  Chart2->setAccessibleName("Memory pie");
  // The pies act as the menu entries of the windows they open.
  connect(Chart1, &PieChartView::clicked, this, [this] {
    if (directorySearch1_ != nullptr && directorySearch1_->isEnabled()) {
      Run(&TfmZub::DirectorySearch1Click);
    }
  });
  connect(Chart2, &PieChartView::clicked, this, [this] {
    if (whatsRunning1_ != nullptr && whatsRunning1_->isEnabled()) {
      Run(&TfmZub::Chart2Click);
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
  std::array<TShape1*, 4> shapes{};
  std::array<QLabel*, 4> labels{};
  for (std::size_t i = 0; i < 4; ++i) {
    const Handler handler = colorHandlers[i];
    shapes[i] = new TShape1(client);
    shapes[i]->setObjectName(QString("Shape1%1").arg(i + 1));
    shapes[i]->setAccessibleName(QString(captionHints[i]));
    shapes[i]->SetBrushColor(state_.View().swatches[i]);
    shapes[i]->setToolTip("Change Color");
    connect(shapes[i], &TShape1::clicked, this, [this, handler] { Run(handler); });
    labels[i] = new ClickLabel(captions[i], client, [this, handler] { Run(handler); });
    labels[i]->setObjectName(QString("Label%1").arg(i + 1));
    labels[i]->setAccessibleName(QString(captions[i]));
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
  Panel1->setAccessibleName("Status");
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(2);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setAutoFillBackground(true);
  QPalette palette = Panel1->palette();
  palette.setColor(QPalette::Window, Qt::black);
  palette.setColor(QPalette::WindowText, Qt::yellow);
  Panel1->setPalette(palette);

  // Tab walks the controls as the eye reads them: the drive, the pies, the swatches.
  QWidget* previous = DriveComboBox1;
  for (QWidget* next :
       std::initializer_list<QWidget*>{Chart1, Chart2, Shape11, Shape12, Shape13, Shape14}) {
    setTabOrder(previous, next);
    previous = next;
  }
  ApplyLayout();
}

QAction* TfmZub::AddEntry(QMenu* menu, const char* text, Handler handler) {
  QAction* action = menu->addAction(text);
  if (handler != nullptr) {
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  }
  return action;
}

QAction* TfmZub::AddToolEntry(QMenu* menu, const char* text, Tool tool, Handler handler) {
  QAction* action = AddEntry(menu, text, handler);
  // Entries of windows this build does not have stay visible, disabled.
  action->setEnabled(tools_.Available(tool));
  return action;
}

void TfmZub::BuildMenus() {
  Disk1 = menuBar()->addMenu("Disk");
  AddToolEntry(Disk1, "All Disks", Tool::AllDisks, &TfmZub::AllDisks1Click);
  unitEntries_ = {AddEntry(Disk1, "Megabytes", &TfmZub::Megabytes1Click),
                  AddEntry(Disk1, "Kilobytes", &TfmZub::Kilobytes1Click),
                  AddEntry(Disk1, "Bytes", &TfmZub::Bytes1Click)};
  directorySearch1_ =
      AddToolEntry(Disk1, "Directory Search", Tool::DirectorySpace, &TfmZub::DirectorySearch1Click);
  AddToolEntry(Disk1, "Directory Tree", Tool::DirectoryTree, &TfmZub::DirectoryTree1Click);
  AddToolEntry(Disk1, "File Search", Tool::FileSearch, &TfmZub::FileSearch1Click);
  QMenu* diskColors = Disk1->addMenu("Pie Graph Colors");
  AddEntry(diskColors, "Free Space", &TfmZub::Label1Click);
  AddEntry(diskColors, "Used Space", &TfmZub::Label2Click);
  AddEntry(diskColors, "Set to Default", nullptr);

  Memory1 = menuBar()->addMenu("Memory");
  whatsRunning1_ = AddToolEntry(Memory1, "Whats running . Window Names. ", Tool::RunningWindows,
                                &TfmZub::Chart2Click);
  AddToolEntry(Memory1, "Memory Tree. Processes and Modules.", Tool::ProcessTree,
               &TfmZub::MemoryMap1Click);
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

  Options1 = menuBar()->addMenu("Options");
  AddEntry(Options1, "Small Zub", &TfmZub::Small1Click);
  AddEntry(Options1, "Medium Zub", &TfmZub::Medium1Click);
  AddEntry(Options1, "Large Zub", &TfmZub::Large1Click);
  AddToolEntry(Options1, "Craps Game", Tool::Craps, &TfmZub::Craps1Click);
  AddEntry(Options1, "Reset Settings", &TfmZub::ResetSettings1Click);

  Help1 = menuBar()->addAction("Help");
  connect(Help1, &QAction::triggered, this, [this] { Run(&TfmZub::Help1Click); });

  PopupMenu1 = new QMenu(this);
  AddToolEntry(PopupMenu1, "All Disk Graphs", Tool::AllDisks, &TfmZub::AllDisks1Click);
  AddToolEntry(PopupMenu1, "Directory Tree", Tool::DirectoryTree, &TfmZub::DirectoryTree1Click);
  AddToolEntry(PopupMenu1, "Memory Tree", Tool::ProcessTree, &TfmZub::MemoryMap1Click);
  AddEntry(PopupMenu1, "What Running", nullptr);
  AddEntry(PopupMenu1, "Small Zub ", &TfmZub::Small1Click);
  AddEntry(PopupMenu1, "Medium Zub", &TfmZub::Medium1Click);
  AddEntry(PopupMenu1, "Large Zub", &TfmZub::Large1Click);
  AddToolEntry(PopupMenu1, "File Search", Tool::FileSearch, &TfmZub::FileSearch1Click);
  AddToolEntry(PopupMenu1, "Directory Search", Tool::DirectorySpace,
               &TfmZub::DirectorySearch1Click);
  AddToolEntry(PopupMenu1, "Craps Game", Tool::Craps, &TfmZub::Craps1Click);

  AssignMnemonics(menuBar());
  AssignMnemonics(PopupMenu1);
  InstallMenuKeys(this, menuBar());
}

char TfmZub::SelectedDriveLetter() const {
  const QVariant data = DriveComboBox1->currentData();
  std::optional<char> listed;
  if (data.isValid()) {
    listed = static_cast<char>(data.toChar().toLatin1());
  }
  return ChosenDriveLetter(listed, listed ? 'C' : services_.drives.CurrentDriveLetter());
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

// The window's inside for an outer size, never smaller than the controls
// need below the menu bar; grown, it keeps the layout's gap past them.
QSize TfmZub::HoldingInner(QSize inner) const {
  const ClientExtent extent = ControlsExtent(layout_);
  const QMenuBar* bar = menuBar();
  const int barHeight =
      bar->hasHeightForWidth() ? bar->heightForWidth(inner.width()) : bar->sizeHint().height();
  const auto holding = [&extent](int have, int need) {
    return have >= need ? have : need + extent.gap;
  };
  return {holding(inner.width(), extent.width), holding(inner.height(), barHeight + extent.height)};
}

// Sizes are outer sizes: the window manager's frame, once known, is taken off.
void TfmZub::SetWindowSize(int outerWidth, int outerHeight) {
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize inner = HoldingInner(QSize(outerWidth - frame.width(), outerHeight - frame.height()));
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
  const QSize inner = HoldingInner(size() + knownFrame_ - frame);
  knownFrame_ = frame;
  handledSize_ = inner;
  resize(inner);
}

void TfmZub::FitWindowToScreen() {
  const ScreenSize screen = Screen();
  fontScale_ = ScreenFontScale(screen);
  // The menus grow with the rest of the window, so a large screen shows one
  // scale, not doubled pies under a small menu. Drop-down and pop-up menus
  // are windows of their own, which inherit no font: each gets the bar's.
  const QFont menuFont = ScaledFont(QApplication::font(menuBar()), fontScale_);
  menuBar()->setFont(menuFont);
  for (QMenu* menu : findChildren<QMenu*>()) {
    menu->setFont(ScaledFont(QApplication::font(menu), fontScale_));
  }
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
  FitWindowToScreen();
  state_.Create();
}

void TfmZub::FormActivate() {
  state_.Activate(SelectedDriveLetter());
}

void TfmZub::FormResize() {
  state_.Resize(SelectedDriveLetter());
}

void TfmZub::FormClose() {
  state_.Close(tools_.Opened());
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
  state_.DriveUpdate(SelectedDriveLetter());
}

void TfmZub::Timer1Timer() {
  state_.Tick();
  if (tray_->HasTray()) {
    UpdateTray(state_.TotalFreePercent());
  }
}

void TfmZub::UpdateTray(int freePercent) {
  const MonitorSettings& settings = state_.Settings();
  tray_->ShowFreePercent(freePercent, static_cast<ColorRef>(settings.Pie2Color),
                         static_cast<ColorRef>(settings.Pie2Slice));
}

// --- units and memory views ---------------------------------------------

void TfmZub::Megabytes1Click() {
  state_.SelectUnit(SizeUnit::Mb, SelectedDriveLetter());
}
void TfmZub::Kilobytes1Click() {
  state_.SelectUnit(SizeUnit::Kb, SelectedDriveLetter());
}
void TfmZub::Bytes1Click() {
  state_.SelectUnit(SizeUnit::Bytes, SelectedDriveLetter());
}

void TfmZub::Total1Click() {
  state_.SelectMemoryView(MemoryView::Total);
  if (tray_->HasTray()) {
    UpdateTray(state_.LastMemoryPercent());
  }
}
void TfmZub::Virtual1Click() {
  state_.SelectMemoryView(MemoryView::Virtual);
}
void TfmZub::Real1Click() {
  state_.SelectMemoryView(MemoryView::Real);
}
void TfmZub::PageFile1Click() {
  state_.SelectMemoryView(MemoryView::PageFile);
}
void TfmZub::GDI1Click() {
  state_.SelectMemoryView(MemoryView::Gdi);
}
void TfmZub::System1Click() {
  state_.SelectMemoryView(MemoryView::System);
}
void TfmZub::User1Click() {
  state_.SelectMemoryView(MemoryView::User);
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

void TfmZub::Label1Click() {
  state_.ChooseSliceColor(SliceSlot::DiskFree);
}
void TfmZub::Label2Click() {
  state_.ChooseSliceColor(SliceSlot::DiskUsed);
}
void TfmZub::Label3Click() {
  state_.ChooseSliceColor(SliceSlot::MemoryFree);
}
void TfmZub::Label4Click() {
  state_.ChooseSliceColor(SliceSlot::MemoryUsed);
}

// --- other windows ------------------------------------------------------

void TfmZub::OpenTool(Tool tool) {
  if (tools_.Available(tool)) {
    tools_.Open(tool);
  }
}

void TfmZub::AllDisks1Click() {
  OpenTool(Tool::AllDisks);
}
void TfmZub::DirectorySearch1Click() {
  OpenTool(Tool::DirectorySpace);
}
void TfmZub::DirectoryTree1Click() {
  OpenTool(Tool::DirectoryTree);
}
void TfmZub::FileSearch1Click() {
  OpenTool(Tool::FileSearch);
}
void TfmZub::MemoryMap1Click() {
  OpenTool(Tool::ProcessTree);
}
void TfmZub::Chart2Click() {
  OpenTool(Tool::RunningWindows);
}
void TfmZub::Craps1Click() {
  OpenTool(Tool::Craps);
}

void TfmZub::ResetSettings1Click() {
  state_.ResetSettings();
}

void TfmZub::Help1Click() {
  const QString path = Q(services_.application.HelpFile());
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    services_.prompts.ShowMessage("Cannot find the help file " + path.toStdString());
    return;
  }
  if (help_ == nullptr) {
    help_ = new HelpWindow(this);
  }
  // Topic 1 is the manual's first page.
  help_->ShowTopic(path);
}

}  // namespace zub
