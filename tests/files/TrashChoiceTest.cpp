// The three file windows offer a file to the trash only when the user chose
// it, on a temporary tree read by the real directory source. The scripted
// prompts fail a test on any question it did not script.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "fakes/FakeDirectorySource.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"
#include "files/DirectoryChooser.h"
#include "files/Patient.h"
#include "files/TFmDir.h"
#include "files/TfmFiles.h"
#include "files/TfmTree.h"
#include "platform/linux/LinuxDirectorySource.h"
#include "support/TempDir.h"
#include "ui/QtPrompts.h"

namespace zub {
namespace {

bool ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

void Click(QAbstractItemView* view, const QModelIndex& index,
           Qt::MouseButton button = Qt::LeftButton) {
  QTest::mouseClick(view->viewport(), button, {}, view->visualRect(index).center());
}

class TrashChoiceTest : public ::testing::Test {
 protected:
  TrashChoiceTest() {
    dir.Write("work/big.bin", std::string(300, 'x'));
    dir.Write("work/mid.txt", std::string(200, 'x'));
    dir.Write("work/small.txt", std::string(100, 'x'));
    dir.Write("other/only.txt", "x");
    drives.Add(dir.Path()).currentDirectory = dir / "work";
  }

  std::string Row0(QTableView* view) {
    return view->model()->index(0, 0).data().toString().toStdString();
  }

  test_support::TempDir dir;
  LinuxDirectorySource files;
  fakes::FakeTrash trash;  // takes nothing: every file stays
  fakes::FakeDriveTable drives;
  fakes::ScriptedPrompts prompts;
  MonitorSettings settings;
};

TEST_F(TrashChoiceTest, DirectorySpaceViewSwitchesAndReopeningAskNothingAndKeepTheCell) {
  TFmDir window(
      settings, drives, [] { return 'C'; }, files, trash, prompts, nullptr, kPatient);
  ASSERT_TRUE(ShowActive(window));
  QTRY_COMPARE(window.windowTitle(), QString::fromStdString("Directory " + dir / "work"));
  auto* files1 = window.findChild<QAction*>("Files1");
  auto* directories1 = window.findChild<QAction*>("Directories1");
  for (int round = 0; round < 3; ++round) {
    files1->trigger();
    window.GridView()->setFocus();
    ASSERT_TRUE(window.GridView()->hasFocus());
    switch (round) {
      case 0:
        directories1->trigger();
        break;
      case 1:
        QTest::mouseClick(window.Panel(), Qt::LeftButton);
        break;
      case 2: {  // Alt+D, then D
        QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_D);
        break;
      }
    }
    EXPECT_TRUE(directories1->isChecked()) << round;
    EXPECT_EQ(window.Grid().selected.column, 0) << "the view switch moved the cell";
    EXPECT_EQ(window.Grid().selected.row, 0U);
  }
  // Reopened in the Files view, the panel click asks nothing either.
  files1->trigger();
  window.GridView()->setFocus();
  window.hide();
  ASSERT_TRUE(ShowActive(window));
  window.GridView()->setFocus();
  QTest::mouseClick(window.Panel(), Qt::LeftButton);
  QTest::mouseClick(window.Panel(), Qt::LeftButton);
  EXPECT_TRUE(prompts.questions.empty());

