// INI-style access to one key of the settings store: sections under the key,
// string values in the sections, names matched regardless of case.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

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
  // Opens `keyPath` (a leading separator makes no difference) in the per-user
  // store, creating the key when it is missing. Throws RegistryError when the
  // key is missing and cannot be created.
  TRegIniFile(SettingsFile& currentUser, const std::string& keyPath);
  // With `createKey` false a missing key is not created (reads give defaults).
  TRegIniFile(SettingsFile& root, const std::string& keyPath, bool createKey);
  virtual ~TRegIniFile() = default;

  // The stored number ("0x1F" reads as hexadecimal), or `fallback` when the
  // section or value is missing or its text is not a 32-bit number.
  std::int32_t ReadInteger(const std::string& section, const std::string& name,
                           std::int32_t fallback) const;
  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& fallback) const;
  // Each write reaches the file at once; throws RegistryError when it cannot.
  void WriteInteger(const std::string& section, const std::string& name, std::int32_t value);
  void WriteString(const std::string& section, const std::string& name, const std::string& value);
  // Removes the section and every section below it.
  void EraseSection(const std::string& section);

  const std::string& KeyPath() const { return keyPath_; }

 private:
  std::string GroupOf(const std::string& section) const;
  void Edit(const std::string& failureText, const std::function<void(IniDocument&)>& change);

  SettingsFile* file_;
  std::string keyPath_;
  IniDocument document_;
};

// The same access under a root given by the caller (the machine-wide store,
// say). A read-only root is opened without creating the key.
class TBBRegIniFile : public TRegIniFile {
 public:
  TBBRegIniFile(const std::string& keyPath, SettingsFile& root);
};

}  // namespace zub
