#include "platform/linux/LinuxElfSource.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace zub::linux_platform {
namespace {

constexpr std::uint32_t kPtLoad = 1;
constexpr std::uint32_t kPtDynamic = 2;
constexpr std::uint32_t kPtInterp = 3;
constexpr std::uint64_t kDtStrtab = 5;
constexpr std::uint64_t kDtStrsz = 10;
constexpr std::uint64_t kDtSoname = 14;
constexpr std::uint64_t kDtFlags1 = 0x6ffffffb;
constexpr std::uint64_t kDf1Pie = 0x08000000;
constexpr std::uint32_t kMaxHeaders = 4096;
constexpr std::uint64_t kMaxDynamic = 1 << 20;
constexpr std::size_t kMaxSoname = 4096;

struct Segment {
  std::uint32_t type = 0;
  std::uint64_t offset = 0;
  std::uint64_t vaddr = 0;
  std::uint64_t fileSize = 0;
};

class Fields {
 public:
  Fields(bool wide, bool bigEndian) : wide_(wide), big_(bigEndian) {}

  std::uint64_t Get(const char* p, int bytes) const {
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) {
      const auto b = static_cast<unsigned char>(p[big_ ? i : bytes - 1 - i]);
      v = v << 8 | b;
    }
    return v;
  }
  std::uint64_t Word(const char* p) const { return Get(p, wide_ ? 8 : 4); }
  bool Wide() const { return wide_; }

 private:
  bool wide_;
  bool big_;
};

std::optional<std::uint64_t> FileOffset(const std::vector<Segment>& segments, std::uint64_t vaddr) {
  for (const Segment& s : segments) {
    if (s.type == kPtLoad && vaddr >= s.vaddr && vaddr - s.vaddr < s.fileSize) {
      return s.offset + (vaddr - s.vaddr);
    }
  }
  return std::nullopt;
}

// `path` with its links resolved, when that names the very file `path` does.
// Under /proc/PID/root the resolution can leave that process's view (the
// kernel shows its root as a plain link, to "/" say) and land on this
// program's file of the same name; the path as given is kept then.
std::string RealPathOf(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                         &std::free);
  struct stat given {};
  struct stat resolved {};
  if (real && ::stat(path.c_str(), &given) == 0 && ::stat(real.get(), &resolved) == 0 &&
      given.st_dev == resolved.st_dev && given.st_ino == resolved.st_ino) {
    return real.get();
  }
  return path;
}

}  // namespace

std::optional<ElfFacts> ParseElf(const ReadAt& read, std::uint64_t fileSize) {
  const auto readChecked = [&](std::uint64_t offset, std::size_t size, char* out) {
    return offset <= fileSize && fileSize - offset >= size && read(offset, size, out);
  };
  char h[64];
  if (!readChecked(0, 52, h) || h[0] != 0x7F || h[1] != 'E' || h[2] != 'L' || h[3] != 'F' ||
      (h[4] != 1 && h[4] != 2) || (h[5] != 1 && h[5] != 2)) {
    return std::nullopt;
  }
  const Fields f(h[4] == 2, h[5] == 2);
  if (f.Wide() && !readChecked(0, 64, h)) {
    return std::nullopt;
  }
  ElfFacts facts;
  facts.type = static_cast<std::uint16_t>(f.Get(h + 16, 2));
  const std::uint64_t phoff = f.Wide() ? f.Get(h + 32, 8) : f.Get(h + 28, 4);
  const std::size_t phentsize = f.Get(h + (f.Wide() ? 54 : 42), 2);
  const std::uint32_t phnum = std::min<std::uint32_t>(
      static_cast<std::uint32_t>(f.Get(h + (f.Wide() ? 56 : 44), 2)), kMaxHeaders);
  const std::size_t minEntry = f.Wide() ? 56 : 32;
  if (phnum == 0 || phentsize < minEntry || phentsize > 1024) {
    return facts;  // an object file or a damaged table: the type is all there is
  }
  std::vector<char> table(phentsize * phnum);
  if (!readChecked(phoff, table.size(), table.data())) {
    return facts;
  }
  std::vector<Segment> segments;
  for (std::uint32_t i = 0; i < phnum; ++i) {
    const char* p = table.data() + i * phentsize;
    Segment s;
    s.type = static_cast<std::uint32_t>(f.Get(p, 4));
    if (f.Wide()) {
      s.offset = f.Get(p + 8, 8);
      s.vaddr = f.Get(p + 16, 8);
      s.fileSize = f.Get(p + 32, 8);
    } else {
      s.offset = f.Get(p + 4, 4);
      s.vaddr = f.Get(p + 8, 4);
      s.fileSize = f.Get(p + 16, 4);
    }
    facts.hasInterpreter = facts.hasInterpreter || s.type == kPtInterp;
    segments.push_back(s);
  }

  for (const Segment& dynamic : segments) {
    if (dynamic.type != kPtDynamic) {
      continue;
    }
    const std::size_t entry = f.Wide() ? 16 : 8;
    std::vector<char> entries(std::min(dynamic.fileSize, kMaxDynamic) / entry * entry);
    if (!readChecked(dynamic.offset, entries.size(), entries.data())) {
      break;
    }
    std::optional<std::uint64_t> strtab;
    std::optional<std::uint64_t> soname;
    std::uint64_t strsz = 0;
    for (std::size_t at = 0; at < entries.size(); at += entry) {
      const std::uint64_t tag = f.Word(entries.data() + at);
      const std::uint64_t value = f.Word(entries.data() + at + entry / 2);
      if (tag == 0) {
        break;
      }
      if (tag == kDtStrtab) {
        strtab = value;
      } else if (tag == kDtStrsz) {
        strsz = value;
      } else if (tag == kDtSoname) {
        soname = value;
      } else if (tag == kDtFlags1) {
        facts.pie = (value & kDf1Pie) != 0;
      }
    }
    const std::optional<std::uint64_t> table =
        strtab ? FileOffset(segments, *strtab) : std::nullopt;
    if (table && soname && *soname < strsz && *table <= fileSize) {
      const std::uint64_t at = *table + *soname;
      const std::uint64_t room = std::min<std::uint64_t>(
          {kMaxSoname, strsz - *soname, at <= fileSize ? fileSize - at : 0});
      std::string name(room, '\0');
      if (room > 0 && readChecked(at, name.size(), name.data())) {
        const std::size_t end = name.find('\0');
        // A name that does not end inside the string table is damaged.
        facts.soname = end == std::string::npos ? "" : name.substr(0, end);
      }
    }
    break;
  }
  return facts;
}

std::optional<ElfFacts> LinuxElfSource::Read(const std::string& path) {
  const PreadFile file(path);
  if (!file.Valid()) {
    return std::nullopt;
  }
  std::optional<ElfFacts> facts = ParseElf(file.Reader(), file.Size());
  if (facts) {
    facts->realPath = RealPathOf(path);
  }
  return facts;
}

}  // namespace zub::linux_platform
