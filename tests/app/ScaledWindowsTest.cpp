// The main window, All Disks, the craps game and the help window as a person
// sees them on a scaled desktop: CTest runs this at QT_SCALE_FACTOR 1, 1.5
// and 2. Every control inside its window, every text whole, no two controls
// laid side by side on top of each other, and self-drawn pies as dense as
// the screen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <algorithm>
#include <memory>

#include "diskview/PieGrafWidget.h"
#include "diskview/Shape1.h"
#include "diskview/TfmAlldisk.h"
#include "fakes/FakeMonitorServices.h"
#include "fakes/FakeToolWindows.h"
#include "fakes/ScriptedPrompts.h"
#include "game/DiceWidget.h"
#include "game/ScriptedDice.h"
#include "game/TfmGame.h"
#include "monitor/PieChartView.h"
#include "monitor/TfmZub.h"
#include "support/WindowChecks.h"
#include "ui/HelpWindow.h"

namespace zub {
namespace {

using test_support::ControlsOutside;
using test_support::CutTexts;
using ::testing::IsEmpty;

constexpr std::int64_t kMb = 1048576;

std::string Named(const QWidget* widget) {
  return widget->objectName().toStdString();
}

class ScaledMainWindow : public ::testing::TestWithParam<ScreenSize>,
                         protected fakes::FakeMonitorServices {
 protected:
  ScaledMainWindow() {
    drives.Add("/", DriveKind::Fixed, "root");
    // Figures as long as a big disk gives them, in bytes too.
    disk.Set("/", 4032905216, 270553174016);
    memory.status->totalPhys = 1000 * kMb;
    memory.status->availPhys = 250 * kMb;
  }

  TfmZub& OpenActive() {
    window = std::make_unique<TfmZub>(Services([this] { return GetParam(); }), tools);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->windowTitle() == "Zub 97 v3.0"; }));
    return *window;
  }

  // Controls the layout puts side by side that cover each other. The swatches
  // and the captions are each a column, one below the other, and may touch.
  static std::vector<std::string> Overlaps(const TfmZub& w) {
    const std::vector<const QWidget*> swatches = {w.Shape11, w.Shape12, w.Shape13, w.Shape14};
    const std::vector<const QWidget*> captions = {w.Label1, w.Label2, w.Label3, w.Label4};
    std::vector<const QWidget*> placed = {w.DriveComboBox1, w.Chart1, w.Chart2, w.Panel1};
    placed.insert(placed.end(), swatches.begin(), swatches.end());
    placed.insert(placed.end(), captions.begin(), captions.end());
    auto column = [](const std::vector<const QWidget*>& of, const QWidget* a, const QWidget* b) {
      return std::count(of.begin(), of.end(), a) + std::count(of.begin(), of.end(), b) == 2;
    };
    std::vector<std::string> overlaps;
    for (std::size_t i = 0; i < placed.size(); ++i) {
      for (std::size_t j = i + 1; j < placed.size(); ++j) {
        const QWidget* a = placed[i];
        const QWidget* b = placed[j];
        if (!column(swatches, a, b) && !column(captions, a, b) &&
            a->geometry().intersects(b->geometry())) {
          overlaps.push_back(Named(a) + " on " + Named(b));
        }
      }
    }
    return overlaps;
  }

  // Chooses a menu entry as a user does.
  static void Choose(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
      if (QString(action->text()).remove('&') == caption) {
        action->trigger();
        return;
      }
    }
    ADD_FAILURE() << "no entry " << caption.toStdString();
  }

  // Drop-down and pop-up menus show the menu bar's letters.
  static std::vector<std::string> MenusOffTheBarsFont(const TfmZub& w) {
    const int barPixels = QFontInfo(w.menuBar()->font()).pixelSize();
    std::vector<std::string> off;
    for (const QMenu* menu : w.findChildren<QMenu*>()) {
      if (QFontInfo(menu->font()).pixelSize() != barPixels) {
        off.push_back(menu->title().toStdString() + " " +
                      std::to_string(QFontInfo(menu->font()).pixelSize()) + " px");
      }
    }
    return off;
  }

  void ExpectWhole(TfmZub& w) {
    EXPECT_THAT(ControlsOutside(w), IsEmpty());
    EXPECT_THAT(CutTexts(w), IsEmpty());
    EXPECT_THAT(Overlaps(w), IsEmpty());
    EXPECT_THAT(MenusOffTheBarsFont(w), IsEmpty());
    // The longest figures: the disk in bytes.
    Choose(w.Disk1, "Bytes");
    EXPECT_EQ(w.Panel1->text().toStdString(), "4032905216/270553174016 Free/Total Bytes");
    EXPECT_THAT(CutTexts(w), IsEmpty());
  }

  fakes::FakeToolWindows tools;
  std::unique_ptr<TfmZub> window;
};

