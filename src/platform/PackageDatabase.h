// The system's package database: which installed package owns a file.
#pragma once

#include <optional>
#include <string>

namespace zub {

struct PackageInfo {
  std::string name;
  std::string version;
  std::string summary;    // the one-line description
  std::string copyright;  // the first Copyright: line of its copyright file, or empty
};

class PackageDatabase {
 public:
  virtual ~PackageDatabase() = default;

  // The package that installed `path`; nothing when none did or the database
  // cannot be read.
  virtual std::optional<PackageInfo> Owner(const std::string& path) = 0;
};

}  // namespace zub
