#include "monitor/TfmZub.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <map>
#include <memory>
#include <set>

#include "diskview/Shape1.h"
#include "fakes/FakeMonitorServices.h"
#include "fakes/FakeToolWindows.h"
#include "fakes/ScriptedPrompts.h"
#include "monitor/IniDocument.h"
#include "monitor/PieChartView.h"

namespace zub {
namespace {

constexpr std::int64_t kMb = 1048576;
const QString kTotalText = "Free Total Memory is 69 %";
const QString kDiskMbText = "50 Free Mb / 1024 Mb Total";

class TfmZubTest : public ::testing::Test, protected fakes::FakeMonitorServices {
 protected:
  TfmZubTest() {
    app.SetTitle(kStartupTitle);
    drives.Add("/", DriveKind::Fixed, "root");        // C:, 50 of 1024 Mb free
    drives.Add("/media/cd", DriveKind::CdRom, "CD");  // D:, no medium
    disk.Set("/", 50 * kMb, 1024 * kMb);
    memory.status->memoryLoad = 31;
    memory.status->totalPhys = 1000 * 1024;
    memory.status->availPhys = 250 * 1024;
  }

  ~TfmZubTest() override {
    window.reset();
    QApplication::processEvents();
  }

  TfmZub& Open() {
    window = std::make_unique<TfmZub>(Services([this] { return screen; }), tools);
    return *window;
  }

  // Shows the window and waits for its first activation.
  TfmZub& OpenActive() {
    TfmZub& w = Open();
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.windowTitle() == "Zub 97 v3.0"; }))
        << "never activated";
    return w;
  }

  // An entry's caption as shown, without its mnemonic marker.
  static QString Caption(const QAction* action) {
    return QString(action->text()).replace(QRegularExpression("&(.)"), "\\1");
  }

  static QAction* Entry(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
      if (Caption(action) == text) {
        return action;
      }
    }
    ADD_FAILURE() << "no entry " << text.toStdString();
    return nullptr;
  }

  static QStringList Checked(QMenu* menu, const QStringList& group) {
    QStringList checked;
    for (const QString& text : group) {
      if (Entry(menu, text)->isChecked()) {
        checked << text;
      }
    }
    return checked;
  }

  std::optional<std::string> Stored(const std::string& section, const std::string& name) {
    return IniDocument::Parse(settings.stored.text).Value("Zub95/" + section, name);
  }

  const QStringList units{"Megabytes", "Kilobytes", "Bytes"};
  const QStringList views{"Total", "Virtual", "Real", "Page File", "GDI", "System", "User"};

  ScreenSize screen{640, 480};
  fakes::FakeToolWindows tools;
  std::unique_ptr<TfmZub> window;
};

TEST_F(TfmZubTest, DriveListShowsLettersAndLabelsAndSelectsTheCurrentDrive) {
  drives.currentLetter = 'D';
  TfmZub& w = Open();
  ASSERT_EQ(w.DriveComboBox1->count(), 2);
  EXPECT_EQ(w.DriveComboBox1->itemText(0), "c: [root]");
  EXPECT_EQ(w.DriveComboBox1->itemText(1), "d: [CD]");
  EXPECT_EQ(w.DriveComboBox1->currentIndex(), 1);
  EXPECT_EQ(w.SelectedDriveLetter(), 'D');
}

