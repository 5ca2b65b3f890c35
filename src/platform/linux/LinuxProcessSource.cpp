#include "platform/linux/LinuxProcessSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>
#include <utility>

#include "platform/linux/PosixFile.h"
#include "platform/linux/ProcText.h"

namespace zub {

namespace {

using linux_platform::NextToken;
using linux_platform::ParseHex;
using linux_platform::ParseUnsigned;
using linux_platform::UniqueFd;

constexpr std::uint32_t kSchedFifo = 1;
constexpr std::uint32_t kSchedRr = 2;
constexpr std::uint32_t kSchedDeadline = 6;

std::optional<std::int64_t> ParseSigned(std::string_view token) {
  const bool negative = !token.empty() && token.front() == '-';
  if (negative) {
    token.remove_prefix(1);
  }
  const auto magnitude = ParseUnsigned(token, std::uint64_t{1} << 62);
  if (!magnitude) {
    return std::nullopt;
  }
  const auto value = static_cast<std::int64_t>(*magnitude);
  return negative ? -value : value;
}

struct FileKey {
  std::uint64_t device;
  std::uint64_t inode;
  bool operator==(const FileKey&) const = default;
};

struct FileKeyHash {
  std::size_t operator()(const FileKey& key) const {
    return std::hash<std::uint64_t>()(key.inode * 0x9E3779B97F4A7C15ull ^ key.device);
  }
};

// A read buffer kept for the whole snapshot: it grows to the largest file
// and is never cleared or zeroed again.
class ReadBuffer {
 public:
  // What is left of `fd`; nothing on a read error.
  std::optional<std::string_view> ReadAll(int fd) {
    std::size_t used = 0;
    for (;;) {
      if (storage_.size() - used < 16384) {
        storage_.resize(std::max<std::size_t>(storage_.size() * 2, used + 65536));
      }
      const ssize_t n = ::read(fd, storage_.data() + used, storage_.size() - used);
      if (n < 0) {
        if (errno == EINTR) {
          continue;
        }
        return std::nullopt;
      }
      if (n == 0) {
        return std::string_view(storage_.data(), used);
      }
      used += static_cast<std::size_t>(n);
    }
  }

  std::optional<std::string_view> ReadAt(int dirFd, const char* name) {
    const UniqueFd fd(::openat(dirFd, name, O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
      return std::nullopt;
    }
    return ReadAll(fd.Get());
  }

 private:
  std::string storage_;
};

// Whether `path` names the file of `device` and `inode` (as maps gives them).
bool NamesFile(const std::string& path, std::uint64_t device, std::uint64_t inode) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && st.st_ino == inode &&
         (std::uint64_t{major(st.st_dev)} << 32 | minor(st.st_dev)) == device;
}

// The module's name as its process sees it. A path that holds "\012" is
// ambiguous: an escaped newline, or those four characters in the name.
// The kernel's escape is the likely one; the literal text wins only when it
// is what names the mapped file.
std::string ModulePath(const MappedFile& file, const std::string& fileRoot) {
  std::string decoded = DecodeMapsPath(file.path);
  if (decoded.size() != file.path.size() &&
      !NamesFile(fileRoot + decoded, file.device, file.inode) &&
      NamesFile(fileRoot + std::string(file.path), file.device, file.inode)) {
    return std::string(file.path);
  }
  return decoded;
}

// The target of a link of any length; nothing when it cannot be read.
std::optional<std::string> ReadLinkAt(int dirFd, const char* name) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t n = ::readlinkat(dirFd, name, target.data(), target.size());
    if (n < 0) {
      return std::nullopt;
    }
    if (static_cast<std::size_t>(n) < target.size()) {
      target.resize(static_cast<std::size_t>(n));
      return target;
    }
    target.resize(target.size() * 2);  // it may have been cut; ask again with more room
  }
}

}  // namespace

std::optional<ProcStat> ParseProcStat(std::string_view text) {
  // "pid (comm) state ...": comm may hold blanks and parentheses of its own,
  // so it ends at the last ')'.
  const std::size_t open = text.find('(');
  const std::size_t close = text.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    return std::nullopt;
  }
  std::string_view rest = text.substr(close + 1);
  // Fields from the state (field 3) on; the ones needed are 19, 20 and 41.
  std::optional<std::int64_t> nice;
  std::optional<std::uint64_t> threads;
  std::optional<std::uint64_t> policy;
  for (int field = 3; field <= 41; ++field) {
    const std::string_view token = NextToken(rest);
    if (token.empty()) {
      break;
    }
    if (field == 19) {
      nice = ParseSigned(token);
    } else if (field == 20) {
      threads = ParseUnsigned(token, UINT32_MAX);
    } else if (field == 41) {
      policy = ParseUnsigned(token, UINT32_MAX);
    }
  }
  if (!nice || *nice < -20 || *nice > 19 || !threads) {
    return std::nullopt;
  }
  ProcStat stat;
  stat.comm = std::string(text.substr(open + 1, close - open - 1));
  stat.nice = static_cast<std::int32_t>(*nice);
  stat.threads = static_cast<std::uint32_t>(*threads);
  // Kernels before 2.6.22 end the line before the policy: the normal one.
  stat.policy = static_cast<std::uint32_t>(policy.value_or(0));
  return stat;
}