TEST_P(ScaledMainWindow, EveryPresetHoldsItsControlsWholeAndApart) {
  TfmZub& w = OpenActive();
  {
    SCOPED_TRACE("as created");
    ExpectWhole(w);
  }
  for (const char* preset : {"Small Zub", "Medium Zub", "Large Zub"}) {
    SCOPED_TRACE(preset);
    Choose(w.Options1, preset);
    ExpectWhole(w);
  }
  EXPECT_TRUE(prompts.messages.empty());
}

// 640 x 480 and 1280 x 1024 as the layouts' own screens, and the logical sizes of a
// 1920 x 1200 screen at 200 % and 150 %: wider than 4:3, so the controls,
// scaled by the width, outgrow a window scaled by the height.
INSTANTIATE_TEST_SUITE_P(Screens, ScaledMainWindow,
                         ::testing::Values(ScreenSize{640, 480}, ScreenSize{1280, 1024},
                                           ScreenSize{960, 600}, ScreenSize{1280, 800}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

class ScaledAllDisks : public ::testing::Test {
 protected:
  void SetDrives(int count) { fakes::SetCountedDrives(table, space, count); }

  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  MonitorSettings settings;
  fakes::ScriptedPrompts prompts;
  TfmAlldisk window{settings, table, space, prompts};
};

TEST_F(ScaledAllDisks, EveryRowOfPiesIsInsideTheWindow) {
  window.show();
  for (const int count : {1, 7, 18, 24}) {
    SCOPED_TRACE(std::to_string(count) + " drives");
    SetDrives(count);
    window.FormActivate();
    EXPECT_THAT(ControlsOutside(window), IsEmpty());
  }
}

// The pie draws into an image of its own and shows it; the image has the
// device pixels of the screen, or the pie would be stretched and blurred.
TEST_F(ScaledAllDisks, APieIsDrawnAtTheScreensDevicePixels) {
  SetDrives(1);
  window.show();
  window.FormActivate();
  PieGrafWidget* pie = window.PieGraf(1);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const qreal ratio = window.screen()->devicePixelRatio();
  EXPECT_EQ(pie->devicePixelRatioF(), ratio);
  EXPECT_EQ(pie->Surface().devicePixelRatio(), ratio);
  EXPECT_EQ(pie->Surface().size(), pie->size() * ratio);
  // What the screen gets is that image, one to one.
  const QImage shown = pie->grab().toImage();
  EXPECT_EQ(shown.convertToFormat(pie->Surface().format()), pie->Surface());
}

TEST(ScaledGame, PanelsAndDiceStayInsideAndWholeThroughATurn) {
  CrapsGame game;
  fakes::ScriptedPrompts prompts;
  fakes::ScriptedDice dice;
  TfmGame window(game, prompts, nullptr, &dice);
  window.show();
  window.FormActivate();
  // Roll Again, a loss on seven, a win on the point and Little Joe: every kind of message.
  dice.Queue({2, 4, 3, 4, 2, 4, 3, 3, 2, 2});
  for (int roll = 0; roll < 5; ++roll) {
    window.Dice1Click();
    SCOPED_TRACE(window.Panel1()->text().toStdString());
    EXPECT_THAT(ControlsOutside(window), IsEmpty());
    EXPECT_THAT(CutTexts(window), IsEmpty());
    EXPECT_FALSE(window.Dice1()->geometry().intersects(window.Dice2()->geometry()));
    EXPECT_FALSE(window.Panel2()->geometry().intersects(window.Dice1()->geometry()));
  }
}

TEST(ScaledHelp, TheManualWindowFitsTheScreensFreeArea) {
  QTemporaryDir dir;
  const QString page = dir.filePath("index.html");
  QFile file(page);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<h1>Zub 97 Help</h1><p>Pies.</p>");
  file.close();

  HelpWindow help;
  help.ShowTopic(page);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
  const QRect free = help.screen()->availableGeometry();
  EXPECT_TRUE(free.contains(help.frameGeometry()))
      << help.frameGeometry().width() << "x" << help.frameGeometry().height();
  EXPECT_THAT(ControlsOutside(help), IsEmpty());
  EXPECT_TRUE(help.Browser()->toPlainText().contains("Pies."));
}

}  // namespace
}  // namespace zub
