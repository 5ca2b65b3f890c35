// The version block of an executable file (fixed file information plus string
// tables keyed by language and code page) and the queries into it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zub {

// The fields of the fixed file information that are shown.
struct FixedFileInfo {
  std::uint32_t fileVersionMS = 0;
  std::uint32_t fileVersionLS = 0;
  std::uint32_t productVersionMS = 0;
  std::uint32_t productVersionLS = 0;
  std::uint32_t fileOS = 0;
  std::uint32_t fileType = 0;
  std::uint32_t fileSubtype = 0;
};

class VersionBlockSource {
 public:
  virtual ~VersionBlockSource() = default;

  // The size in bytes of the file's version block; 0 when it has none or
  // cannot be read.
  virtual std::uint32_t BlockSize(const std::string& path) = 0;
  // The block itself, `size` bytes; nothing when it cannot be read.
  virtual std::optional<std::string> ReadBlock(const std::string& path, std::uint32_t size) = 0;
  // The sub-block "\": the fixed file information, when the block has a valid one.
  virtual std::optional<FixedFileInfo> QueryFixed(const std::string& block) = 0;
  // A text sub-block such as "\StringFileInfo\040904E4\CompanyName", as UTF-8.
  // Names match regardless of case.
  virtual std::optional<std::string> QueryText(const std::string& block,
                                               const std::string& subBlock) = 0;
};

}  // namespace zub