std::int32_t BasePriorityOf(std::uint32_t policy, std::int32_t nice) {
  if (policy == kSchedFifo || policy == kSchedRr || policy == kSchedDeadline) {
    return 24;
  }
  if (nice <= -10) {
    return 13;
  }
  if (nice < 0) {
    return 10;
  }
  if (nice == 0) {
    return 8;
  }
  return nice < 10 ? 6 : 4;
}

std::string ExecutablePathOf(const std::optional<std::string>& exeTarget, std::string_view cmdline,
                             std::string_view comm) {
  if (exeTarget && !exeTarget->empty()) {
    return *exeTarget;
  }
  const std::string_view first = cmdline.substr(0, cmdline.find('\0'));
  if (!first.empty() && first.front() == '/') {
    return std::string(first);
  }
  return "[" + std::string(comm) + "]";
}

std::optional<MappedFile> ParseMapsLine(std::string_view line) {
  // "start-end perms offset major:minor inode    path"
  std::string_view rest = line;
  const std::string_view range = NextToken(rest);
  const std::string_view perms = NextToken(rest);
  const std::string_view offset = NextToken(rest);
  const std::string_view device = NextToken(rest);
  const std::string_view inode = NextToken(rest);
  const std::size_t dash = range.find('-');
  const std::size_t colon = device.find(':');
  if (perms.empty() || offset.empty() || dash == std::string_view::npos ||
      colon == std::string_view::npos) {
    return std::nullopt;
  }
  const auto start = ParseHex(range.substr(0, dash));
  const auto end = ParseHex(range.substr(dash + 1));
  const auto major = ParseHex(device.substr(0, colon));
  const auto minor = ParseHex(device.substr(colon + 1));
  const auto inodeNumber = ParseUnsigned(inode);
  if (!start || !end || *end < *start || !major || !minor || *major > UINT32_MAX ||
      *minor > UINT32_MAX || !inodeNumber || *inodeNumber == 0) {
    return std::nullopt;
  }
  // The path is all that follows the blanks after the inode, blanks and a
  // trailing " (deleted)" included.
  while (!rest.empty() && rest.front() == ' ') {
    rest.remove_prefix(1);
  }
  if (!rest.empty() && rest.back() == '\r') {
    rest.remove_suffix(1);
  }
  if (rest.empty() || rest.front() != '/') {
    return std::nullopt;  // "[vdso]", "anon_inode:[perf_event]" and their kind
  }
  return MappedFile{*major << 32 | *minor, *inodeNumber, *end - *start, rest};
}

std::string DecodeMapsPath(std::string_view path) {
  static constexpr std::string_view kNewline = "\\012";
  std::string name;
  name.reserve(path.size());
  for (std::size_t at = 0; at < path.size();) {
    const std::size_t escape = path.find(kNewline, at);
    name.append(path.substr(at, escape - at));
    if (escape == std::string_view::npos) {
      break;
    }
    name += '\n';
    at = escape + kNewline.size();
  }
  return name;
}

std::vector<MappedFile> DistinctMappedFiles(std::string_view mapsText) {
  std::vector<MappedFile> files;
  std::unordered_map<FileKey, std::size_t, FileKeyHash> indexOf;
  linux_platform::ForEachLine(mapsText, [&](std::string_view line) {
    const auto mapped = ParseMapsLine(line);
    if (!mapped) {
      return;
    }
    const FileKey key{mapped->device, mapped->inode};
    // Most mappings of a file follow each other; the map is for the others.
    if (!files.empty() && files.back().device == key.device && files.back().inode == key.inode) {
      files.back().size += mapped->size;
      return;
    }
    const auto [it, added] = indexOf.try_emplace(key, files.size());
    if (added) {
      files.push_back(*mapped);
    } else {
      files[it->second].size += mapped->size;
    }
  });
  return files;
}

