#include "support/TempDir.h"

#include <stdlib.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zub::test_support {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/zub-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("mkdtemp failed");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests take permissions away; give them back so everything can go.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void TempDir::MakeDirs(const std::string& relative) const {
  std::filesystem::create_directories(*this / relative);
}

void TempDir::Write(const std::string& relative, const std::string& text) const {
  const std::filesystem::path path = *this / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

std::string TestDataDir() {
  const char* dir = std::getenv("ZUB_TEST_DATA");
  if (dir == nullptr || *dir == '\0') {
    throw std::runtime_error("ZUB_TEST_DATA is not set");
  }
  return dir;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path);
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ReadTestData(const std::string& relative) {
  return ReadFile(TestDataDir() + "/" + relative);
}

}  // namespace zub::test_support
