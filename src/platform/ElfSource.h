// What an ELF file says about itself: its kind and its shared-object name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zub {

struct ElfFacts {
  std::uint16_t type = 0;       // e_type: 2 executable, 3 shared object
  bool hasInterpreter = false;  // a PT_INTERP program header
  bool pie = false;             // DF_1_PIE in DT_FLAGS_1: a position-independent program
  std::string soname;           // DT_SONAME, empty when there is none
  std::string realPath;         // the path with every link resolved
};

class ElfSource {
 public:
  virtual ~ElfSource() = default;

  // Nothing when the file is not a readable ELF file.
  virtual std::optional<ElfFacts> Read(const std::string& path) = 0;
};

}  // namespace zub
