#include "platform/linux/DpkgDatabase.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "platform/linux/PosixFile.h"

namespace zub::linux_platform {
namespace {

constexpr std::size_t kReadRoom = 16384;

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
  struct Listed {
    std::string key;
    std::size_t size;
  };
  std::vector<Listed> lists;
  const int dirFd = ::dirfd(dir.Get());
  std::size_t total = 1;
  while (const dirent* entry = ::readdir(dir.Get())) {
    const std::string_view name = entry->d_name;
    struct stat st {};
    if (name.size() > 5 && name.ends_with(".list") &&
        ::fstatat(dirFd, entry->d_name, &st, 0) == 0) {
      lists.push_back({std::string(name.substr(0, name.size() - 5)),
                       static_cast<std::size_t>(std::max<off_t>(st.st_size, 0))});
      total += lists.back().size + 1;
    }
  }
  // A path two lists name (a directory, a diverted file) goes to the first by name.
  std::sort(lists.begin(), lists.end(),
            [](const Listed& a, const Listed& b) { return a.key < b.key; });

  // One buffer of the summed sizes, never zero-filled: the lists of a full
  // desktop are tens of megabytes, and copying or clearing them twice is
  // most of what a lookup would cost.
  std::size_t capacity = total + kReadRoom;
  auto text = std::make_unique_for_overwrite<char[]>(capacity);
  std::size_t size = 0;
  const auto reserve = [&](std::size_t room) {
    if (capacity - size < room) {
      capacity = std::max(capacity * 2, size + room);
      auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
      std::memcpy(bigger.get(), text.get(), size);
      text = std::move(bigger);
    }
  };
  text[size++] = '\n';
  for (const Listed& list : lists) {
    const UniqueFd fd(::openat(dirFd, (list.key + ".list").c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
      continue;
    }
    const std::size_t start = size;
    bool ok = true;
    for (;;) {
      // A list that grew since its size was read (dpkg at work) is read to its end.
      reserve(kReadRoom / 4);
      const ssize_t n = ::read(fd.Get(), text.get() + size, capacity - size);
      if (n < 0 && errno == EINTR) {
        continue;
      }
      if (n <= 0) {
        ok = n == 0;
        break;
      }
      size += static_cast<std::size_t>(n);
    }
    if (!ok) {
      size = start;
      continue;
    }
    if (size == start || text[size - 1] != '\n') {
      reserve(1);
      text[size++] = '\n';
    }
    Package package;
    package.name = list.key.substr(0, list.key.find(':'));
    if (const auto it = installed.find(list.key); it != installed.end()) {
      package.version = it->second.version;
      package.summary = it->second.summary;
    }
    packages_.push_back(std::move(package));
    starts_.push_back(start);
  }
  lists_ = std::move(text);
  listsSize_ = size;
}

std::optional<std::uint32_t> DpkgDatabase::Find(const std::string& path) const {
  if (path.empty() || path.find('\n') != std::string::npos) {
    return std::nullopt;
  }
  const std::string line = "\n" + path + "\n";
  if (!lists_) {
    return std::nullopt;
  }
  const void* found = ::memmem(lists_.get(), listsSize_, line.data(), line.size());
  if (found == nullptr) {
    return std::nullopt;
  }
  const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - lists_.get()) + 1;
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