TEST_F(TfmZubTest, FirstActivationShowsTheDriveAndTotalInMegabytes) {
  TfmZub& w = Open();
  EXPECT_EQ(w.windowTitle(), "Zub 97");
  EXPECT_TRUE(w.Chart1->Slices().empty());
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.windowTitle() == "Zub 97 v3.0"; }));

  EXPECT_EQ(w.Panel1->text(), kTotalText);
  EXPECT_EQ(w.PanelFontSize(), 12);
  EXPECT_EQ(w.CurrentUnit(), SizeUnit::Mb);
  EXPECT_EQ(Checked(w.Disk1, units), QStringList{"Megabytes"});
  EXPECT_EQ(Checked(w.Memory1, views), QStringList{"Total"});
  EXPECT_EQ(app.Title(), "Free Memory 69 %");
  EXPECT_EQ(w.windowIconText(), "Free Memory 69 %");

  EXPECT_EQ(w.Chart1->toolTip(), kDiskMbText + " Type is Hard drive");
  EXPECT_EQ(w.Chart2->toolTip(), kTotalText);
  EXPECT_EQ(w.Label5->text(), "Drive C");
  EXPECT_EQ(w.Label6->text(), "5%");  // 4.88 %
  ASSERT_EQ(w.Chart1->Slices().size(), 2u);
  EXPECT_EQ(w.Chart1->Slices()[0].value, 5);
  EXPECT_EQ(w.Chart1->Slices()[0].color, kRed);
  EXPECT_EQ(w.Chart1->Slices()[1].value, 95);
  EXPECT_EQ(w.Chart1->Slices()[1].color, kGreen);
  ASSERT_EQ(w.Chart2->Slices().size(), 2u);
  EXPECT_EQ(w.Chart2->Slices()[0].value, 69);
  EXPECT_EQ(w.Chart2->Slices()[0].color, kBlue);
  EXPECT_EQ(w.Chart2->Slices()[1].value, 31);
  EXPECT_EQ(w.Chart2->Slices()[1].color, kYellow);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TfmZubTest, ComingBackToTheWindowReturnsToMegabytesAndTotal) {
  TfmZub& w = OpenActive();
  Entry(w.Disk1, "Kilobytes")->trigger();
  Entry(w.Memory1, "Real")->trigger();
  EXPECT_EQ(w.Panel1->text(), "750/250/1000Kb Used/free/total");
  EXPECT_EQ(Checked(w.Disk1, units), QStringList{"Kilobytes"});

  // As when the user goes to another window of the program and back.
  w.hide();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return other.isActiveWindow(); }));
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Panel1->text() == kTotalText; }));
  EXPECT_EQ(Checked(w.Disk1, units), QStringList{"Megabytes"});
  EXPECT_EQ(Checked(w.Memory1, views), QStringList{"Total"});
}

TEST_F(TfmZubTest, ResizingByHandReselectsMegabytesAndTotal) {
  TfmZub& w = OpenActive();
  Entry(w.Disk1, "Bytes")->trigger();
  Entry(w.Memory1, "Virtual")->trigger();
  w.resize(w.width() + 30, w.height());
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.Panel1->text() == kTotalText; }));
  EXPECT_EQ(w.CurrentUnit(), SizeUnit::Mb);
  EXPECT_EQ(Checked(w.Disk1, units), QStringList{"Megabytes"});
  EXPECT_EQ(Checked(w.Memory1, views), QStringList{"Total"});
}

TEST_F(TfmZubTest, KilobytesOnADriveWithoutMediumWarnsAndStillMovesTheMark) {
  TfmZub& w = OpenActive();
  const auto diskSlices = w.Chart1->Slices();
  w.DriveComboBox1->setCurrentIndex(1);  // D:, no medium
  ASSERT_EQ(prompts.messages, std::vector<std::string>{"No Disk Available in Drive D"});

  Entry(w.Disk1, "Kilobytes")->trigger();
  EXPECT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages.back(), "No Disk Available in Drive D");
  EXPECT_EQ(Checked(w.Disk1, units), QStringList{"Kilobytes"});
  EXPECT_EQ(w.CurrentUnit(), SizeUnit::Kb);
  // Nothing else changed: the panel, the pie and its hint are still C:'s.
  EXPECT_EQ(w.Panel1->text(), kTotalText);
  EXPECT_EQ(w.Chart1->Slices().size(), diskSlices.size());
  EXPECT_EQ(w.Chart1->Slices()[0].value, diskSlices[0].value);
  EXPECT_EQ(w.Chart1->toolTip(), kDiskMbText + " Type is Hard drive");
  EXPECT_EQ(w.Label5->text(), "Drive C");
}

