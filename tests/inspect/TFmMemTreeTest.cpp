#include "inspect/TFmMemTree.h"

#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "fakes/FakeProcessSource.h"
#include "inspect/ProcessTreeModel.h"
#include "support/TempDir.h"

namespace zub {
namespace {

class TFmMemTreeTest : public ::testing::Test {
 protected:
  TFmMemTreeTest() {
    dir.Write("bin/prog", "x");
    dir.Write("lib/libz.so.1", "x");
    source.Add((dir / "bin/prog"), std::vector<ModuleRecord>{{(dir / "bin/prog"), 8192, 1},
                                                             {(dir / "lib/libz.so.1"), 4096, 2},
                                                             {"/gone/lib.so (deleted)", 4096, 1}});
    source.Add("[kthreadd]", std::nullopt);
    source.Add("/dev/null", std::vector<ModuleRecord>{{"/dev/zero", 4096, 1}});
  }

  // Display row `row` of the top lines, or of the children of top row `parent`.
  QModelIndex Index(int row, int parent = -1) const {
    const auto* model = window.TreeView1()->model();
    return parent < 0 ? model->index(row, 0) : model->index(row, 0, model->index(parent, 0));
  }
  QString TextAt(const QModelIndex& index) const { return index.data().toString(); }

  test_support::TempDir dir;
  MonitorSettings settings;
  fakes::FakeProcessSource source;
  std::vector<std::string> shown;
  TFmMemTree window{settings, source, [this](const std::string& path) { shown.push_back(path); }};
};

TEST_F(TFmMemTreeTest, LayoutCaptionsAndAccessibleNamesAsDesigned) {
  EXPECT_EQ(window.windowTitle(), "Zub Windows 95 Memory Tree");
  EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(window.Button1()->geometry(), QRect(16, 0, 75, 25));
  EXPECT_EQ(window.Button2()->geometry(), QRect(96, 0, 75, 25));
  EXPECT_EQ(window.Label1()->geometry(), QRect(16, 32, 141, 39));
  EXPECT_EQ(window.Label1()->text(),
            "Fonts are set in the Directory  search screen for this memory tree using the "
            "directory font.");
  EXPECT_TRUE(window.Label1()->wordWrap());
  EXPECT_EQ(window.Panel1()->text(), "");  // empty until the first build
  EXPECT_EQ(window.TreeView1()->indentation(), 19);
  EXPECT_EQ(window.Button1()->text().remove('&'), "Build Tree");
  EXPECT_EQ(window.Button2()->text().remove('&'), "Expand Tree");
  for (QWidget* widget :
       std::initializer_list<QWidget*>{window.Button1(), window.Button2(), window.Label1(),
                                       window.Panel1(), window.TreeView1()}) {
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
  }
  EXPECT_EQ(window.TreeView1()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(TFmMemTreeTest, ResizeKeepsTheTreeAndPanelToTheWindow) {
  const auto fitted = [&] {
    const QRect outer = window.frameGeometry();
    return window.TreeView1()->width() == outer.width() - 29 &&
           window.TreeView1()->height() == outer.height() - 98 &&
           window.Panel1()->width() == outer.width() - 218;
  };
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_TRUE(fitted());  // maximised
  window.showNormal();
  window.resize(900, 700);
  QTRY_VERIFY(window.TreeView1()->width() != 617 && fitted());
  EXPECT_EQ(window.TreeView1()->pos(), QPoint(16, 72));
  EXPECT_EQ(window.Panel1()->pos(), QPoint(176, 16));
  EXPECT_EQ(window.Panel1()->height(), 41);
}

TEST(TFmMemTreeFonts, DirectoryFontAboveTenPointsIsCappedAtTen) {
  fakes::FakeProcessSource source;
  for (const auto& [size, shownSize] : {std::pair{12, 10}, {8, 8}, {10, 10}}) {
    SCOPED_TRACE(size);
    MonitorSettings settings;
    settings.DirFontSize = size;
    settings.DirFontName = "Liberation Serif";
    settings.DirFontColor = 0x0000FF;  // red
    TFmMemTree window(settings, source, nullptr);
    EXPECT_EQ(window.TreeView1()->font().pointSize(), shownSize);
    EXPECT_EQ(window.Panel1()->font().pointSize(), shownSize);
    EXPECT_EQ(window.TreeView1()->font().family(), "Liberation Serif");
    EXPECT_EQ(window.TreeView1()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(window.Panel1()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  }
}

TEST_F(TFmMemTreeTest, ActivationBuildsTheTreeAndTheStatus) {
  window.FormActivate();
  EXPECT_EQ(window.Panel1()->text(), "Zub found 3 Processes 4 Modules using 0Mb");
  const auto* model = window.TreeView1()->model();
  ASSERT_EQ(model->rowCount(), 4);  // heading and three processes
  EXPECT_EQ(TextAt(Index(0)), "My Windows 95 Tree. Whats Running and where it was loaded from.");
  EXPECT_EQ(model->rowCount(Index(1)), 6);
  EXPECT_EQ(TextAt(Index(3, 1)),
            "/gone/lib.so (deleted) * size is 4096 bytes has been used 1 times");
  EXPECT_EQ(model->parent(Index(3, 1)), Index(1));
  EXPECT_EQ(TextAt(Index(0, 2)), "Unable to retrieve Windows 95 Modules for this process");
  EXPECT_EQ(model->rowCount(Index(0, 2)), 0);
  EXPECT_EQ(source.snapshots, 1);
}

TEST_F(TFmMemTreeTest, ExpandToggleAndRebuildsKeepOrResetIt) {
  window.FormActivate();
  QTreeView* view = window.TreeView1();
  EXPECT_FALSE(view->isExpanded(Index(1)));
  window.Button2()->click();
  EXPECT_TRUE(window.TreeExpanded());
  EXPECT_EQ(window.Button2()->text().remove('&'), "Collapse");
  EXPECT_TRUE(view->isExpanded(Index(1)));
  EXPECT_TRUE(view->isExpanded(Index(2)));

  // "Build Tree" keeps the lines open and leaves the toggle alone.
  window.Button1()->click();
  EXPECT_EQ(source.snapshots, 2);
  EXPECT_TRUE(view->isExpanded(Index(1)));
  EXPECT_TRUE(window.TreeExpanded());
  EXPECT_EQ(window.Button2()->text().remove('&'), "Collapse");

  window.Button2()->click();  // collapses
  EXPECT_FALSE(window.TreeExpanded());
  EXPECT_EQ(window.Button2()->text().remove('&'), "Expand Tree");
  window.Button2()->click();
  window.Button2()->click();  // twice: back to collapsed
  EXPECT_FALSE(window.TreeExpanded());
  EXPECT_EQ(window.Button2()->text().remove('&'), "Expand Tree");
  EXPECT_FALSE(view->isExpanded(Index(1)));

  window.Button2()->click();
  window.FormActivate();  // activation resets the toggle, not the open lines
  EXPECT_FALSE(window.TreeExpanded());
  EXPECT_EQ(window.Button2()->text().remove('&'), "Expand Tree");
  EXPECT_TRUE(view->isExpanded(Index(2)));
}

// Each return from the file information window rebuilds the tree: the user's
// open lines and chosen line are still there, and the choice kept does not
// open the file information window again.
TEST_F(TFmMemTreeTest, RebuildsKeepTheOpenLinesAndTheChosenLineWithoutReopening) {
  source.Add((dir / "bin/prog"), std::vector<ModuleRecord>{{(dir / "lib/libz.so.1"), 4096, 2}});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.FormActivate();
  QTreeView* view = window.TreeView1();
  view->expand(Index(4));              // the second prog
  view->setCurrentIndex(Index(1, 4));  // its libz line
  QTRY_COMPARE(shown.size(), std::size_t{1});
  EXPECT_EQ(shown[0], (dir / "lib/libz.so.1"));

  // Figures change and a process before the second prog ends.
  source.processes[3].record.usageCount = 7;
  source.processes.erase(source.processes.begin() + 1);
  window.FormActivate();
  QApplication::processEvents();
  EXPECT_EQ(shown.size(), std::size_t{1});
  const QModelIndex second = Index(3);
  EXPECT_EQ(TextAt(second),
            QString::fromStdString((dir / "bin/prog") + " * has been used 7 times "));
  EXPECT_TRUE(view->isExpanded(second));
  EXPECT_FALSE(view->isExpanded(Index(1)));
  EXPECT_EQ(view->currentIndex(), Index(1, 3));
  EXPECT_TRUE(view->selectionModel()->isSelected(Index(1, 3)));
  EXPECT_TRUE(view->viewport()->rect().intersects(view->visualRect(Index(1, 3))));

  // Once its process has ended, nothing is chosen.
  source.processes.pop_back();
  window.Button1()->click();
  EXPECT_FALSE(view->currentIndex().isValid());
  EXPECT_EQ(shown.size(), std::size_t{1});
}

TEST_F(TFmMemTreeTest, OnlyLinesNamingAnExistingFileOpenTheFileInformation) {
  window.FormActivate();
  QTreeView* view = window.TreeView1();
  window.Button2()->click();
  const auto select = [&](const QModelIndex& index) {
    view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();
  };
  select(Index(0));     // heading
  select(Index(0, 1));  // module list header
  select(Index(3, 1));  // a deleted file
  select(Index(5, 1));  // summary
  select(Index(1, 2));  // end line
  select(Index(2));     // "[kthreadd]": no such file
  select(Index(3));     // a device: no texts to show
  select(Index(1, 3));
  view->selectionModel()->clearSelection();
  QApplication::processEvents();
  EXPECT_TRUE(shown.empty());

  select(Index(2, 1));
  QTRY_COMPARE(shown.size(), std::size_t{1});
  EXPECT_EQ(shown[0], (dir / "lib/libz.so.1"));
  select(Index(1));
  QTRY_COMPARE(shown.size(), std::size_t{2});
  EXPECT_EQ(shown[1], (dir / "bin/prog"));
}

TEST_F(TFmMemTreeTest, KeyboardMovesOntoAFileLineOpenItAsAClickDoes) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.FormActivate();
  QTreeView* view = window.TreeView1();
  window.Button2()->click();
  view->setFocus();
  view->setCurrentIndex(Index(0, 1));  // the header: nothing
  QApplication::processEvents();
  EXPECT_TRUE(shown.empty());
  QTest::keyClick(view, Qt::Key_Down);  // onto the program's own module line
  QTRY_COMPARE(shown.size(), std::size_t{1});
  EXPECT_EQ(shown[0], (dir / "bin/prog"));
  QTest::keyClick(view, Qt::Key_Down);
  QTRY_COMPARE(shown.size(), std::size_t{2});
  EXPECT_EQ(shown[1], (dir / "lib/libz.so.1"));
}

TEST_F(TFmMemTreeTest, UnreadableProcessListShowsTheFailureLineAndZeros) {
  source.listReadable = false;
  window.FormActivate();
  const auto* model = window.TreeView1()->model();
  ASSERT_EQ(model->rowCount(), 1);
  EXPECT_EQ(TextAt(Index(0, 0)), "Unable to retrieve Windows 95 Processes");
  EXPECT_EQ(window.Panel1()->text(), "Zub found 0 Processes 0 Modules using 0Mb");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone again
}

// Qt's own checker walks every index, parent and row count after each
// reset and fails on any that disagree.
TEST(ProcessTreeModel, AgreesWithItselfOverRebuilds) {
  fakes::FakeProcessSource source;
  source.Add("/a", std::vector<ModuleRecord>{{"/a", 1, 1}, {"/b", 2, 1}});
  source.Add("/c", std::nullopt);
  ProcessTree tree;
  ProcessTreeModel model(tree);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  for (const bool readable : {true, false, true}) {
    source.listReadable = readable;
    model.BeginRebuild();
    BuildMemTree(source, tree);
    model.EndRebuild();
  }
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.rowCount(model.index(1, 0)), 5);  // header, two modules, end, summary
  EXPECT_FALSE(model.index(3, 0).isValid());
  EXPECT_FALSE(model.index(0, 1).isValid());
}

}  // namespace
}  // namespace zub
