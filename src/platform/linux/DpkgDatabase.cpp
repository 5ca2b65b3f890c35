#include "platform/linux/DpkgDatabase.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "platform/linux/PosixFile.h"

namespace zub::linux_platform {
namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) {
    return {};
  }
  return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

bool StartsWithField(std::string_view line, std::string_view field) {
  if (line.size() < field.size()) {
    return false;
  }
  // Field names of control files match regardless of case.
  for (std::size_t i = 0; i < field.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(line[i]) != lower(field[i])) {
      return false;
    }
  }
  return true;
}

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    visit(text.substr(at, end - at));
    at = end + 1;
  }
}

// Appends the file's text to `out` without a copy in between; false when it
// cannot be read (what was appended is then taken back).
bool AppendFile(const std::string& path, std::string& out) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0) {
    return false;
  }
  const std::size_t start = out.size();
  // The size is a hint: a list that grows while dpkg runs is read to its end.
  std::size_t room = static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1;
  for (;;) {
    const std::size_t used = out.size();
    out.resize(used + room);
    const ssize_t n = ::read(fd.Get(), out.data() + used, room);
    out.resize(used + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    if (n == 0) {
      return true;
    }
    if (n < 0 && errno != EINTR) {
      out.resize(start);
      return false;
    }
    room = 65536;
  }
}

struct StatusEntry {
  std::string version;
  std::string summary;
};

// Installed packages by "name" and by "name:arch" (the key of a list file of
// a package that can be installed for several architectures).
std::unordered_map<std::string, StatusEntry> ParseStatus(std::string_view text) {
  std::unordered_map<std::string, StatusEntry> entries;
  std::string package;
  std::string arch;
  std::string state;
  StatusEntry entry;
  const auto flush = [&] {
    const bool gone = state.ends_with(" not-installed") || state.ends_with(" config-files");
    if (!package.empty() && !gone) {
      entries[package + ":" + arch] = entry;
      entries.emplace(package, entry);
    }
    package.clear();
    arch.clear();
    state.clear();
    entry = {};
  };
  ForEachLine(text, [&](std::string_view line) {
    if (Trim(line).empty()) {
      flush();
    } else if (StartsWithField(line, "Package:")) {
      package = Trim(line.substr(8));
    } else if (StartsWithField(line, "Architecture:")) {
      arch = Trim(line.substr(13));
    } else if (StartsWithField(line, "Status:")) {
      state = Trim(line.substr(7));
    } else if (StartsWithField(line, "Version:")) {
      entry.version = Trim(line.substr(8));
    } else if (StartsWithField(line, "Description:")) {
      entry.summary = Trim(line.substr(12));
    }
  });
  flush();
  return entries;
}

}  // namespace

std::string FirstCopyrightLine(const std::string& text) {
  bool holdersBelow = false;  // "Copyright:" alone on its line, the holders under it
  bool done = false;
  std::string result;
  ForEachLine(text, [&](std::string_view line) {
    if (done) {
      return;
    }
    if (holdersBelow) {
      const bool continuation = !line.empty() && (line[0] == ' ' || line[0] == '\t');
      result = continuation ? Trim(line) : std::string_view();
      done = !continuation || !result.empty();
    } else if (StartsWithField(line, "Copyright:")) {
      result = Trim(line.substr(10));
      holdersBelow = result.empty();
      done = !holdersBelow;
    }
  });
  return result;
}

DpkgDatabase::DpkgDatabase(std::string adminDir, std::string docDir)
    : adminDir_(std::move(adminDir)), docDir_(std::move(docDir)) {}

std::string DpkgDatabase::MergedUsrAlias(const std::string& path) {
  static constexpr std::string_view kMerged[] = {"/bin",   "/sbin",  "/lib",
                                                 "/lib32", "/lib64", "/libx32"};
  const bool underUsr = path.starts_with("/usr/");
  const std::string_view rest = underUsr ? std::string_view(path).substr(4) : path;
  for (const std::string_view dir : kMerged) {
    if (rest.starts_with(dir) && (rest.size() == dir.size() || rest[dir.size()] == '/')) {
      return underUsr ? std::string(rest) : "/usr" + path;
    }
  }
  return "";
}

void DpkgDatabase::BuildIndex() {
  built_ = true;
  const std::optional<std::string> status = ReadWholeFile(adminDir_ + "/status");
  const auto installed = ParseStatus(status ? *status : std::string());

  const std::string infoDir = adminDir_ + "/info";
  const UniqueDir dir(::opendir(infoDir.c_str()));
  if (!dir.Valid()) {
    return;
  }
  std::vector<std::string> keys;
  while (const dirent* entry = ::readdir(dir.Get())) {
    const std::string_view name = entry->d_name;
    if (name.size() > 5 && name.ends_with(".list")) {
      keys.emplace_back(name.substr(0, name.size() - 5));
    }
  }
  // A path two lists name (a directory, a diverted file) goes to the first by name.
  std::sort(keys.begin(), keys.end());
  lists_ = "\n";
  for (const std::string& key : keys) {
    const std::size_t start = lists_.size();
    if (!AppendFile(infoDir + "/" + key + ".list", lists_)) {
      continue;
    }
    Package package;
    package.name = key.substr(0, key.find(':'));
    if (const auto it = installed.find(key); it != installed.end()) {
      package.version = it->second.version;
      package.summary = it->second.summary;
    }
    packages_.push_back(std::move(package));
    starts_.push_back(start);
    if (lists_.back() != '\n') {
      lists_ += '\n';
    }
  }
}

std::optional<std::uint32_t> DpkgDatabase::Find(const std::string& path) const {
  if (path.empty() || path.find('\n') != std::string::npos) {
    return std::nullopt;
  }
  const std::string line = "\n" + path + "\n";
  const void* found = ::memmem(lists_.data(), lists_.size(), line.data(), line.size());
  if (found == nullptr) {
    return std::nullopt;
  }
  const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - lists_.data()) + 1;
  const auto next = std::upper_bound(starts_.begin(), starts_.end(), at);
  return static_cast<std::uint32_t>(next - starts_.begin() - 1);
}

std::string DpkgDatabase::Copyright(const std::string& package) const {
  const std::optional<std::string> text = ReadWholeFile(docDir_ + "/" + package + "/copyright");
  return text ? FirstCopyrightLine(*text) : std::string();
}

std::optional<PackageInfo> DpkgDatabase::Owner(const std::string& path) {
  if (!built_) {
    BuildIndex();
  }
  std::optional<std::uint32_t> index = Find(path);
  if (!index) {
    const std::string alias = MergedUsrAlias(path);
    index = alias.empty() ? std::nullopt : Find(alias);
  }
  if (!index) {
    return std::nullopt;
  }
  const Package& package = packages_[*index];
  return PackageInfo{package.name, package.version, package.summary, Copyright(package.name)};
}

}  // namespace zub::linux_platform
