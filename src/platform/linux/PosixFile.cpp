#include "platform/linux/PosixFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace zub::linux_platform {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.Release();
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  Close();
}

int UniqueFd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

bool UniqueFd::Close() {
  if (fd_ < 0) {
    return true;
  }
  // Linux frees the descriptor even when close fails, so it is never retried.
  const bool ok = ::close(fd_) == 0;
  fd_ = -1;
  return ok;
}

UniqueDir::~UniqueDir() {
  if (dir_ != nullptr) {
    ::closedir(dir_);
  }
}

std::optional<std::string> ReadAll(int fd) {
  std::string text;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return std::nullopt;
    }
    if (n == 0) {
      return text;
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) {
    return std::nullopt;
  }
  return ReadAll(fd.Get());
}

bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace zub::linux_platform