TEST_F(TfmZubTest, AFailingResourceQueryIsShownAndChangesNothing) {
  TfmZub& w = OpenActive();
  Entry(w.Memory1, "System")->trigger();
  EXPECT_EQ(w.Panel1->text(), "Free System Resources 80%");
  EXPECT_EQ(w.Chart2->toolTip(), "Free System Resources 80%");
  EXPECT_EQ(w.Chart2->Slices()[0].value, 80);

  resources.readings[2] = {ResourceReading::Status::CountUnavailable, 0};  // User fails
  Entry(w.Memory1, "User")->trigger();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_FALSE(prompts.messages[0].empty());
  EXPECT_EQ(w.Panel1->text(), "Free System Resources 80%");
  EXPECT_EQ(w.Chart2->Slices()[0].value, 80);
  EXPECT_EQ(Checked(w.Memory1, views), QStringList{"System"});
}

TEST_F(TfmZubTest, PresetsGiveTheirSizesOnA640Screen) {
  TfmZub& w = OpenActive();
  EXPECT_EQ(w.frameGeometry().size(), QSize(340, 190));
  struct Row {
    const char* entry;
    QSize window;
    QRect chart2;
    QRect panel;
    int comboLeft, comboWidth, swatch;
  };
  const Row rows[] = {
      {"Medium Zub", {455, 240}, {162, 0, 150, 150}, {8, 154, 350, 40}, 316, 131, 20},
      {"Large Zub", {560, 300}, {212, 0, 200, 200}, {8, 204, 400, 50}, 416, 136, 40},
      {"Small Zub", {340, 188}, {112, 0, 100, 100}, {8, 104, 289, 31}, 216, 116, 15},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry);
    Entry(w.Options1, row.entry)->trigger();
    EXPECT_EQ(w.frameGeometry().size(), row.window);
    EXPECT_EQ(w.Chart1->geometry(), QRect(8, 0, row.chart2.width(), row.chart2.height()));
    EXPECT_EQ(w.Chart2->geometry(), row.chart2);
    EXPECT_EQ(w.Panel1->geometry(), row.panel);
    EXPECT_EQ(w.DriveComboBox1->x(), row.comboLeft);
    EXPECT_EQ(w.DriveComboBox1->width(), row.comboWidth);
    EXPECT_EQ(w.Shape14->size(), QSize(row.swatch, row.swatch));
    EXPECT_EQ(w.Label1->x(), row.comboLeft + row.swatch + 2);
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(TfmZubTest, APresetReturnsToMegabytesAndTotalAndShowsTheDisk) {
  TfmZub& w = OpenActive();
  Entry(w.Disk1, "Kilobytes")->trigger();
  Entry(w.Memory1, "Real")->trigger();
  Entry(w.PopupMenu1, "Medium Zub")->trigger();
  EXPECT_EQ(Checked(w.Disk1, units), QStringList{"Megabytes"});
  EXPECT_EQ(Checked(w.Memory1, views), QStringList{"Total"});
  // The preset ends with the drive update, so the panel shows the disk.
  EXPECT_EQ(w.Panel1->text(), kDiskMbText);
}

TEST_F(TfmZubTest, PresetsOnA1280ScreenAreScaled) {
  screen = {1280, 1024};
  TfmZub& w = OpenActive();
  EXPECT_EQ(w.frameGeometry().size(), QSize(680, 1024 * 190 / 480));
  EXPECT_EQ(w.Chart1->geometry(), QRect(16, 0, 200, 200));
  Entry(w.Options1, "Large Zub")->trigger();
  EXPECT_EQ(w.frameGeometry().size(), QSize(1120, 640));
  EXPECT_EQ(w.Chart1->geometry(), QRect(16, 0, 400, 400));
  EXPECT_EQ(w.Chart2->geometry(), QRect(424, 0, 400, 400));
  EXPECT_EQ(w.Panel1->geometry(), QRect(16, 408, 800, 100));
  EXPECT_EQ(w.Shape11->size(), QSize(80, 80));
  // Label5 back on the pie, placed from the scaled chart.
  EXPECT_EQ(w.Label5->pos(), QPoint(100 + 16, 200 - 10));
}

TEST_F(TfmZubTest, DriveLabelsSitOnTheDiskPie) {
  TfmZub& w = OpenActive();
  EXPECT_EQ(w.Label5->parentWidget(), w.Chart1);
  EXPECT_EQ(w.Label5->pos(), QPoint(33, 40));
  const QSize text = w.Label6->size();
  EXPECT_EQ(w.Label6->pos(), QPoint(100 - 8 - text.width() + 4, 100 - text.height()));
  // A text of another width moves Label6 so that its right edge stays.
  disk.Set("/", 1024 * kMb, 1024 * kMb);
  Entry(w.Disk1, "Megabytes")->trigger();
  EXPECT_EQ(w.Label6->text(), "100%");
  EXPECT_EQ(w.Label6->x() + w.Label6->width(), 96);
}

TEST_F(TfmZubTest, Hints) {
  TfmZub& w = OpenActive();
  for (TShape1* shape : {w.Shape11, w.Shape12, w.Shape13, w.Shape14}) {
    EXPECT_EQ(shape->toolTip(), "Change Color");
  }
  EXPECT_EQ(w.Label1->toolTip(), "Change Free Disk Color");
  EXPECT_EQ(w.Label2->toolTip(), "Change Used Disk Color");
  EXPECT_EQ(w.Label3->toolTip(), "Change Free Mem Color");
  EXPECT_EQ(w.Label4->toolTip(), "Change Used Mem Color");
  Entry(w.Memory1, "Real")->trigger();
  EXPECT_EQ(w.Chart2->toolTip(), w.Panel1->text());
}

TEST_F(TfmZubTest, ACancelledColourChangesNothing) {
  TfmZub& w = OpenActive();
  const MonitorSettings before = w.Settings();
  const auto slices = w.Chart1->Slices();
  prompts.colors = {std::nullopt};
  QTest::mouseClick(w.Label1, Qt::LeftButton);
  ASSERT_EQ(prompts.colorDialogInitials, std::vector<ColorRef>{kBlack});
  EXPECT_EQ(w.Settings(), before);
  EXPECT_EQ(w.Shape11->BrushColor(), kRed);
  EXPECT_EQ(w.Chart1->Slices()[0].color, slices[0].color);
}

TEST_F(TfmZubTest, AChosenColourRepaintsSwatchAndPieWithoutMeasuring) {
  TfmZub& w = OpenActive();
  const int queries = disk.queries;
  prompts.colors = {ColorRef{0x123456}, ColorRef{0x654321}, std::nullopt};

  QTest::mouseClick(w.Shape12, Qt::LeftButton);  // as Label2: the disk's Used slice
  EXPECT_EQ(w.Shape12->BrushColor(), 0x123456u);
  EXPECT_EQ(w.Settings().Pie1Slice, 0x123456);
  EXPECT_EQ(w.Chart1->Slices()[1].color, 0x123456u);
  EXPECT_EQ(w.Chart1->Slices()[1].value, 95);
  EXPECT_EQ(disk.queries, queries);

  Entry(w.Memory1->findChild<QMenu*>(), "Free Space")->trigger();  // Label3
  EXPECT_EQ(w.Settings().Pie2Color, 0x654321);
  EXPECT_EQ(w.Shape13->BrushColor(), 0x654321u);
  EXPECT_EQ(w.Chart2->Slices()[0].color, 0x654321u);

  QTest::mouseClick(w.Label4, Qt::LeftButton);  // cancelled
  EXPECT_EQ(w.Settings().Pie2Slice, MonitorSettings{}.Pie2Slice);
  // One dialog: it opens on the colour it gave last.
  EXPECT_EQ(prompts.colorDialogInitials, (std::vector<ColorRef>{kBlack, 0x123456, 0x654321}));
}

TEST_F(TfmZubTest, SwatchesShowTheLoadedColours) {
  settings.stored = {StoredText::State::Present, "[Zub95/Settings]\nPie2Slice=255\n"};
  TfmZub& w = Open();
  EXPECT_EQ(w.Shape14->BrushColor(), kRed);
  EXPECT_EQ(w.Shape11->BrushColor(), kRed);
  EXPECT_EQ(w.Shape12->BrushColor(), kGreen);
  EXPECT_EQ(w.Shape13->BrushColor(), kBlue);
}

TEST_F(TfmZubTest, TheTimerPutsTheSummaryIntoTheTitle) {
  TfmZub& w = OpenActive();
  EXPECT_EQ(w.Timer1->interval(), 6000);
  EXPECT_TRUE(w.Timer1->isActive());
  const QString panel = w.Panel1->text();
  w.Timer1->setInterval(5);
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return app.Title() == "31% 80% 84% 80% Total System GDI User"; }));
  EXPECT_EQ(w.windowIconText(), "31% 80% 84% 80% Total System GDI User");
  EXPECT_EQ(w.windowTitle(), "Zub 97 v3.0");
  EXPECT_EQ(w.Panel1->text(), panel);
}

