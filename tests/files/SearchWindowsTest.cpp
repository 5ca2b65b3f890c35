#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <atomic>

#include "fakes/FakeDirectorySource.h"
#include "fakes/FakePlatform.h"
#include "fakes/ScriptedPrompts.h"
#include "files/DirectoryChooser.h"
#include "files/TfmFiles.h"
#include "files/TfmTree.h"

namespace zub {
namespace {

constexpr std::int64_t kMb = 1048576;

// Holds the walk at the directory `gate` until `open` is set.
class GatedSource : public DirectorySource {
 public:
  GatedSource(DirectorySource& inner, std::string gate) : inner_(inner), gate_(std::move(gate)) {}
  std::atomic<bool> open{false};
  std::atomic<bool> reached{false};

  std::unique_ptr<OpenDirectory> Open(const std::string& path) override {
    auto dir = inner_.Open(path);
    return dir ? std::make_unique<Dir>(*this, std::move(dir)) : nullptr;
  }
  PathState StatPath(const std::string& path) override { return inner_.StatPath(path); }

 private:
  class Dir : public OpenDirectory {
   public:
    Dir(GatedSource& owner, std::unique_ptr<OpenDirectory> inner)
        : owner_(owner), inner_(std::move(inner)) {}
    DirectoryId Id() const override { return inner_->Id(); }
    bool ReadAll(std::vector<RawEntry>& out) override { return inner_->ReadAll(out); }
    std::optional<EntryStat> Stat(const std::string& name) override { return inner_->Stat(name); }
    std::unique_ptr<OpenDirectory> OpenChild(const std::string& name) override {
      if (name == owner_.gate_) {
        owner_.reached = true;
        while (!owner_.open) {
          std::this_thread::yield();
        }
      }
      auto dir = inner_->OpenChild(name);
      return dir ? std::make_unique<Dir>(owner_, std::move(dir)) : nullptr;
    }

   private:
    GatedSource& owner_;
    std::unique_ptr<OpenDirectory> inner_;
  };
  DirectorySource& inner_;
  std::string gate_;
};

class SearchWindowsTest : public ::testing::Test {
 protected:
  SearchWindowsTest() {
    drives.Add("/");
    drives.Add("/d").currentDirectory = "/d";
    files.AddDir("/d");
    files.AddFile("/d/Ten.txt", 10);
    files.AddDir("/d/a");
    files.AddFile("/d/a/thirty.txt", 30);
    files.AddDir("/d/b");
    files.AddFile("/d/b/twenty.doc", 20);
    files.AddFile("/d/b/big", 3 * kMb);
  }

  TfmFiles& Search() {
    if (!search) {
      search = std::make_unique<TfmFiles>(
          settings, drives, [] { return 'D'; }, gated, trash, prompts);
    }
    return *search;
  }
  QAction* Action(const char* name) { return Search().findChild<QAction*>(name); }
  std::vector<std::string> Column0() {
    std::vector<std::string> cells;
    for (std::size_t row = 0; row < Search().Grid().RowCount(); ++row) {
      cells.push_back(Search().Grid().Cell(0, row));
    }
    return cells;
  }

