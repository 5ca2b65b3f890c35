// Moves a file to the desktop's trash, where the user can restore it.
#pragma once

#include <string>

namespace zub {

struct TrashResult {
  enum class Outcome {
    Done,     // the file is in a trash folder
    Refused,  // this file system has no trash (a system mount, across devices)
    Failed,   // anything else; the file stays where it is
  };
  Outcome outcome = Outcome::Failed;
  std::string detail;  // the system's own words, for a failure
};

class Trash {
 public:
  virtual ~Trash() = default;

  // Never deletes outright and never copies in place of a move.
  virtual TrashResult Move(const std::string& path) = 0;
};

}  // namespace zub
