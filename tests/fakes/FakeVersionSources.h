// Scripted stand-ins for the version block source, the ELF reader and the
// package database.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ElfSource.h"
#include "platform/PackageDatabase.h"
#include "platform/VersionBlockSource.h"

namespace zub::fakes {

// Files with a version block, by path. A loaded "block" is its file's path,
// so the queries find their file again.
class FakeVersionBlocks : public VersionBlockSource {
 public:
  struct Block {
    std::optional<FixedFileInfo> fixed;
    std::map<std::string, std::string> texts;  // by exact sub-block path
    bool readFails = false;
  };
  std::map<std::string, Block> files;
  std::vector<std::string> textQueries;  // every text sub-block asked for
  int sizeQueries = 0;

  std::uint32_t BlockSize(const std::string& path) override {
    ++sizeQueries;
    return files.count(path) != 0 ? 1024 : 0;
  }
  std::optional<std::string> ReadBlock(const std::string& path, std::uint32_t size) override {
    const auto it = files.find(path);
    if (it == files.end() || it->second.readFails || size != 1024) {
      return std::nullopt;
    }
    return path;
  }
  std::optional<FixedFileInfo> QueryFixed(const std::string& block) override {
    const auto it = files.find(block);
    return it == files.end() ? std::nullopt : it->second.fixed;
  }
  std::optional<std::string> QueryText(const std::string& block,
                                       const std::string& subBlock) override {
    textQueries.push_back(subBlock);
    const auto it = files.find(block);
    if (it == files.end()) {
      return std::nullopt;
    }
    const auto text = it->second.texts.find(subBlock);
    if (text == it->second.texts.end()) {
      return std::nullopt;
    }
    return text->second;
  }
};

class FakeElfSource : public ElfSource {
 public:
  std::map<std::string, ElfFacts> files;

  std::optional<ElfFacts> Read(const std::string& path) override {
    const auto it = files.find(path);
    return it == files.end() ? std::nullopt : std::optional<ElfFacts>(it->second);
  }
};

class FakePackageDatabase : public PackageDatabase {
 public:
  std::map<std::string, PackageInfo> owners;
  std::vector<std::string> asked;

  std::optional<PackageInfo> Owner(const std::string& path) override {
    asked.push_back(path);
    const auto it = owners.find(path);
    return it == owners.end() ? std::nullopt : std::optional<PackageInfo>(it->second);
  }
};

}  // namespace zub::fakes