  fakes::FakeDriveTable drives;
  fakes::FakeDirectorySource files;
  GatedSource gated{files, "b"};
  fakes::FakeTrash trash{&files};
  fakes::ScriptedPrompts prompts;
  MonitorSettings settings;
  std::unique_ptr<TfmFiles> search;
};

TEST_F(SearchWindowsTest, SearchListsLargestFirstAndLeavesTheSortChecksAlone) {
  gated.open = true;
  Search().Chooser()->SetDirectory("/d/a", false);
  Search().MaskBox()->setText("*.*");
  Search().Button1Click();
  Search().Chooser()->SetDirectory("/d", false);
  Search().MaskBox()->setText("*.txt");
  Search().Button1Click();
  EXPECT_TRUE(prompts.questions.empty());
  EXPECT_EQ(Column0(), (std::vector<std::string>{"/d/a/thirty.txt", "/d/ten.txt", " "}));
  EXPECT_EQ(Search().Grid().Cell(2, 2), "2");
  EXPECT_EQ(Search().Panel()->text(), " Total space 0 Mb");
  EXPECT_FALSE(Action("FileSize1")->isChecked());
  EXPECT_TRUE(Action("Descending1")->isChecked());
  EXPECT_FALSE(Search().SearchBusy());
}

TEST_F(SearchWindowsTest, WholeDriveQuestionAnsweredNoChangesNothing) {
  gated.open = true;
  prompts.answers = {Answer::No};
  Search().Button1Click();
  EXPECT_EQ(prompts.questions, (std::vector<std::string>{kWholeDriveQuestion}));
  EXPECT_EQ(Search().Grid().RowCount(), 5U);
  EXPECT_EQ(Search().Panel()->text(), "");
}

TEST_F(SearchWindowsTest, EscapeDuringTheWalkKeepsTheRowsFoundSoFarSorted) {
  Search().MaskBox()->setText("*.txt*");
  bool pressed = false;
  Search().whileBusy = [&] {
    if (gated.reached && !pressed) {
      pressed = true;
      QTest::keyClick(Search().GridView(), Qt::Key_Escape);
      gated.open = true;
    }
  };
  Search().Button1Click();
  EXPECT_TRUE(pressed);
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{kSearchCancelled}));
  EXPECT_EQ(Column0(), (std::vector<std::string>{"/d/a/thirty.txt", "/d/ten.txt", " "}));
  EXPECT_FALSE(Search().SearchBusy());
  EXPECT_FALSE(Search().CancelRequested());
  // Escape when nothing runs neither closes the window nor cancels the next search.
  Search().show();
  QTest::keyClick(Search().GridView(), Qt::Key_Escape);
  EXPECT_TRUE(Search().isVisible());
  Search().Button1Click();
  EXPECT_EQ(prompts.messages.size(), 1U);
  EXPECT_EQ(Search().Grid().RowCount(), 3U);
}

TEST_F(SearchWindowsTest, ClosingDuringASearchStopsItWithoutAMessage) {
  Search().MaskBox()->setText("*.txt*");
  Search().show();
  Search().whileBusy = [&] {
    if (gated.reached && !gated.open) {
      Search().close();
      gated.open = true;
    }
  };
  Search().Button1Click();
  EXPECT_FALSE(Search().isVisible());
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_FALSE(Search().SearchBusy());
}

TEST_F(SearchWindowsTest, SortMenusKeepOneCheckAndThePopUpSortsAscending) {
  gated.open = true;
  Search().Chooser()->SetDirectory("/d/b", false);
  Search().Button1Click();
  Action("FilePath1")->trigger();
  Action("FileExtension1")->trigger();
  EXPECT_TRUE(Action("FileExtension1")->isChecked());
  EXPECT_FALSE(Action("FilePath1")->isChecked());
  Action("Ascending1")->trigger();
  EXPECT_FALSE(Action("Descending1")->isChecked());
  // Equal (empty) extensions keep their order.
  EXPECT_EQ(Column0(), (std::vector<std::string>{"/d/b/big", " ", "/d/b/twenty.doc"}));
  Action("FilePathName1")->trigger();
  EXPECT_FALSE(Action("FileExtension1")->isChecked());
}

TEST_F(SearchWindowsTest, FontStoresColourAndSizeAndAClickTrashesTheFullPath) {
  prompts.fonts = {Font{"Liberation Serif", 12, 0x0000FF}};
  Action("Font1")->trigger();
  EXPECT_EQ(settings.FilesFontSize, 12);
  EXPECT_EQ(settings.FilesFontColor, 0x0000FF);
  EXPECT_EQ(settings.FilesFontName, "Arial");

  gated.open = true;
  Search().Chooser()->SetDirectory("/d/b", false);
  Search().Button1Click();
  prompts.answers = {Answer::Yes};
  Search().Grid().selected = {0, 0};
  Search().StringGrid1Click();
  EXPECT_EQ(trash.moved, (std::vector<std::string>{"/d/b/big"}));
  EXPECT_EQ(Search().Grid().Cell(0, 0), "Deleted ");
}