TEST_F(TfmZubTest, TimerErrorsAreShownOnEveryTickAndTheTimerGoesOn) {
  TfmZub& w = OpenActive();
  resources.readings[0] = {ResourceReading::Status::TableUnavailable, 0};
  w.Timer1->setInterval(5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.messages.size() >= 3; }));
  EXPECT_EQ(prompts.messages[0], prompts.messages[2]);
  EXPECT_TRUE(w.Timer1->isActive());
}

TEST_F(TfmZubTest, ClosingSavesTheSettings) {
  TfmZub& w = OpenActive();
  prompts.colors = {ColorRef{0x112233}};
  w.Label1Click();
  w.close();
  EXPECT_EQ(Stored("Settings", "Pie1Color"), "1122867");
  EXPECT_EQ(Stored("Settings", "Pie2Slice"), "65535");
  // Neither file window was opened in this run.
  EXPECT_FALSE(Stored("Dir", "DirSize"));
  EXPECT_FALSE(Stored("Files", "FontSize"));
}

TEST_F(TfmZubTest, AfterAResetClosingSavesNothing) {
  settings.stored = {StoredText::State::Present, "[Zub95/Settings]\nPie1Color=77\n"};
  TfmZub& w = OpenActive();
  prompts.answers = {Answer::Yes};
  Entry(w.Options1, "Reset Settings")->trigger();
  ASSERT_TRUE(w.SettingsCleared());
  const std::string afterReset = settings.stored.text;
  const int rewrites = settings.rewrites;
  w.close();
  EXPECT_EQ(settings.rewrites, rewrites);
  EXPECT_EQ(settings.stored.text, afterReset);
  EXPECT_FALSE(Stored("Settings", "Pie1Color"));
}

