// libFuzzer target for the readers of outside executables: the input is
// taken as a version block, as a whole PE file and as an ELF file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/linux/LinuxElfSource.h"
#include "platform/linux/PeVersionFile.h"
#include "platform/linux/VersionBlock.h"

namespace {

void QueryAll(std::string_view block) {
  static const char* const kPaths[] = {
      "\\",
      "\\StringFileInfo\\040904E4\\CompanyName",
      "\\StringFileInfo\\040904e4\\ProductVersion",
      "\\StringFileInfo\\040704B0\\legaltrademarks",
      "\\VarFileInfo\\Translation",
      "\\StringFileInfo",
      "StringFileInfo\\\\040904E4\\\\Comments\\",
  };
  const auto fixed = zub::linux_platform::QueryFixedInfo(block);
  std::size_t total = fixed ? fixed->fileType : 0;
  for (const char* path : kPaths) {
    if (const auto text = zub::linux_platform::QueryVersionText(block, path)) {
      total += text->size();
    }
  }
  // Keeps the results alive so the calls are not optimised away.
  asm volatile("" : : "r"(total));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  QueryAll(bytes);
  const auto read = [&bytes](std::uint64_t offset, std::size_t n, char* out) {
    if (offset > bytes.size() || bytes.size() - offset < n) {
      return false;
    }
    if (n != 0) {
      std::memcpy(out, bytes.data() + offset, n);
    }
    return true;
  };
  if (const auto elf = zub::linux_platform::ParseElf(read, bytes.size())) {
    asm volatile("" : : "r"(elf->soname.size()));
  }
  if (const auto span = zub::linux_platform::FindVersionResource(read, bytes.size())) {
    if (span->offset > bytes.size() || bytes.size() - span->offset < span->size) {
      __builtin_trap();  // a span outside the file is itself a finding
    }
    QueryAll(std::string_view(bytes).substr(span->offset, span->size));
  }
  return 0;
}
