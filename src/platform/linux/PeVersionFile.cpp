#include "platform/linux/PeVersionFile.h"

#include <vector>

#include "platform/linux/PreadFile.h"
#include "platform/linux/VersionBlock.h"

namespace zub::linux_platform {
namespace {

constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kMaxSections = 1024;
// A version block's own length is 16 bits; a resource claiming far more is damaged.
constexpr std::uint32_t kMaxBlock = 1 << 20;

std::uint16_t U16(const char* p) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                    static_cast<unsigned char>(p[1]) << 8);
}

std::uint32_t U32(const char* p) {
  return static_cast<std::uint32_t>(U16(p)) | static_cast<std::uint32_t>(U16(p + 2)) << 16;
}

struct Section {
  std::uint32_t virtualAddress = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t rawPointer = 0;
};

// The file range that backs `rva`, up to the end of its section's raw data.
struct FileRange {
  std::uint64_t offset = 0;
  std::uint64_t end = 0;
};

std::optional<FileRange> MapRva(const std::vector<Section>& sections, std::uint32_t rva,
                                std::uint64_t fileSize) {
  for (const Section& s : sections) {
    const std::uint64_t start = s.virtualAddress;
    if (rva >= start && rva < start + s.rawSize) {
      const std::uint64_t offset = std::uint64_t{s.rawPointer} + (rva - start);
      const std::uint64_t end =
          std::min<std::uint64_t>(std::uint64_t{s.rawPointer} + s.rawSize, fileSize);
      if (offset < end) {
        return FileRange{offset, end};
      }
    }
  }
  return std::nullopt;
}

class ResourceReader {
 public:
  ResourceReader(const ReadAt& read, FileRange range) : read_(read), range_(range) {}

  struct DirectoryEntry {
    std::uint32_t name = 0;  // an id, or a string offset with the high bit set
    std::uint32_t target = 0;
  };

  // The entries of the directory at `dirOffset` (relative to the resource
  // base); empty when it does not fit.
  std::vector<DirectoryEntry> Entries(std::uint32_t dirOffset) const {
    char head[16];
    if (!Read(dirOffset, sizeof head, head)) {
      return {};
    }
    const std::uint32_t count = std::uint32_t{U16(head + 12)} + U16(head + 14);
    std::vector<char> raw(std::size_t{count} * 8);
    if (!Read(std::uint64_t{dirOffset} + 16, raw.size(), raw.data())) {
      return {};
    }
    std::vector<DirectoryEntry> entries(count);
    for (std::uint32_t i = 0; i < count; ++i) {
      entries[i] = {U32(raw.data() + i * 8), U32(raw.data() + i * 8 + 4)};
    }
    return entries;
  }

  bool Read(std::uint64_t relative, std::size_t size, char* out) const {
    const std::uint64_t at = range_.offset + relative;
    return at >= range_.offset && at <= range_.end && range_.end - at >= size &&
           read_(at, size, out);
  }

 private:
  const ReadAt& read_;
  FileRange range_;
};

// The target of the first entry whose id is in `wanted` (earlier ids first),
// or of the first entry at all when `firstIfMissing`.
std::optional<std::uint32_t> Pick(const std::vector<ResourceReader::DirectoryEntry>& entries,
                                  std::initializer_list<std::uint32_t> wanted,
                                  bool firstIfMissing) {
  for (const std::uint32_t id : wanted) {
    for (const auto& entry : entries) {
      if (entry.name == id) {
        return entry.target;
      }
    }
  }
  if (firstIfMissing && !entries.empty()) {
    return entries.front().target;
  }
  return std::nullopt;
}

bool IsDirectory(std::uint32_t offset) {
  return (offset & 0x80000000U) != 0;
}

}  // namespace

