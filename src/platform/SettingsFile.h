// One settings file: read whole, rewritten whole under a lock and atomically.
#pragma once

#include <functional>
#include <string>

namespace zub {

struct StoredText {
  enum class State { Present, Missing, Unreadable };
  State state = State::Missing;
  std::string text;
};

class SettingsFile {
 public:
  virtual ~SettingsFile() = default;

  virtual StoredText Load() = 0;
  // Locks the file against other writers, reads it again, hands the text to
  // `edit` and replaces the file with the result so that a crash leaves the
  // old file or the new one. False when the file is unreadable (it is then
  // left alone, so nothing in it is lost), cannot be locked or cannot be
  // replaced; `edit` is not called for an unreadable file.
  virtual bool Rewrite(const std::function<std::string(const std::string& current)>& edit) = 0;
  // Where the file is, for messages and the report.
  virtual std::string Location() const = 0;
  // False for a store that is only ever read (the machine-wide file).
  virtual bool Writable() const = 0;
};

}  // namespace zub
