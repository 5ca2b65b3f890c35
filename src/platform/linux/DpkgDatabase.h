// dpkg's database: the owner of a file from info/*.list, its version and
// summary from status, its copyright from the package's documentation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/PackageDatabase.h"

namespace zub::linux_platform {

class DpkgDatabase : public PackageDatabase {
 public:
  // `adminDir` is dpkg's directory (/var/lib/dpkg), `docDir` /usr/share/doc.
  DpkgDatabase(std::string adminDir, std::string docDir);

  // The first call reads every list once; each call then searches their text.
  std::optional<PackageInfo> Owner(const std::string& path) override;

  // The other spelling of `path` on a merged-/usr system (/lib/x and
  // /usr/lib/x, likewise for bin, sbin, lib32, lib64 and libx32), or empty.
  static std::string MergedUsrAlias(const std::string& path);

 private:
  struct Package {
    std::string name;  // without the ":arch" of a list file's name
    std::string version;
    std::string summary;
  };

  void BuildIndex();
  std::optional<std::uint32_t> Find(const std::string& path) const;
  std::string Copyright(const std::string& package) const;

  std::string adminDir_;
  std::string docDir_;
  bool built_ = false;
  std::vector<Package> packages_;
  // Every list's text one after the other, each line between two '\n', and
  // where each package's part starts. One text search costs less than
  // hashing every path of the system, which a single lookup never repays.
  std::unique_ptr<char[]> lists_;
  std::size_t listsSize_ = 0;
  std::vector<std::size_t> starts_;
};

// The first Copyright: field of a machine-readable copyright file, or empty.
std::string FirstCopyrightLine(const std::string& text);

}  // namespace zub::linux_platform
