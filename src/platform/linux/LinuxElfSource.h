// ELF files (32 and 64 bit, either byte order): the file type, the program
// interpreter, DT_SONAME and DF_1_PIE, from the headers and the dynamic
// segment only.
#pragma once

#include <optional>
#include <string>

#include "platform/ElfSource.h"
#include "platform/linux/PreadFile.h"

namespace zub::linux_platform {

// Everything but `realPath`; nothing when the bytes are not ELF.
std::optional<ElfFacts> ParseElf(const ReadAt& read, std::uint64_t fileSize);

class LinuxElfSource : public ElfSource {
 public:
  std::optional<ElfFacts> Read(const std::string& path) override;
};

}  // namespace zub::linux_platform