TEST_F(TfmZubTest, AFailingSaveIsShownAndTheWindowStillCloses) {
  TfmZub& w = OpenActive();
  settings.failWrites = true;
  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.isVisible());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].find("Failed"), std::string::npos) << prompts.messages[0];
}

// A close nobody watches (a logout) must not wait on a message box.
TEST_F(TfmZubTest, AFailingSaveOfACloseBySignalGoesToTheSinkNotABox) {
  TfmZub& w = OpenActive();
  settings.failWrites = true;
  std::vector<std::string> reported;
  w.ReportCloseErrorsTo([&](const std::string& text) { reported.push_back(text); });
  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_NE(reported[0].find("Failed"), std::string::npos) << reported[0];
}

TEST_F(TfmZubTest, ASecondCopyIsRaisedOnlyForItsCurrentTitle) {
  TfmZub& w = OpenActive();
  w.showMinimized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.isMinimized(); }));
  const std::string name = "OnlyOne" + std::string(kStartupTitle).substr(0, 20);
  fakes::FakeInstanceMarker second(held);
  second.AskToRaise(name, kStartupTitle);  // the title has changed since start-up
  EXPECT_TRUE(w.isMinimized());
  second.AskToRaise(name, app.Title());
  EXPECT_FALSE(w.isMinimized());
}