LinuxProcessSource::LinuxProcessSource(std::string procRoot) : procRoot_(std::move(procRoot)) {}

std::optional<ProcessRecord> LinuxProcessSource::FirstProcess() {
  Release();
  const UniqueFd root(::open(procRoot_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!root.Valid()) {
    return std::nullopt;
  }
  std::vector<std::uint32_t> pids;
  {
    // fdopendir takes the descriptor over; keep ours for the openat calls.
    UniqueFd listing(::dup(root.Get()));
    const linux_platform::UniqueDir dir(listing.Valid() ? ::fdopendir(listing.Get()) : nullptr);
    if (!dir.Valid()) {
      return std::nullopt;
    }
    listing.Release();
    while (const dirent* item = ::readdir(dir.Get())) {
      if (const auto pid = ParseUnsigned(item->d_name, UINT32_MAX)) {
        pids.push_back(static_cast<std::uint32_t>(*pid));
      }
    }
  }
  std::sort(pids.begin(), pids.end());
  // A process in another mount namespace (a container, a sandbox) names
  // its files in its own view; they are opened through its root. Where
  // either namespace cannot be read, the paths are taken as they are.
  const auto ownNamespace = ReadLinkAt(root.Get(), "self/ns/mnt");

  ReadBuffer buffer;
  std::unordered_map<FileKey, std::uint32_t, FileKeyHash> users;
  std::vector<std::vector<FileKey>> keys;
  entries_.reserve(pids.size());
  for (const std::uint32_t pid : pids) {
    // One directory descriptor per process: every file read below is of the
    // same process, or of none once it has ended.
    const std::string name = std::to_string(pid);
    const UniqueFd dir(
        ::openat(root.Get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW));
    const auto statText = dir.Valid() ? buffer.ReadAt(dir.Get(), "stat") : std::nullopt;
    if (!statText) {
      continue;  // ended since the listing
    }
    const auto stat = ParseProcStat(*statText);
    if (!stat) {
      continue;
    }
    Entry entry;
    entry.record.processId = pid;
    entry.record.usageCount = stat->threads;
    entry.record.basePriority = BasePriorityOf(stat->policy, stat->nice);
    // Other users' processes refuse the exe link; cmdline is open to all.
    const auto exe = ReadLinkAt(dir.Get(), "exe");
    std::string_view cmdline;
    if (!exe || exe->empty()) {
      cmdline = buffer.ReadAt(dir.Get(), "cmdline").value_or(std::string_view());
    }
    entry.record.exePath = ExecutablePathOf(exe, cmdline, stat->comm);
    if (const auto ns = ownNamespace ? ReadLinkAt(dir.Get(), "ns/mnt") : std::nullopt;
        ns && *ns != *ownNamespace) {
      entry.record.fileRoot = procRoot_ + "/" + name + "/root";
    }

    std::vector<FileKey> fileKeys;
    if (const auto maps = buffer.ReadAt(dir.Get(), "maps")) {
      const std::vector<MappedFile> files = DistinctMappedFiles(*maps);
      // Kernel threads have an empty maps: nothing to list.
      if (!files.empty()) {
        std::vector<ModuleRecord> modules;
        modules.reserve(files.size());
        fileKeys.reserve(files.size());
        for (const MappedFile& file : files) {
          modules.push_back({ModulePath(file, entry.record.fileRoot), file.size, 0});
          fileKeys.push_back({file.device, file.inode});
          ++users[fileKeys.back()];
        }
        entry.modules = std::move(modules);
      }
    }
    keys.push_back(std::move(fileKeys));
    entries_.push_back(std::move(entry));
  }
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].modules) {
      continue;
    }
    auto& modules = *entries_[i].modules;
    for (std::size_t m = 0; m < modules.size(); ++m) {
      modules[m].globalUsageCount = users[keys[i][m]];
    }
  }
  return NextProcess();
}

std::optional<ProcessRecord> LinuxProcessSource::NextProcess() {
  if (next_ >= entries_.size()) {
    return std::nullopt;
  }
  return entries_[next_++].record;
}

std::optional<std::vector<ModuleRecord>> LinuxProcessSource::Modules(std::uint32_t processId) {
  const auto it = std::lower_bound(
      entries_.begin(), entries_.end(), processId,
      [](const Entry& entry, std::uint32_t pid) { return entry.record.processId < pid; });
  if (it == entries_.end() || it->record.processId != processId) {
    return std::nullopt;
  }
  return it->modules;
}

void LinuxProcessSource::Release() {
  entries_.clear();
  entries_.shrink_to_fit();
  next_ = 0;
}

}  // namespace zub
