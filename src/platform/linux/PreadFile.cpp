#include "platform/linux/PreadFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zub::linux_platform {

PreadFile::PreadFile(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {
  struct stat st {};
  if (fd_.Valid() && ::fstat(fd_.Get(), &st) == 0 && S_ISREG(st.st_mode)) {
    size_ = static_cast<std::uint64_t>(st.st_size);
    regular_ = true;
  }
}

bool PreadFile::Read(std::uint64_t offset, std::size_t size, char* out) const {
  if (!regular_ || offset > size_ || size_ - offset < size) {
    return false;
  }
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n =
        ::pread(fd_.Get(), out + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;  // the file shrank under us
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

ReadAt PreadFile::Reader() const {
  return
      [this](std::uint64_t offset, std::size_t size, char* out) { return Read(offset, size, out); };
}

}  // namespace zub::linux_platform
