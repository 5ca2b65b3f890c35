#include "app/WindowHub.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "diskview/TfmAlldisk.h"
#include "fakes/FakeDirectorySource.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakeProcessSource.h"
#include "fakes/FakeSystemFacts.h"
#include "fakes/FakeVersionSources.h"
#include "fakes/FakeWindowSource.h"
#include "fakes/ScriptedPrompts.h"
#include "game/TfmGame.h"
#include "inspect/UnFilever.h"

namespace zub {
namespace {

class WindowHubTest : public ::testing::Test {
 protected:
  WindowHubTest() {
    drives.Add("/");
    disk.Set("/", 50, 100);
    hub.SetMainWindow(&main, &settings, [] { return 'C'; });
    main.show();
  }

  // Opens `tool` and closes whatever modal window it shows, noting what was
  // up meanwhile. The result is the modal window's class, "" for none.
  std::string OpenAndClose(Tool tool, bool* mainVisibleDuring) {
    std::string modalClass;
    QTimer::singleShot(0, [&] {
      *mainVisibleDuring = main.isVisible();
      if (QWidget* modal = QApplication::activeModalWidget()) {
        modalClass = modal->metaObject()->className();
        modal->close();
      }
    });
    hub.Open(tool);
    return modalClass;
  }

  fakes::FakeDriveTable drives;
  fakes::FakeDiskSpace disk;
  fakes::ScriptedPrompts prompts;
  MonitorSettings settings;
  QMainWindow main;
  fakes::FakeProcessSource processes;
  fakes::FakeVersionBlocks blocks;
  fakes::FakeElfSource elf;
  fakes::FakePackageDatabase packages;
  fakes::FakeSettingsFile machine;
  fakes::FakeSystemFacts facts;
  fakes::FakeWindowSource windows;
  fakes::FakeDirectorySource files;
  fakes::FakeTrash trash;
  WindowHub hub{{drives,
                 disk,
                 prompts,
                 processes,
                 {blocks, elf, packages},
                 "/usr/bin/zub97",
                 machine,
                 facts,
                 windows,
                 files,
                 trash}};
};

TEST_F(WindowHubTest, AllDisksIsKeptAndShownModallyWhileTheMainWindowHides) {
  for (int opening = 0; opening < 2; ++opening) {
    bool mainVisibleDuring = true;
    EXPECT_EQ(OpenAndClose(Tool::AllDisks, &mainVisibleDuring), "zub::TfmAlldisk");
    EXPECT_FALSE(mainVisibleDuring);
    EXPECT_TRUE(main.isVisible());
  }
  EXPECT_EQ(main.findChildren<TfmAlldisk*>().size(), 1);
  EXPECT_TRUE(hub.Opened().allDisks);
  EXPECT_FALSE(hub.Opened().directorySpace);
}

TEST_F(WindowHubTest, TheGameIsANewModalWindowEachTimeBesideTheMainWindow) {
  bool mainVisibleDuring = false;
  EXPECT_EQ(OpenAndClose(Tool::Craps, &mainVisibleDuring), "zub::TfmGame");
  EXPECT_TRUE(mainVisibleDuring);
  EXPECT_TRUE(main.findChildren<TfmGame*>().isEmpty());
}

TEST_F(WindowHubTest, TheGameTotalOutlivesEachGameWindow) {
  hub.Game().GameTotal = 1234;
  bool ignored = false;
  ASSERT_EQ(OpenAndClose(Tool::Craps, &ignored), "zub::TfmGame");
  EXPECT_EQ(hub.Game().GameTotal, 1234);
}

TEST_F(WindowHubTest, EveryWindowIsAvailableAndTheFileWindowsAreKeptAndModal) {
  for (const Tool tool : {Tool::AllDisks, Tool::DirectorySpace, Tool::DirectoryTree,
                          Tool::FileSearch, Tool::ProcessTree, Tool::RunningWindows, Tool::Craps}) {
    EXPECT_TRUE(hub.Available(tool));
  }
  const std::pair<Tool, const char*> kept[] = {{Tool::DirectorySpace, "zub::TFmDir"},
                                               {Tool::DirectoryTree, "zub::TfmTree"},
                                               {Tool::FileSearch, "zub::TfmFiles"},
                                               {Tool::ProcessTree, "zub::TFmMemTree"}};
  for (const auto& [tool, name] : kept) {
    SCOPED_TRACE(name);
    bool mainVisibleDuring = true;
    EXPECT_EQ(OpenAndClose(tool, &mainVisibleDuring), name);
    EXPECT_FALSE(mainVisibleDuring);
    QWidget* first = hub.Window(tool);
    OpenAndClose(tool, &mainVisibleDuring);
    EXPECT_EQ(hub.Window(tool), first);
  }
  // The directory space and file search sections are saved only now.
  EXPECT_TRUE(hub.Opened().directorySpace);
  EXPECT_TRUE(hub.Opened().fileSearch);
  EXPECT_TRUE(hub.Opened().directoryTree);
  EXPECT_TRUE(hub.Opened().processTree);
}

TEST_F(WindowHubTest, TheFileInformationWindowExistsHiddenFromTheStart) {
  auto* info = main.findChild<TFileInfo*>();
  ASSERT_NE(info, nullptr);
  EXPECT_FALSE(info->isVisible());
  std::string shown;
  QTimer::singleShot(0, [&] {
    if (auto* modal = qobject_cast<TFileInfo*>(QApplication::activeModalWidget())) {
      shown = modal->InfoFileName;
      modal->close();
    }
  });
  hub.ShowFileInfo("/usr/lib/libx.so");
  EXPECT_EQ(shown, "/usr/lib/libx.so");
}

TEST_F(WindowHubTest, RunningWindowsIsMadeOnceAndShownBesideTheMainWindow) {
  hub.Open(Tool::RunningWindows);
  QWidget* first = hub.Window(Tool::RunningWindows);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(main.isVisible());
  EXPECT_FALSE(first->isModal());
  first->hide();
  hub.Open(Tool::RunningWindows);
  EXPECT_EQ(hub.Window(Tool::RunningWindows), first);
  EXPECT_TRUE(hub.Opened().runningWindows);
}

TEST_F(WindowHubTest, RunningWindowsOpensBesideTheMainWindowAndKeepsAPlaceTheUserChose) {
  const QRect screen = main.screen()->availableGeometry();
  main.setGeometry(screen.left() + 20, screen.top() + 40, 200, 150);
  QApplication::processEvents();
  hub.Open(Tool::RunningWindows);
  QWidget* window = hub.Window(Tool::RunningWindows);
  ASSERT_NE(window, nullptr);
  const QRect mainFrame = main.frameGeometry();
  EXPECT_EQ(window->pos(), QPoint(mainFrame.x() + mainFrame.width() + 8, mainFrame.y()));
  EXPECT_TRUE(screen.contains(window->frameGeometry()));
  window->hide();

  // Not moved by the user: it follows the main window, which has no room on
  // its right now, so it goes to the left.
  main.move(screen.right() - main.frameGeometry().width() - 10, screen.top() + 40);
  QApplication::processEvents();
  hub.Open(Tool::RunningWindows);
  EXPECT_LT(window->frameGeometry().right(), main.frameGeometry().left());
  EXPECT_TRUE(screen.contains(window->frameGeometry()));

  // No room on either side: below it.
  window->hide();
  main.setGeometry(screen.left() + 150, screen.top() + 20, screen.width() - 300, 100);
  QApplication::processEvents();
  hub.Open(Tool::RunningWindows);
  EXPECT_GT(window->frameGeometry().top(), main.frameGeometry().bottom());
  EXPECT_TRUE(screen.contains(window->frameGeometry()));

  // No room on any side (a small screen): inside the screen, hiding less of
  // the main window than the nearest spot on its right would.
  window->hide();
  main.setGeometry(screen.left() + 100, screen.top() + screen.height() / 4, screen.width() - 200,
                   screen.height() / 2);
  QApplication::processEvents();
  hub.Open(Tool::RunningWindows);
  const QRect frame = window->frameGeometry();
  EXPECT_TRUE(screen.contains(frame));
  const auto hidden = [&](const QRect& place) {
    const QRect over = place.intersected(main.frameGeometry());
    return over.width() * over.height();
  };
  const QRect nearestRight(QPoint(screen.right() + 1 - frame.width(), main.frameGeometry().y()),
                           frame.size());
  EXPECT_LT(hidden(frame), hidden(nearestRight));

  // Moved by the user: the place is kept on later openings.
  window->move(screen.left() + 5, screen.top() + 7);
  window->hide();
  hub.Open(Tool::RunningWindows);
  EXPECT_EQ(window->pos(), QPoint(screen.left() + 5, screen.top() + 7));
}

}  // namespace
}  // namespace zub
