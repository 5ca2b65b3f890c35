// Sending the file of a chosen grid row to the trash: the question naming
// the file, the move, and the panel text, judged by whether the file is
// gone afterwards.
#pragma once

#include <string>

#include "files/FileGrid.h"
#include "platform/DirectorySource.h"
#include "platform/Trash.h"
#include "ui/Prompts.h"

namespace zub {

inline constexpr const char* kUnableToDelete = "Unable to delete file ";
inline constexpr const char* kSentToRecycleBin = "File Sent to the recycle bin ";

// The question asked before a file goes to the trash.
std::string TrashQuestion(const std::string& path);

// `name` inside `directory` (a bare name), or `name` itself when it is absolute.
std::string PathInDirectory(const std::string& directory, const std::string& name);

// Asks, then moves an existing file to the trash. True when the trash
// reported success; false when the file was not there, the user said No,
// or the trash refused.
bool RecycleFile(const std::string& path, DirectorySource& files, Trash& trash, Prompts& prompts);

struct DeleteOutcome {
  bool acted = false;     // a file was offered; the panel takes `panelText` at 10 points
  std::string panelText;  // "File Sent to the recycle bin " or "Unable to delete file " + name
};

// The file of the selected row's column 0: a bare name inside
// `listedDirectory`, or the full path in the search's grid. A row that names
// no existing file (cleared, "Deleted ", gone, a directory) does nothing.
DeleteOutcome DeleteClickedFile(FileGrid& grid, const std::string& listedDirectory,
                                DirectorySource& files, Trash& trash, Prompts& prompts);

}  // namespace zub
