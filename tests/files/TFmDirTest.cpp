#include "files/TFmDir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTableView>
#include <QTest>

#include "fakes/FakeDirectorySource.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"
#include "files/DirectoryChooser.h"
#include "files/FmDirRules.h"

namespace zub {
namespace {

constexpr std::int64_t kMb = 1048576;

class TFmDirTest : public ::testing::Test {
 protected:
  TFmDirTest() {
    drives.Add("/");
    drives.Add("/d").currentDirectory = "/d/work";
    files.AddDir("/d");
    files.AddDir("/d/work");
    for (int i = 0; i < 25; ++i) {
      files.AddFile("/d/work/f" + std::to_string(i), i == 0 ? 3 * kMb : 10);
    }
    files.AddDir("/d/three");
    files.AddFile("/d/three/a", kMb);
    files.AddFile("/d/three/B.txt", kMb / 2);
    files.AddFile("/d/three/c.doc", kMb / 2);
    files.AddDir("/d/empty");
    files.AddDir("/d/.secret");
  }

  TFmDir& Window() {
    if (!window) {
      window = std::make_unique<TFmDir>(
          settings, drives, [this] { return mainLetter; }, files, trash, prompts);
    }
    return *window;
  }
  QAction* Action(const char* name) { return Window().findChild<QAction*>(name); }
  std::string PanelText() { return Window().Panel()->text().toStdString(); }
  void Choose(const std::string& path) { Window().Chooser()->SetDirectory(path, true); }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (std::size_t row = 0; row < Window().Grid().RowCount(); ++row) {
      names.push_back(Window().Grid().Cell(0, row));
    }
    return names;
  }

