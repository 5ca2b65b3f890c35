// The three file windows with a listing, on the screen CTest gives (640 x
// 480, 1280 x 1024, 150 % and 200 %), at every list font size the font
// dialog offers: every control inside, every text and figure whole, no two
// controls on top of each other.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QLabel>
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

// Shown controls of `client` that cover each other.
std::vector<std::string> Overlaps(const QWidget& client) {
  std::vector<std::string> overlaps;
  const auto children = client.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (const QWidget* a : children) {
    for (const QWidget* b : children) {
      if (std::less<>()(a, b) && a->isVisibleTo(&client) && b->isVisibleTo(&client) &&
          a->geometry().intersects(b->geometry())) {
        overlaps.push_back(a->objectName().toStdString() + " on " + b->objectName().toStdString());
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

  // Shows the window with the listing of /d/list in its grid.
  template <typename Window>
  Window* Show(Window* w, QSize outerSize, std::function<void()> list) {
    window.reset(w);
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    w->Chooser()->SetDirectory("/d/list", false);
    listAgain = std::move(list);
    listAgain();
    grid = w->GridView();
    panel = w->Panel();
    fileGrid = &w->Grid();
    outer = outerSize;
    trashClick = [w] { w->StringGrid1Click(); };
    return w;
  }

  void Open() {
    if (GetParam() == FileWindow::DirectorySpace) {
      auto* w = new TFmDir(
          settings, drives, [] { return 'D'; }, files, trash, prompts, nullptr, kPatient);
      Show(w, {470, 278}, [w] { w->FileSize1Click(); });
      w->Files1Click();
      chooseFont = [w] { w->FontFiles1Click(); };
    } else if (GetParam() == FileWindow::Tree) {
      auto* w = new TfmTree(drives, files, trash, prompts, nullptr, kPatient);
      Show(w, {499, 346}, [w] {
        w->Button1Click();
        const QModelIndex top = w->TreeView()->model()->index(0, 0);
        w->TreeView1Change(w->TreeView()->model()->index(0, 0, top));
      });
      // The file list's columns as a listing sets them.
      EXPECT_EQ(grid->columnWidth(0), 160);
      EXPECT_EQ(grid->columnWidth(1), 100);
      chooseFont = [w] { w->Button3Click(); };
    } else {
      auto* w = new TfmFiles(
          settings, drives, [] { return 'D'; }, files, trash, prompts, nullptr, kPatient);
      Show(w, {592, 362}, [w] { w->Button1Click(); });
      chooseFont = [w] { w->Font1Click(); };
    }
    ASSERT_GT(fileGrid->RowCount(), 120U);
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
  // Sized from the design's outside: borders of 8, a caption of 19 and a menu
  // bar of 19 (the real bar's height counts instead).
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

  // A refusal naming a long file: the panel shows it from its start, whole
  // in the tooltip, as is the name's cell.
  for (std::size_t row = 0; row < fileGrid->RowCount(); ++row) {
    if (fileGrid->Cell(0, row).ends_with(kLongName)) {
      fileGrid->selected = {0, row};
    }
  }
  const std::string cell = fileGrid->Cell(0, fileGrid->selected.row);
  ASSERT_TRUE(cell.ends_with(kLongName));
  prompts.answers = {Answer::No};
  trashClick();
  EXPECT_EQ(panel->toolTip().toStdString(), "Unable to delete file " + cell);
  EXPECT_TRUE(panel->text().startsWith("Unable to delete")) << panel->text().toStdString();
  EXPECT_THAT(CutTexts(*window), IsEmpty());
  EXPECT_EQ(grid->model()->index(static_cast<int>(fileGrid->selected.row), 0).data(Qt::ToolTipRole),
            QString::fromStdString(cell));
}

INSTANTIATE_TEST_SUITE_P(Windows, FileWindowsGeometryTest,
                         ::testing::Values(FileWindow::DirectorySpace, FileWindow::Tree,
                                           FileWindow::Search));

}  // namespace
}  // namespace zub
