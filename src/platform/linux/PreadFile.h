// A regular file opened for reads at given offsets, and the read-at function
// the executable readers take so they can also run over bytes in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/linux/PosixFile.h"

namespace zub::linux_platform {

// Fills `out` with `size` bytes at `offset`; false when they are not all there.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, char* out)>;

class PreadFile {
 public:
  // Opens only regular files: a FIFO or a device would block or never end.
  explicit PreadFile(const std::string& path);

  bool Valid() const { return regular_; }
  std::uint64_t Size() const { return size_; }
  bool Read(std::uint64_t offset, std::size_t size, char* out) const;
  // Valid for as long as this file is.
  ReadAt Reader() const;

 private:
  UniqueFd fd_;
  std::uint64_t size_ = 0;
  bool regular_ = false;
};

}  // namespace zub::linux_platform