TEST_F(SearchWindowsTest, ASearchFromAGoneDriveFindsNothing) {
  gated.open = true;
  search = std::make_unique<TfmFiles>(
      settings, drives, [] { return 'Z'; }, gated, trash, prompts);
  Search().Button1Click();
  EXPECT_TRUE(files.opened.empty());
  EXPECT_EQ(Column0(), std::vector<std::string>{" "});
  EXPECT_EQ(Search().Grid().Cell(2, 0), "0");
  EXPECT_EQ(Search().Panel()->text(), " Total space 0 Mb");
}

TEST_F(SearchWindowsTest, TreeCaptionFollowsWhatIsShownAndAGoneLineKeepsGridAndPanel) {
  TfmTree tree(drives, files, trash, prompts);
  tree.show();
  tree.Chooser()->SetDirectory("/d", false);
  tree.Button1Click();
  QTreeView* view = tree.TreeView();
  const QModelIndex top = view->model()->index(0, 0);
  const auto choose = [&](int row) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(row, 0, top)).center());
  };
  choose(2);  // /d/b
  EXPECT_EQ(tree.windowTitle(), QString("Directory /d/b"));
  tree.Chooser()->SetDirectory("/d/a", false);
  tree.Button1Click();
  EXPECT_EQ(tree.windowTitle(), QString("Zub Directory Tree "));
  tree.Panel1Click();
  EXPECT_EQ(tree.windowTitle(), QString("Directory /d/b"));
  EXPECT_EQ(tree.Grid().Cell(0, 0), "big");
  tree.Panel1Click();
  EXPECT_EQ(tree.windowTitle(), QString("Zub Directory Tree "));

  // Gone after the scan: said in a message; tree, grid and panel stay.
  tree.Chooser()->SetDirectory("/d", false);
  tree.Button1Click();
  const QString panel = tree.Panel()->text();
  files.nodes.erase("/d/b");
  choose(2);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{"/d/b: no such directory"});
  EXPECT_FALSE(tree.TreeView()->isHidden());
  EXPECT_EQ(tree.Panel()->text(), panel);
  EXPECT_EQ(tree.Grid().Cell(0, 0), "big");
  // There but unreadable: listed, as empty.
  files.nodes["/d/a"].readable = false;
  choose(1);
  EXPECT_EQ(prompts.messages.size(), 1U);
  EXPECT_EQ(tree.windowTitle(), QString("Directory /d/a"));
  EXPECT_EQ(tree.Panel()->text(), "0 Mb 0 Files");
}

TEST_F(SearchWindowsTest, TreeExecuteChooseNodePanelClickAndSort) {
  TfmTree tree(drives, files, trash, prompts);
  tree.show();
  tree.Chooser()->SetDirectory("/d", false);
  tree.Button1Click();
  EXPECT_EQ(tree.Panel()->text(), " Total space 3 Mb, Number of Files = 4");
  const DirectoryTree& nodes = tree.Tree();
  ASSERT_EQ(nodes.Children(-1).size(), 1U);
  const auto& children = nodes.Children(nodes.Children(-1)[0]);
  ASSERT_EQ(children.size(), 3U);
  EXPECT_EQ(nodes.Text(children[2]), "     3 Mb /d/b/");
  tree.Button2Click();
  EXPECT_EQ(nodes.Text(nodes.Children(nodes.Children(-1)[0])[2]), "     3 Mb /d/b/");

  QTreeView* view = tree.TreeView();
  const QModelIndex top = view->model()->index(0, 0);
  EXPECT_TRUE(view->isExpanded(top));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(2, 0, top)).center());
  EXPECT_EQ(tree.windowTitle(), QString("Directory /d/b"));
  EXPECT_EQ(tree.Panel()->text(), "3 Mb 2 Files");
  EXPECT_TRUE(tree.TreeView()->isHidden());
  EXPECT_EQ(tree.Grid().Cell(0, 0), "big");
  tree.Panel1Click();
  EXPECT_FALSE(tree.TreeView()->isHidden());
  EXPECT_EQ(nodes.NodeCount(), 4U);

  tree.Panel1Click();
  prompts.answers = {Answer::Yes};
  tree.Grid().selected = {0, 1};
  tree.StringGrid1Click();
  EXPECT_EQ(trash.moved, (std::vector<std::string>{"/d/b/twenty.doc"}));
  EXPECT_EQ(tree.Panel()->text(), "File Sent to the recycle bin ");
}

}  // namespace
}  // namespace zub