TEST_F(TfmZubTest, ASecondCopyAsksToTerminate) {
  Open();
  Application secondApp;
  secondApp.SetTitle(kStartupTitle);
  fakes::FakeInstanceMarker secondMarker(held);
  fakes::FakeSettingsFile secondSettings;
  TfmZub second(MonitorServices{secondApp, drives, disk, memory, resources, secondSettings,
                                secondMarker, prompts, [this] { return screen; }},
                tools);
  EXPECT_TRUE(secondApp.Terminated());
  EXPECT_FALSE(app.Terminated());
}

TEST_F(TfmZubTest, HelpOpensTheManualOrSaysItIsMissing) {
  TfmZub& w = OpenActive();
  app.SetHelpFile("/nonexistent/zub97/index.html");
  w.Help1->trigger();
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_NE(prompts.messages[0].find("/nonexistent/zub97/index.html"), std::string::npos);

  QTemporaryDir dir;
  const QString path = dir.filePath("index.html");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<html><body><h1>Zub 97</h1></body></html>");
  file.close();
  app.SetHelpFile(path.toStdString());
  w.Help1->trigger();
  auto* help = w.findChild<QDialog*>("HelpWindow");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->findChild<QTextBrowser*>()->source().toLocalFile(), path);
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(TfmZubTest, EntriesAndPieClicksOpenTheirWindowsThroughTheHub) {
  tools.available = {Tool::AllDisks,    Tool::DirectorySpace, Tool::DirectoryTree, Tool::FileSearch,
                     Tool::ProcessTree, Tool::RunningWindows, Tool::Craps};
  TfmZub& w = OpenActive();
  Entry(w.PopupMenu1, "All Disk Graphs")->trigger();
  Entry(w.Disk1, "Directory Search")->trigger();
  QTest::mouseClick(w.Chart1, Qt::LeftButton);
  Entry(w.PopupMenu1, "Directory Tree")->trigger();
  Entry(w.Disk1, "File Search")->trigger();
  Entry(w.PopupMenu1, "Memory Tree")->trigger();
  Entry(w.Memory1, "Whats running . Window Names. ")->trigger();
  QTest::mouseClick(w.Chart2, Qt::LeftButton);
  Entry(w.Options1, "Craps Game")->trigger();
  Entry(w.PopupMenu1, "What Running")->trigger();  // no action
  EXPECT_EQ(tools.opened,
            (std::vector<Tool>{Tool::AllDisks, Tool::DirectorySpace, Tool::DirectorySpace,
                               Tool::DirectoryTree, Tool::FileSearch, Tool::ProcessTree,
                               Tool::RunningWindows, Tool::RunningWindows, Tool::Craps}));
}

TEST_F(TfmZubTest, ClosingSavesTheSectionsOfTheWindowsOpenedInThisRun) {
  TfmZub& w = OpenActive();
  tools.flags.directorySpace = true;
  w.Settings().DirFontSize = 11;
  w.Settings().FilesFontSize = 10;
  w.close();
  EXPECT_EQ(Stored("Dir", "DirSize"), "11");
  EXPECT_FALSE(Stored("Files", "FontSize"));
}

