// INI-style access to one key of the settings store: sections under the key,
// string values in the sections, names matched regardless of case.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "monitor/IniDocument.h"
#include "platform/SettingsFile.h"

namespace zub {

// "Failed to create key %s", "Failed to set data for '%s'", ...
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRegIniFile {
 public:
  // Immediate: every write and erasure reaches the file at once. Batched:
  // they (and the key's creation) change only this object's view until
  // UpdateFile applies them all in one rewrite; a batch not applied is dropped.
  enum class Writes { Immediate, Batched };

  // Opens `keyPath` (a leading separator makes no difference) in the per-user
  // store, creating the key when it is missing. Throws RegistryError when the
  // key is missing and cannot be created (when batched: at UpdateFile).
  TRegIniFile(SettingsFile& currentUser, const std::string& keyPath,
              Writes writes = Writes::Immediate);
  // With `createKey` false a missing key is not created (reads give defaults).
  TRegIniFile(SettingsFile& root, const std::string& keyPath, bool createKey);
  virtual ~TRegIniFile() = default;

  // The stored number ("0x1F" reads as hexadecimal), or `fallback` when the
  // section or value is missing or its text is not a 32-bit number.
  std::int32_t ReadInteger(const std::string& section, const std::string& name,
                           std::int32_t fallback) const;
  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& fallback) const;
  // Throw RegistryError when the write cannot reach the file (when batched: at UpdateFile).
  void WriteInteger(const std::string& section, const std::string& name, std::int32_t value);
  void WriteString(const std::string& section, const std::string& name, const std::string& value);
  // Removes the section and every section below it.
  void EraseSection(const std::string& section);
  // Applies the changes held back so far to the file as it is now, in one
  // rewrite. When that fails nothing of them is written, and the
  // RegistryError names the first change ("Failed to set data for 'Bet'").
  void UpdateFile();

  const std::string& KeyPath() const { return keyPath_; }

 private:
  struct Change {
    std::string failureText;
    std::function<void(IniDocument&)> apply;
  };

  TRegIniFile(SettingsFile& root, const std::string& keyPath, bool createKey, Writes writes);
  std::string GroupOf(const std::string& section) const;
  void Edit(std::string failureText, std::function<void(IniDocument&)> change);

  SettingsFile* file_;
  std::string keyPath_;
  bool batched_;
  IniDocument document_;  // the file as last read or written, with the held-back changes
  std::vector<Change> pending_;
};

// The same access under a root given by the caller (the machine-wide store,
// say). A read-only root is opened without creating the key.
class TBBRegIniFile : public TRegIniFile {
 public:
  TBBRegIniFile(const std::string& keyPath, SettingsFile& root);
};

}  // namespace zub
