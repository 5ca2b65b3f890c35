#include "files/Recycle.h"

namespace zub {

std::string TrashQuestion(const std::string& path) {
  return "Are you sure you want to send \"" + path + "\" to the trash?";
}

std::string PathInDirectory(const std::string& directory, const std::string& name) {
  if (!name.empty() && name[0] == '/') {
    return name;
  }
  if (directory.empty() || directory.back() == '/') {
    return directory + name;
  }
  return directory + "/" + name;
}

bool RecycleFile(const std::string& path, DirectorySource& files, Trash& trash, Prompts& prompts) {
  if (files.StatPath(path) != PathState::File) {
    return false;
  }
  if (prompts.AskDefaultNo(TrashQuestion(path)) != Answer::Yes) {
    return false;
  }
  return trash.Move(path).outcome == TrashResult::Outcome::Done;
}

DeleteOutcome DeleteClickedFile(FileGrid& grid, const std::string& listedDirectory,
                                DirectorySource& files, Trash& trash, Prompts& prompts) {
  const std::size_t row = grid.selected.row;
  if (row >= grid.RowCount() || grid.State(row) != CellState::Filled) {
    return {};
  }
  // The exact bytes, not the lowered cell text: names differ by case here.
  const std::string path = PathInDirectory(listedDirectory, std::string(grid.ExactName(row)));
  if (files.StatPath(path) != PathState::File) {
    return {};
  }
  const std::string cellText = grid.Cell(0, row);
  RecycleFile(path, files, trash, prompts);
  if (files.StatPath(path) != PathState::Absent) {
    return {true, kUnableToDelete + cellText};
  }
  grid.MarkDeleted(row);
  return {true, kSentToRecycleBin};
}

}  // namespace zub
