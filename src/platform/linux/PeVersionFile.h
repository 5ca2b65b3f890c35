// The version block of a PE file (PE32 and PE32+): the headers and the
// resource directory are read with pread, never the whole file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/VersionBlockSource.h"
#include "platform/linux/PreadFile.h"

namespace zub::linux_platform {

struct BlockSpan {
  std::uint64_t offset = 0;
  std::uint32_t size = 0;
};

// Follows the resource directory to the first version resource (type 16,
// name 1 when there is one, first language). Nothing when any header, entry
// or the data lies outside the file.
std::optional<BlockSpan> FindVersionResource(const ReadAt& read, std::uint64_t fileSize);

class PeVersionFile : public VersionBlockSource {
 public:
  std::uint32_t BlockSize(const std::string& path) override;
  std::optional<std::string> ReadBlock(const std::string& path, std::uint32_t size) override;
  std::optional<FixedFileInfo> QueryFixed(const std::string& block) override;
  std::optional<std::string> QueryText(const std::string& block,
                                       const std::string& subBlock) override;
};

}  // namespace zub::linux_platform
