// Small owners of POSIX handles and the whole-file read shared by the Linux sources.
#pragma once

#include <dirent.h>

#include <chrono>
#include <optional>
#include <string>

namespace zub::linux_platform {

// Owns a file descriptor; closes it once.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  ~UniqueFd();

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release();
  // Closes now and reports whether close succeeded (a late write error shows up here).
  bool Close();

 private:
  int fd_ = -1;
};

// Owns a directory stream.
class UniqueDir {
 public:
  explicit UniqueDir(DIR* dir) : dir_(dir) {}
  UniqueDir(const UniqueDir&) = delete;
  UniqueDir& operator=(const UniqueDir&) = delete;
  ~UniqueDir();

  DIR* Get() const { return dir_; }
  bool Valid() const { return dir_ != nullptr; }

 private:
  DIR* dir_;
};

// Reads a whole file, also the /proc files whose size reads as 0; nothing on failure.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Reads what is left of an open descriptor; nothing on failure.
std::optional<std::string> ReadAll(int fd);
// Writes all of `data`, retrying short writes and interruptions.
bool WriteAll(int fd, const std::string& data);

// What is left until `deadline`, rounded up, as poll(2)'s timeout: 0 once it has passed.
int MillisecondsLeft(std::chrono::steady_clock::time_point deadline);

}  // namespace zub::linux_platform
