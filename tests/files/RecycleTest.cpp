#include "files/Recycle.h"

#include <gtest/gtest.h>

#include "fakes/FakeDirectorySource.h"
#include "fakes/ScriptedPrompts.h"
#include "files/DirectoryScan.h"

namespace zub {
namespace {

using fakes::FakeDirectorySource;
using fakes::FakeTrash;
using fakes::ScriptedPrompts;

class RecycleTest : public ::testing::Test {
 protected:
  RecycleTest() : trash(&files) {
    files.AddDir("/d");
    files.AddFile("/d/Big.BIN", 9);
    files.AddFile("/d/small", 1);
    ListDirectory(files, "/d", grid, SortKey::skSizeText, SortDirection::Descending);
  }
  DeleteOutcome Click(std::size_t row) {
    grid.selected = {0, row};
    return DeleteClickedFile(grid, "/d", files, trash, prompts);
  }

  FakeDirectorySource files;
  FakeTrash trash;
  ScriptedPrompts prompts;
  FileGrid grid{GridKind::DirectorySpace};
};

TEST_F(RecycleTest, ConfirmedFileGoesByItsExactNameAndTheRowReadsDeleted) {
  prompts.answers = {Answer::Yes};
  const DeleteOutcome outcome = Click(0);
  EXPECT_EQ(
      prompts.questions,
      (std::vector<std::string>{"Are you sure you want to send \"/d/Big.BIN\" to the trash?"}));
  EXPECT_EQ(prompts.questionsDefaultNo, std::vector<bool>{true});
  EXPECT_EQ(trash.moved, (std::vector<std::string>{"/d/Big.BIN"}));
  EXPECT_TRUE(outcome.acted);
  EXPECT_EQ(outcome.panelText, "File Sent to the recycle bin ");
  EXPECT_EQ(grid.Cell(0, 0), "Deleted ");
  EXPECT_EQ(grid.Cell(1, 0), " ");
  EXPECT_EQ(grid.Cell(2, 0), "1");
}

TEST_F(RecycleTest, DeclinedQuestionLeavesTheFileAndSaysUnable) {
  prompts.answers = {Answer::No};
  const DeleteOutcome outcome = Click(0);
  EXPECT_TRUE(trash.moved.empty());
  EXPECT_EQ(outcome.panelText, "Unable to delete file big.bin");
  EXPECT_EQ(grid.Cell(0, 0), "big.bin");
}

TEST_F(RecycleTest, ATrashThatRefusesIsUnableNotSent) {
  trash.answer = TrashResult::Outcome::Refused;
  prompts.answers = {Answer::Yes};
  EXPECT_EQ(Click(1).panelText, "Unable to delete file small");
  EXPECT_EQ(files.StatPath("/d/small"), PathState::File);
}

TEST_F(RecycleTest, DeletedClearedGoneAndReplacedRowsDoNothing) {
  prompts.answers = {Answer::Yes};
  Click(0);
  EXPECT_FALSE(Click(0).acted);  // "Deleted "
  files.nodes.erase("/d/small");
  EXPECT_FALSE(Click(1).acted);  // removed meanwhile
  files.AddDir("/d/small");
  EXPECT_FALSE(Click(1).acted);  // now a directory
  grid.ClearCells();
  EXPECT_FALSE(Click(0).acted);
  EXPECT_EQ(trash.moved.size(), 1u);
}

TEST(PathInDirectoryTest, BareNamesJoinTheListedDirectoryOnce) {
  EXPECT_EQ(PathInDirectory("/", "a"), "/a");
  EXPECT_EQ(PathInDirectory("/d", "a"), "/d/a");
  EXPECT_EQ(PathInDirectory("", "/full/path"), "/full/path");
}

}  // namespace
}  // namespace zub