  fakes::FakeDriveTable drives;
  fakes::FakeDirectorySource files;
  fakes::FakeTrash trash{&files};
  fakes::ScriptedPrompts prompts;
  MonitorSettings settings;
  char mainLetter = 'D';
  std::unique_ptr<TFmDir> window;
};

TEST_F(TFmDirTest, OpeningListsTheMainDrivesCurrentDirectoryLargestFirstInMb) {
  Window().show();
  QTRY_COMPARE(Window().windowTitle(), QString("Directory /d/work"));
  EXPECT_EQ(PanelText(), "3 Mb 25 Files");
  EXPECT_EQ(Names().front(), "f0");
  EXPECT_EQ(Window().DriveChooser()->currentData().toChar(), QChar('D'));
  EXPECT_TRUE(Action("Mb1")->isChecked());
  EXPECT_TRUE(Action("Directories1")->isChecked());
  EXPECT_TRUE(Action("FileSize1")->isChecked());
  EXPECT_TRUE(Action("Descending1")->isChecked());
  EXPECT_FALSE(Window().Chooser()->isHidden());
  EXPECT_TRUE(Window().GridView()->isHidden());
}

TEST_F(TFmDirTest, KbThenBytesThenTheSameDirectoryAgainGiveThreeDifferentTexts) {
  Window().FormActivate();
  Action("Kb1")->trigger();
  Choose("/d/three");
  EXPECT_EQ(PanelText(), "2048 Kb 3 Files");
  EXPECT_EQ(drives.drives[1].currentDirectory, "/d/three");
  Action("Bytes1")->trigger();
  EXPECT_EQ(PanelText(), "2097152 bytes");
  EXPECT_FALSE(Action("Kb1")->isChecked());
  Choose("/d/empty");
  Choose("/d/three");
  EXPECT_EQ(PanelText(), "2097152 Bytes");
}

TEST_F(TFmDirTest, AnEmptyDirectoryReadsZeroAndAUnitChangeThenMovesOnlyTheCheckMark) {
  Window().FormActivate();
  Action("Bytes1")->trigger();
  Action("Mb1")->trigger();
  Choose("/d/empty");
  EXPECT_EQ(PanelText(), "0 Mb 0 Files");
  for (std::size_t row = 0; row < Window().Grid().RowCount(); ++row) {
    EXPECT_EQ(Window().Grid().Cell(0, row), " ");
  }
  Action("Bytes1")->trigger();
  Action("Mb1")->trigger();
  EXPECT_EQ(PanelText(), "0 Mb 0 Files");
  EXPECT_TRUE(Action("Mb1")->isChecked());
}

TEST_F(TFmDirTest, SortMenusListAgainAndKeepThePanelWhileSortOrderOnlyResorts) {
  Window().FormActivate();
  Choose("/d/three");
  Action("FileName1")->trigger();
  EXPECT_EQ(Names(), (std::vector<std::string>{"c.doc", "b.txt", "a"}));
  Action("Ascending1")->trigger();
  EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b.txt", "c.doc"}));
  Action("FileExtension1")->trigger();
  const auto once = Names();
  Action("FileExtension1")->trigger();
  EXPECT_EQ(Names(), once);
  EXPECT_EQ(once, (std::vector<std::string>{"a", "c.doc", "b.txt"}));
  EXPECT_EQ(PanelText(), "2 Mb 3 Files");
  EXPECT_FALSE(Action("FileName1")->isChecked());
}

TEST_F(TFmDirTest, PanelClickSwapsChooserAndGridAndTheChooserOffersDotDirectories) {
  Window().FormActivate();
  Window().Chooser()->SetDirectory("/d", false);
  QStringList offered;
  for (int i = 0; i < Window().Chooser()->List()->count(); ++i) {
    offered << Window().Chooser()->List()->item(i)->text();
  }
  EXPECT_EQ(offered, (QStringList{"..", ".secret", "empty", "three", "work"}));
  QTest::mouseClick(Window().Panel(), Qt::LeftButton);
  EXPECT_TRUE(Action("Files1")->isChecked());
  EXPECT_TRUE(Window().Chooser()->isHidden());
  EXPECT_FALSE(Window().GridView()->isHidden());
}

TEST_F(TFmDirTest, TheDownKeyOffersTheNextFileAndNoLeavesItInPlace) {
  Window().show();
  QTRY_COMPARE(Window().windowTitle(), QString("Directory /d/work"));
  Choose("/d/three");
  Action("Files1")->trigger();
  Window().GridView()->setFocus();
  prompts.answers = {Answer::No};
  QTest::keyClick(Window().GridView(), Qt::Key_Down);
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_NE(prompts.questions[0].find("/d/three/B.txt"), std::string::npos);
  EXPECT_EQ(PanelText(), "Unable to delete file b.txt");
  EXPECT_EQ(Window().Panel()->font().pixelSize(), (Font{"", 10}.PixelHeight()));
  prompts.answers = {Answer::Yes};
  QTest::keyClick(Window().GridView(), Qt::Key_Down);
  EXPECT_EQ(trash.moved, (std::vector<std::string>{"/d/three/c.doc"}));
  EXPECT_EQ(PanelText(), "File Sent to the recycle bin ");
  EXPECT_EQ(Window().Grid().Cell(0, 2), "Deleted ");
  EXPECT_EQ(Window().Grid().Cell(2, 2), "3");
  // Up offers b.txt again; Down onto the row already sent asks nothing.
  prompts.answers = {Answer::No};
  QTest::keyClick(Window().GridView(), Qt::Key_Up);
  QTest::keyClick(Window().GridView(), Qt::Key_Down);
  EXPECT_EQ(prompts.questions.size(), 3u);
  EXPECT_EQ(trash.moved.size(), 1u);
}

TEST_F(TFmDirTest, AGoneDriveListsNothingAndNeverTheWorkingDirectory) {
  mainLetter = 'E';  // unmounted: no longer among the drives
  Window().FormActivate();
  EXPECT_TRUE(files.opened.empty());
  EXPECT_EQ(Window().windowTitle(), QString(kFmDirCaption));
  EXPECT_EQ(PanelText(), "No Disk Available in Drive E");
  EXPECT_EQ(Names(), std::vector<std::string>{" "});
  // Once it was somewhere, a later opening lists that directory again.
  Choose("/d/three");
  Window().FormActivate();
  EXPECT_EQ(PanelText(), "2 Mb 3 Files");
}

TEST_F(TFmDirTest, FilesFontIsStoredWithoutItsNameAndCancelChangesNothing) {
  Font chosen{"Liberation Serif", 14, 0x0000FF};
  prompts.fonts = {chosen, std::nullopt};
  Action("FontFiles1")->trigger();
  EXPECT_EQ(settings.DirFontSize, 14);
  EXPECT_EQ(settings.DirFontColor, 0x0000FF);
  EXPECT_EQ(settings.DirFontName, "Arial");
  Action("FontDirectories1")->trigger();
  EXPECT_EQ(prompts.fontDialogInitials.back(), chosen);
  EXPECT_EQ(settings.DirFontSize, 14);
}

}  // namespace
}  // namespace zub
