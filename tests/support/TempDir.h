// A temporary folder removed with everything in it, and access to the captured test data.
#pragma once

#include <string>

namespace zub::test_support {

class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::string& Path() const { return path_; }
  // Path() + "/" + relative
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }
  // Writes `text` to `relative`, creating the folders on the way.
  void Write(const std::string& relative, const std::string& text) const;
  void MakeDirs(const std::string& relative) const;

 private:
  std::string path_;
};

// The directory of captured files (ZUB_TEST_DATA).
std::string TestDataDir();
std::string ReadTestData(const std::string& relative);
std::string ReadFile(const std::string& path);

}  // namespace zub::test_support