  // A click on a cell is a choice: the question names the full path, is
  // asked with No as its default, and No keeps the file.
  prompts.answers = {Answer::No};
  Click(window.GridView(), window.GridView()->model()->index(1, 0));
  ASSERT_EQ(prompts.questions.size(), 1U);
  EXPECT_NE(prompts.questions[0].find(dir / "work/mid.txt"), std::string::npos);
  EXPECT_EQ(prompts.questionsDefaultNo, std::vector<bool>{true});
  EXPECT_EQ(window.Panel()->text(), "Unable to delete file mid.txt");
  EXPECT_TRUE(trash.moved.empty());
}

TEST_F(TrashChoiceTest, TreeAFileAnsweredNoIsNotAskedAgainByThePanelClick) {
  TfmTree window(drives, files, trash, prompts, nullptr, kPatient);
  ASSERT_TRUE(ShowActive(window));
  window.Chooser()->SetDirectory(dir.Path(), false);
  window.Button1Click();
  QTreeView* tree = window.TreeView();
  const QModelIndex top = tree->model()->index(0, 0);
  QModelIndex work;
  for (int row = 0; row < tree->model()->rowCount(top); ++row) {
    if (tree->model()->index(row, 0, top).data().toString().endsWith("/work/")) {
      work = tree->model()->index(row, 0, top);
    }
  }
  ASSERT_TRUE(work.isValid());
  Click(tree, work);
  ASSERT_FALSE(window.GridView()->isHidden());
  EXPECT_EQ(window.windowTitle(), QString::fromStdString("Directory " + dir / "work"));
  EXPECT_EQ(Row0(window.GridView()), "big.bin");
  prompts.answers = {Answer::No};
  Click(window.GridView(), window.GridView()->model()->index(0, 0));
  EXPECT_EQ(prompts.questions.size(), 1U);
  EXPECT_EQ(window.Panel()->text(), "Unable to delete file big.bin");
  for (int i = 0; i < 4; ++i) {
    QTest::mouseClick(window.Panel(), Qt::LeftButton);
  }
  EXPECT_EQ(prompts.questions.size(), 1U);
  // The Down key chooses the next file.
  window.GridView()->setFocus();
  prompts.answers = {Answer::No};
  QTest::keyClick(window.GridView(), Qt::Key_Down);
  ASSERT_EQ(prompts.questions.size(), 2U);
  EXPECT_NE(prompts.questions[1].find(dir / "work/mid.txt"), std::string::npos);
}

TEST_F(TrashChoiceTest, TreeTabPassesThroughTheTreeWithoutChoosingALine) {
  TfmTree window(drives, files, trash, prompts, nullptr, kPatient);
  ASSERT_TRUE(ShowActive(window));
  window.Chooser()->SetDirectory(dir.Path(), false);
  window.Button1Click();
  window.findChild<QPushButton*>("Button1")->setFocus();
  bool treeReached = false;
  for (int i = 0; i < 12; ++i) {
    QWidget* from = QApplication::focusWidget();
    QTest::keyClick(from, Qt::Key_Tab);
    if (from == window.TreeView()) {
      EXPECT_NE(QApplication::focusWidget(), window.TreeView()) << "Tab is trapped in the tree";
    }
    treeReached = treeReached || QApplication::focusWidget() == window.TreeView();
  }
  EXPECT_TRUE(treeReached);
  window.TreeView()->setFocus();
  QTest::keyClick(window.TreeView(), Qt::Key_Backtab);
  EXPECT_NE(QApplication::focusWidget(), window.TreeView());
  EXPECT_TRUE(window.GridView()->isHidden());
  EXPECT_EQ(window.windowTitle(), QString("Zub Directory Tree "));
  EXPECT_FALSE(window.TreeView()->currentIndex().isValid());
  // The first Down on a tree that nobody chose in chooses its first line.
  window.TreeView()->setFocus();
  QTest::keyClick(window.TreeView(), Qt::Key_Down);
  EXPECT_FALSE(window.GridView()->isHidden());
  QString first = window.TreeView()->model()->index(0, 0).data().toString();
  first.chop(1);
  EXPECT_EQ(window.windowTitle(), "Directory " + first);
}

TEST_F(TrashChoiceTest, SearchTabLeavesTheGridAndARightClickMovesTheRecordOnly) {
  TfmFiles window(
      settings, drives, [] { return 'C'; }, files, trash, prompts, nullptr, kPatient);
  ASSERT_TRUE(ShowActive(window));
  window.Chooser()->SetDirectory(dir / "work", false);
  window.Button1Click();
  QTableView* grid = window.GridView();
  ASSERT_EQ(grid->model()->rowCount(), 4);
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), grid);
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Backtab);
  EXPECT_NE(QApplication::focusWidget(), grid);

  Click(grid, grid->model()->index(2, 0), Qt::RightButton);
  EXPECT_EQ(window.Grid().selected.row, 2U);
  window.findChild<QAction*>("Ascending1")->trigger();
  EXPECT_EQ(grid->currentIndex().row(), 2) << "the sort went back to a stale row";
  EXPECT_TRUE(prompts.questions.empty());
}

TEST(TrashQuestionTest, NoIsTheDefaultAndEnterOrEscapeKeepTheFile) {
  QtPrompts prompts([] { return std::string("Zub 97"); });
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    bool defaultIsNo = false;
    QString text;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) {
        return;
      }
      poll.stop();
      defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
      text = box->text();
      QTest::keyClick(box, key);
    });
    poll.start(10);
    EXPECT_EQ(prompts.AskDefaultNo("send /tmp/x?"), Answer::No);
    EXPECT_TRUE(defaultIsNo);
    EXPECT_EQ(text, "send /tmp/x?");
  }
}

}  // namespace
}  // namespace zub
