// The settings file under the XDG base directories: read whole, rewritten
// whole under an flock(2) on a lock file beside it, replaced by rename(2)
// (through a symbolic link, the file it leads to, keeping its mode).
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/SettingsFile.h"

namespace zub {

class XdgSettingsFile : public SettingsFile {
 public:
  // `lockWait` bounds how long a rewrite waits for another writer.
  XdgSettingsFile(std::string path, bool writable,
                  std::chrono::milliseconds lockWait = std::chrono::seconds(5));

  // $XDG_CONFIG_HOME/zub97/registry.ini; ~/.config when the variable is unset
  // or not absolute. Pass the environment values (null when unset).
  static XdgSettingsFile ForUser(const char* xdgConfigHome, const char* home);
  static std::string UserFilePath(std::string_view xdgConfigHome, std::string_view home);
  // The machine-wide file, read only: <systemConfigDir>/zub97/registry.ini.
  static XdgSettingsFile ForMachine(const std::string& systemConfigDir = "/etc/xdg");

  StoredText Load() override;
  bool Rewrite(const std::function<std::string(const std::string& current)>& edit) override;
  std::string Location() const override { return path_; }
  bool Writable() const override { return writable_; }

  // Beside the file: the lock every writer takes. The new content is
  // written beside the file the path leads to (through links), as that
  // name plus ".new", before it replaces it; a killed writer may leave it.
  std::string LockPath() const { return path_ + ".lock"; }

 private:
  std::string path_;
  std::string directory_;
  bool writable_;
  std::chrono::milliseconds lockWait_;
};

}  // namespace zub
