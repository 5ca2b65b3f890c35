// The three file windows as laid out on the screen the test runs on (CTest
// runs this at 640 x 480, 1280 x 1024 and on screens scaled to 150 % and
// 200 %), with a listing in their grid at every list font size the font
// dialog offers: every control inside its window, every text and every
// figure whole, no two controls on top of each other.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <functional>
#include <memory>

#include "fakes/FakeDirectorySource.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"
#include "files/DirectoryChooser.h"
#include "files/Patient.h"
#include "files/TFmDir.h"
#include "files/TfmFiles.h"
#include "files/TfmTree.h"
#include "support/WindowChecks.h"

namespace zub {
namespace {

using test_support::ControlsOutside;
using test_support::CutTexts;
using ::testing::IsEmpty;

enum class FileWindow { DirectorySpace, Tree, Search };

const std::string kLongName = "a name far longer than any panel or column is wide, as file names " +
                              std::string(60, 'n') + ".txt";

TEST(FileWindowsGeometry, RunsOnTheScreenAskedFor) {
  if (test_support::ScreenAskedFor().empty()) {
    GTEST_SKIP() << "no screen asked for";
  }
  EXPECT_EQ(test_support::ScreenGiven(), test_support::ScreenAskedFor());
}

// Figure cells (sizes, numbers) whose text is wider than the cell's room,
// each as "column,row text".
std::vector<std::string> CutFigures(const QTableView& view) {
  const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
  const QFontMetrics metrics(view.font());
  std::vector<std::string> cut;
  for (int column = 1; column <= std::min(2, view.model()->columnCount() - 1); ++column) {
    const int room = view.columnWidth(column) - 2 * margin - (view.showGrid() ? 1 : 0);
    for (int row = 0; row < view.model()->rowCount(); ++row) {
      const QString text = view.model()->index(row, column).data().toString();
      if (metrics.horizontalAdvance(text) > room) {
        cut.push_back(std::to_string(column) + "," + std::to_string(row) + " " +
                      text.toStdString());
      }
    }
  }
  return cut;
}

// Shown controls laid out beside or below each other that cover each other.
std::vector<std::string> Overlaps(const QWidget& client) {
  std::vector<const QWidget*> shown;
  for (const QWidget* child : client.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isWindow() && child->isVisibleTo(&client)) {
      shown.push_back(child);
    }
  }
  std::vector<std::string> overlaps;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      if (shown[i]->geometry().intersects(shown[j]->geometry())) {
        overlaps.push_back(shown[i]->objectName().toStdString() + " on " +
                           shown[j]->objectName().toStdString());
      }
    }
  }
  return overlaps;
}

class FileWindowsGeometryTest : public ::testing::TestWithParam<FileWindow> {
 protected:
  FileWindowsGeometryTest() {
    drives.Add("/");
    drives.Add("/d").currentDirectory = "/d/list";
    files.AddDir("/d");
    files.AddDir("/d/list");
    files.AddFile("/d/list/big", std::int64_t{1} << 32);  // ten digits
    files.AddFile("/d/list/mid", 2288634);
    files.AddFile("/d/list/" + kLongName, 10);
    for (int i = 0; i < 120; ++i) {  // three-digit row numbers
      files.AddFile("/d/list/f" + std::to_string(i), i);
    }
  }

  // Opens the window with the listing of /d/list in its grid.
  void Open() {
    switch (GetParam()) {
      case FileWindow::DirectorySpace: {
        auto* w = new TFmDir(
            settings, drives, [] { return 'D'; }, files, trash, prompts, nullptr, kPatient);
        window.reset(w);
        Show();
        ASSERT_TRUE(QTest::qWaitFor([w] { return w->windowTitle() == "Directory /d/list"; }));
        w->Files1Click();
        Use(w->GridView(), w->Panel(), w->Grid(), {470, 278});
        chooseFont = [w] { w->FontFiles1Click(); };
        listAgain = [w] { w->FileName1Click(); };
        trashClick = [w] { w->StringGrid1Click(); };
        break;
      }
      case FileWindow::Tree: {
        auto* w = new TfmTree(drives, files, trash, prompts, nullptr, kPatient);
        window.reset(w);
        Show();
        w->Chooser()->SetDirectory("/d/list", false);
        w->Button1Click();
        listAgain = [w] {
          const QModelIndex top = w->TreeView()->model()->index(0, 0);
          w->TreeView1Change(w->TreeView()->model()->index(0, 0, top));
        };
        listAgain();
        ASSERT_EQ(w->windowTitle(), "Directory /d/list");
        Use(w->GridView(), w->Panel(), w->Grid(), {499, 346});
        // The file list's columns as a listing sets them.
        EXPECT_EQ(grid->columnWidth(0), 160);
        EXPECT_EQ(grid->columnWidth(1), 100);
        chooseFont = [w] { w->Button3Click(); };
        trashClick = [w] { w->StringGrid1Click(); };
        break;
      }
      case FileWindow::Search: {
        auto* w = new TfmFiles(
            settings, drives, [] { return 'D'; }, files, trash, prompts, nullptr, kPatient);
        window.reset(w);
        Show();
        w->Chooser()->SetDirectory("/d/list", false);
        listAgain = [w] { w->Button1Click(); };
        listAgain();
        ASSERT_EQ(w->Grid().RowCount(), 124U);
        Use(w->GridView(), w->Panel(), w->Grid(), {592, 362});
        chooseFont = [w] { w->Font1Click(); };
        trashClick = [w] { w->StringGrid1Click(); };
        break;
      }
    }
  }