TEST_F(TfmZubTest, MenusCarryTheirExactCaptions) {
  TfmZub& w = Open();
  QStringList popup;
  for (QAction* action : w.PopupMenu1->actions()) {
    popup << Caption(action);
  }
  EXPECT_EQ(popup, (QStringList{"All Disk Graphs", "Directory Tree", "Memory Tree", "What Running",
                                "Small Zub ", "Medium Zub", "Large Zub", "File Search",
                                "Directory Search", "Craps Game"}));
  EXPECT_NE(Entry(w.Memory1, "Whats running . Window Names. "), nullptr);
  EXPECT_NE(Entry(w.Memory1, "Memory Tree. Processes and Modules."), nullptr);
  // Windows the program does not have yet: their entries cannot be chosen.
  EXPECT_FALSE(Entry(w.Disk1, "Directory Search")->isEnabled());
  EXPECT_FALSE(Entry(w.PopupMenu1, "File Search")->isEnabled());
  EXPECT_TRUE(Entry(w.Disk1, "All Disks")->isEnabled());
}

// Every entry, in every menu, submenu and the pop-up, with its mnemonic key.
void CollectKeys(QMenu* menu, std::vector<std::pair<QString, QChar>>& keys) {
  std::set<QChar> used;
  for (QAction* action : menu->actions()) {
    const QString text = action->text();
    const int marker = text.indexOf(QRegularExpression("&[^&]"));
    SCOPED_TRACE(text.toStdString());
    ASSERT_GE(marker, 0) << "no mnemonic";
    const QChar key = text.at(marker + 1).toLower();
    EXPECT_TRUE(used.insert(key).second) << "key used twice in one menu";
    keys.emplace_back(text, key);
    if (action->menu() != nullptr) {
      CollectKeys(action->menu(), keys);
    }
  }
}

TEST_F(TfmZubTest, AKeyboardReachesEveryEntryAndControl) {
  TfmZub& w = OpenActive();
  std::vector<std::pair<QString, QChar>> keys;
  std::set<QChar> barKeys;
  for (QAction* top : w.menuBar()->actions()) {
    const int marker = top->text().indexOf('&');
    ASSERT_GE(marker, 0) << top->text().toStdString();
    EXPECT_TRUE(barKeys.insert(top->text().at(marker + 1).toLower()).second);
    if (top->menu() != nullptr) {
      CollectKeys(top->menu(), keys);
    }
  }
  CollectKeys(w.PopupMenu1, keys);
  EXPECT_GT(keys.size(), 35u);

  // Tab from the drive list visits every control that acts, each with a name.
  w.DriveComboBox1->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return w.DriveComboBox1->hasFocus(); }));
  std::set<QWidget*> reached;
  for (int i = 0; i < 12; ++i) {
    reached.insert(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{
           w.DriveComboBox1, w.Chart1, w.Chart2, w.Shape11, w.Shape12, w.Shape13, w.Shape14}) {
    EXPECT_EQ(reached.count(control), 1u) << control->objectName().toStdString();
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
  }
  EXPECT_FALSE(w.Panel1->accessibleName().isEmpty());

  // Space on a focused swatch chooses its colour, as a click does.
  prompts.colors = {std::nullopt};
  w.Shape13->setFocus();
  QTest::keyClick(w.Shape13, Qt::Key_Space);
  EXPECT_EQ(prompts.colorDialogInitials.size(), 1u);
}

TEST_F(TfmZubTest, APanelTextTooWideForItsSizeIsShrunkNotCut) {
  disk.Set("/", 4032905216, 270553174016);
  TfmZub& w = OpenActive();
  Entry(w.Disk1, "Bytes")->trigger();
  const QFontMetrics metrics(w.Panel1->font());
  EXPECT_LE(metrics.horizontalAdvance(w.Panel1->text()), w.Panel1->contentsRect().width());
  EXPECT_EQ(w.Panel1->text(), "4032905216/270553174016 Free/Total Bytes");
}

TEST_F(TfmZubTest, APageFileOfNoSwapShowsAnEmptyPie) {
  TfmZub& w = OpenActive();
  memory.status->totalPageFile = 0;
  Entry(w.Memory1, "Page File")->trigger();
  EXPECT_TRUE(w.Chart2->ShowsEmpty());
  Entry(w.Memory1, "Real")->trigger();
  EXPECT_FALSE(w.Chart2->ShowsEmpty());
}

}  // namespace
}  // namespace zub