std::optional<BlockSpan> FindVersionResource(const ReadAt& read, std::uint64_t fileSize) {
  const auto readChecked = [&](std::uint64_t offset, std::size_t size, char* out) {
    return offset <= fileSize && fileSize - offset >= size && read(offset, size, out);
  };
  char dos[64];
  if (!readChecked(0, sizeof dos, dos) || dos[0] != 'M' || dos[1] != 'Z') {
    return std::nullopt;
  }
  const std::uint64_t pe = U32(dos + 0x3C);
  char coff[24];
  if (!readChecked(pe, sizeof coff, coff) || coff[0] != 'P' || coff[1] != 'E' || coff[2] != 0 ||
      coff[3] != 0) {
    return std::nullopt;
  }
  const std::uint32_t sectionCount = std::min<std::uint32_t>(U16(coff + 6), kMaxSections);
  const std::uint16_t optionalSize = U16(coff + 20);
  std::vector<char> optional(optionalSize);
  if (optionalSize < 2 || !readChecked(pe + 24, optional.size(), optional.data())) {
    return std::nullopt;
  }
  std::size_t countAt = 0;
  const std::uint16_t magic = U16(optional.data());
  if (magic == 0x10B) {
    countAt = 92;
  } else if (magic == 0x20B) {
    countAt = 108;
  } else {
    return std::nullopt;
  }
  const std::size_t resourceAt = countAt + 4 + 2 * 8;
  if (optional.size() < resourceAt + 8 || U32(optional.data() + countAt) < 3) {
    return std::nullopt;
  }
  const std::uint32_t resourceRva = U32(optional.data() + resourceAt);
  if (resourceRva == 0 || sectionCount == 0) {
    return std::nullopt;
  }

  std::vector<char> table(std::size_t{sectionCount} * 40);
  if (!readChecked(pe + 24 + optionalSize, table.size(), table.data())) {
    return std::nullopt;
  }
  std::vector<Section> sections;
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const char* s = table.data() + i * 40;
    sections.push_back({U32(s + 12), U32(s + 16), U32(s + 20)});
  }
  const std::optional<FileRange> base = MapRva(sections, resourceRva, fileSize);
  if (!base) {
    return std::nullopt;
  }
  const ResourceReader resources(read, *base);

  // Three levels, type, name, language, and a data entry below the last: a
  // directory that points back into itself ends at the depth, never loops.
  const std::optional<std::uint32_t> type = Pick(resources.Entries(0), {kRtVersion}, false);
  if (!type || !IsDirectory(*type)) {
    return std::nullopt;
  }
  const std::optional<std::uint32_t> name = Pick(resources.Entries(*type & 0x7FFFFFFFU), {1}, true);
  if (!name || !IsDirectory(*name)) {
    return std::nullopt;
  }
  // As the platform's loader on a US English system: neutral, then US
  // English, then the first. Files carry up to dozens of translated blocks.
  const std::optional<std::uint32_t> language =
      Pick(resources.Entries(*name & 0x7FFFFFFFU), {0, 0x0409}, true);
  if (!language || IsDirectory(*language)) {
    return std::nullopt;
  }
  char data[16];
  if (!resources.Read(*language, sizeof data, data)) {
    return std::nullopt;
  }
  const std::uint32_t size = U32(data + 4);
  const std::optional<FileRange> block = MapRva(sections, U32(data), fileSize);
  if (!block || size == 0 || size > kMaxBlock || block->end - block->offset < size) {
    return std::nullopt;
  }
  return BlockSpan{block->offset, size};
}

std::uint32_t PeVersionFile::BlockSize(const std::string& path) {
  const PreadFile file(path);
  if (!file.Valid()) {
    return 0;
  }
  const std::optional<BlockSpan> span = FindVersionResource(file.Reader(), file.Size());
  return span ? span->size : 0;
}

std::optional<std::string> PeVersionFile::ReadBlock(const std::string& path, std::uint32_t size) {
  const PreadFile file(path);
  if (!file.Valid()) {
    return std::nullopt;
  }
  // The file may have changed since its size was asked for.
  const std::optional<BlockSpan> span = FindVersionResource(file.Reader(), file.Size());
  if (!span || span->size != size) {
    return std::nullopt;
  }
  std::string block(size, '\0');
  if (!file.Read(span->offset, size, block.data())) {
    return std::nullopt;
  }
  return block;
}

std::optional<FixedFileInfo> PeVersionFile::QueryFixed(const std::string& block) {
  return QueryFixedInfo(block);
}

std::optional<std::string> PeVersionFile::QueryText(const std::string& block,
                                                    const std::string& subBlock) {
  return QueryVersionText(block, subBlock);
}

}  // namespace zub::linux_platform