  void Show() {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  void Use(QTableView* view, QLabel* shownPanel, FileGrid& shownGrid, QSize outerSize) {
    grid = view;
    panel = shownPanel;
    fileGrid = &shownGrid;
    outer = outerSize;
  }

  void ExpectWhole(const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_THAT(ControlsOutside(*window), IsEmpty());
    EXPECT_THAT(CutTexts(*window), IsEmpty());
    EXPECT_THAT(Overlaps(*grid->parentWidget()), IsEmpty());
    EXPECT_THAT(CutFigures(*grid), IsEmpty());
    EXPECT_EQ(panel->text(), panel->toolTip());
  }

  fakes::FakeDriveTable drives;
  fakes::FakeDirectorySource files;
  fakes::FakeTrash trash{&files};
  fakes::ScriptedPrompts prompts;
  MonitorSettings settings;
  std::unique_ptr<QWidget> window;
  QTableView* grid = nullptr;
  QLabel* panel = nullptr;
  FileGrid* fileGrid = nullptr;
  QSize outer;
  std::function<void()> chooseFont;
  std::function<void()> listAgain;
  std::function<void()> trashClick;
};

TEST_P(FileWindowsGeometryTest, WholeAndInsideAtEveryListFontSize) {
  Open();
  ASSERT_NE(grid, nullptr);
  // Sized as designed from the outside: 8 pixels of borders, a 19-pixel
  // caption and a 19-pixel menu bar (the real bar's height counts instead).
  const auto* bar = window->findChild<QMenuBar*>();
  const int menu = bar != nullptr ? bar->height() - 19 : 0;
  EXPECT_EQ(window->size(), QSize(outer.width() - 8, outer.height() - 27 + menu));
  ExpectWhole("as opened");

  for (const int size : QFontDatabase::standardSizes()) {
    prompts.fonts = {Font{"Arial", size}};
    chooseFont();
    QCoreApplication::sendPostedEvents();  // the layouts' requests
    ExpectWhole("list font " + std::to_string(size));
  }
  listAgain();
  ExpectWhole("listed again at the largest font");

  // A refusal naming a long file: the panel shows the text from its start
  // and the whole of it in its tooltip.
  for (std::size_t row = 0; row < fileGrid->RowCount(); ++row) {
    if (fileGrid->Cell(0, row).ends_with(kLongName)) {
      fileGrid->selected = {0, row};
    }
  }
  const std::string whole = "Unable to delete file " + fileGrid->Cell(0, fileGrid->selected.row);
  ASSERT_NE(whole.find(kLongName), std::string::npos);
  prompts.answers = {Answer::No};
  trashClick();
  EXPECT_EQ(panel->toolTip().toStdString(), whole);
  EXPECT_TRUE(panel->text().startsWith("Unable to delete")) << panel->text().toStdString();
  EXPECT_THAT(CutTexts(*window), IsEmpty());
  // The name column's whole text is the cell's tooltip.
  const QModelIndex cell = grid->model()->index(static_cast<int>(fileGrid->selected.row), 0);
  EXPECT_TRUE(cell.data(Qt::ToolTipRole).toString().endsWith(QString::fromStdString(kLongName)));
}

std::string WindowName(const ::testing::TestParamInfo<FileWindow>& info) {
  switch (info.param) {
    case FileWindow::DirectorySpace:
      return "DirectorySpace";
    case FileWindow::Tree:
      return "Tree";
    case FileWindow::Search:
      break;
  }
  return "Search";
}

INSTANTIATE_TEST_SUITE_P(Windows, FileWindowsGeometryTest,
                         ::testing::Values(FileWindow::DirectorySpace, FileWindow::Tree,
                                           FileWindow::Search),
                         WindowName);

}  // namespace
}  // namespace zub
