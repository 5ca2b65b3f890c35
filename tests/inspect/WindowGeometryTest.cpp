// The inspection windows as laid out on the screen the test runs on (CTest
// runs this at 640 x 480, 1280 x 1024 and on scaled screens): every control
// inside its window and every text whole, at every font size the dialogs offer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>

#include <cstdlib>

#include "fakes/FakePlatform.h"
#include "fakes/FakeProcessSource.h"
#include "fakes/FakeSystemFacts.h"
#include "fakes/FakeVersionSources.h"
#include "fakes/FakeWindowSource.h"
#include "fakes/ScriptedPrompts.h"
#include "inspect/TFmMemTree.h"
#include "inspect/UnFilever.h"
#include "inspect/UtMem.h"
#include "support/TempDir.h"
#include "support/WindowChecks.h"

namespace zub {
namespace {

using test_support::ControlsOutside;
using test_support::CutTexts;
using ::testing::IsEmpty;

// The screen CTest asked for ("640x480", logical pixels), so that a run whose
// screen setting was not taken fails instead of checking the default screen.
TEST(InspectGeometry, RunsOnTheScreenAskedFor) {
  const char* expected = std::getenv("ZUB_EXPECT_SCREEN");
  if (expected == nullptr) {
    GTEST_SKIP() << "no screen asked for";
  }
  const QSize size = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(std::to_string(size.width()) + "x" + std::to_string(size.height()), expected);
}

void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

// Both checks of a shown window, named by what was varied.
void ExpectWhole(const QWidget& window, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_THAT(ControlsOutside(window), IsEmpty());
  EXPECT_THAT(CutTexts(window), IsEmpty());
  // The window fits the screen it is on.
  EXPECT_TRUE(window.screen()->availableGeometry().contains(window.frameGeometry()))
      << window.frameGeometry().width() << "x" << window.frameGeometry().height();
}

TEST(InspectGeometry, ProcessTreeAtEveryDirectoryFontSize) {
  test_support::TempDir dir;
  fakes::FakeProcessSource source;
  const std::string longPath = "/usr/lib/x86_64-linux-gnu/" + std::string(120, 'q') + ".so.6";
  for (int i = 0; i < 400; ++i) {
    source.Add("/usr/bin/app" + std::to_string(i),
               std::vector<ModuleRecord>{{longPath, std::uint64_t{1} << 40, 4000000000U}}, 13,
               4000000000U);
  }
  // The directory font dialog offers these; the tree shows at most 10 points.
  for (const int size : QFontDatabase::standardSizes()) {
    MonitorSettings settings;
    settings.DirFontSize = size;
    TFmMemTree window(settings, source, nullptr);
    ShowActive(window);
    window.FormActivate();
    window.Button2()->click();  // "Collapse", the caption's longest
    ExpectWhole(window, "directory font " + std::to_string(size));
    EXPECT_EQ(window.Panel1()->text(), "Zub found 400 Processes 400 Modules using 419430400Mb");
  }
}

TEST(InspectGeometry, RunningWindowsAtEveryListFontSize) {
  fakes::FakeSettingsFile machine;
  fakes::FakeSystemFacts facts;
  facts.facts.totalPhys = std::int64_t{1} << 42;  // 4 TiB: the longest memory figure here
  fakes::FakeDriveTable table;
  fakes::FakeDiskSpace space;
  const DriveQueries queries{table, space};
  fakes::FakeWindowSource windows;
  for (int i = 0; i < 1200; ++i) {
    windows.Add("A window whose title is longer than the list is wide " + std::to_string(i));
  }
  fakes::ScriptedPrompts prompts;
  for (const int size : QFontDatabase::standardSizes()) {
    TfmMem window(machine, facts, queries, windows, prompts);
    QFont font("MS Sans Serif");
    font.setPointSize(size);
    window.ListBox1()->setFont(font);
    ShowActive(window);
    window.FormActivate();
    ExpectWhole(window, "list font " + std::to_string(size));
    EXPECT_EQ(window.Panel2()->text(), "4294967296 KB/ 1200 Windows");
    // A line is never shorter than its font.
    const QRect line = window.ListBox1()->visualItemRect(window.ListBox1()->item(0));
    EXPECT_GE(line.height(), QFontMetrics(font).height()) << size;
  }
}

TEST(InspectGeometry, FileInformationWithALibrarysTexts) {
  test_support::TempDir dir;
  dir.Write("libQt6Core.so.6.4.2", "x");
  fakes::FakeVersionBlocks blocks;
  fakes::FakeElfSource elf;
  fakes::FakePackageDatabase packages;
  const std::string path = dir / "libQt6Core.so.6.4.2";
  elf.files[path] = ElfFacts{3, false, false, "libQt6Core.so.6", path};
  packages.owners[path] = {"libqt6core6", "6.4.2+dfsg-10",
                           "Qt 6 core module, with a summary as long as a package's may be",
                           "2016-2022 The Qt Company Ltd. and other contributors to the module"};
  TFileInfo window({blocks, elf, packages}, "/proc/self/exe");
  window.InfoFileName = path;
  ShowActive(window);
  window.FormActivate();
  ExpectWhole(window, "file information");
  // Figures are never cut; a text too long for the screen keeps its whole in the tooltip.
  EXPECT_EQ(window.ValueLabel(4)->text(), "6.4.2");
  EXPECT_EQ(window.ValueLabel(8)->text(), "6.4.2+dfsg-10");
  EXPECT_EQ(window.ValueLabel(6)->toolTip(),
            "2016-2022 The Qt Company Ltd. and other contributors to the module");
}

}  // namespace
}  // namespace zub
