// Builds version blocks, small PE files with a version resource and small
// ELF files, for the tests and the fuzz corpus.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zub::test_support {

inline void PutU16(std::string& s, std::size_t at, std::uint16_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>(v >> 8);
}

inline void PutU32(std::string& s, std::size_t at, std::uint32_t v) {
  PutU16(s, at, static_cast<std::uint16_t>(v & 0xFFFF));
  PutU16(s, at + 2, static_cast<std::uint16_t>(v >> 16));
}

inline void AppendU16(std::string& s, std::uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}

inline void AppendU32(std::string& s, std::uint32_t v) {
  AppendU16(s, static_cast<std::uint16_t>(v & 0xFFFF));
  AppendU16(s, static_cast<std::uint16_t>(v >> 16));
}

inline void Pad4(std::string& s) {
  while (s.size() % 4 != 0) {
    s += '\0';
  }
}

// UTF-8 (ASCII and two-byte forms, enough for the tests) to UTF-16LE.
inline std::string Utf16(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    std::uint16_t unit = c;
    if (c >= 0xC0 && i + 1 < utf8.size()) {
      unit = static_cast<std::uint16_t>((c & 0x1F) << 6 | (utf8[++i] & 0x3F));
    }
    AppendU16(out, unit);
  }
  return out;
}

// One node of a version block. `value` holds its bytes as stored; for a text
// node, `valueLength` counts UTF-16 units with the terminator.
struct VersionNode {
  std::string key;
  std::uint16_t type = 0;
  std::string value;
  std::uint16_t valueLength = 0;
  std::vector<VersionNode> children;

  std::string Bytes() const {
    std::string out(6, '\0');
    out += Utf16(key);
    AppendU16(out, 0);
    Pad4(out);
    out += value;
    for (const VersionNode& child : children) {
      Pad4(out);
      out += child.Bytes();
    }
    PutU16(out, 0, static_cast<std::uint16_t>(out.size()));
    PutU16(out, 2, valueLength);
    PutU16(out, 4, type);
    return out;
  }
};

inline VersionNode TextNode(const std::string& key, const std::string& text) {
  std::string value = Utf16(text);
  AppendU16(value, 0);
  return {key, 1, value, static_cast<std::uint16_t>(value.size() / 2), {}};
}

struct FixedNumbers {
  std::uint32_t fileMS = 0x00010002;
  std::uint32_t fileLS = 0x00030004;
  std::uint32_t productMS = 0x00050006;
  std::uint32_t productLS = 0x00070008;
  std::uint32_t os = 0x40004;
  std::uint32_t type = 2;
  std::uint32_t subtype = 0;
  std::uint32_t signature = 0xFEEF04BD;
};

inline std::string FixedInfoBytes(const FixedNumbers& f) {
  std::string v;
  for (const std::uint32_t x : {f.signature, 0x00010000U, f.fileMS, f.fileLS, f.productMS,
                                f.productLS, 0x3FU, 0U, f.os, f.type, f.subtype, 0U, 0U}) {
    AppendU32(v, x);
  }
  return v;
}

using StringTable = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;

// VS_VERSION_INFO with the fixed information, one string table per entry of
// `tables` (key such as "040904E4", then name and text pairs) and a VarFileInfo.
inline VersionNode VersionInfoNode(const FixedNumbers& fixed,
                                   const std::vector<StringTable>& tables) {
  VersionNode root{"VS_VERSION_INFO", 0, FixedInfoBytes(fixed), 52, {}};
  VersionNode strings{"StringFileInfo", 1, "", 0, {}};
  for (const auto& [key, texts] : tables) {
    VersionNode table{key, 1, "", 0, {}};
    for (const auto& [name, text] : texts) {
      table.children.push_back(TextNode(name, text));
    }
    strings.children.push_back(table);
  }
  root.children.push_back(strings);
  std::string translation;
  AppendU32(translation, 0x04E40409);
  root.children.push_back({"VarFileInfo", 1, "", 0, {{"Translation", 0, translation, 4, {}}}});
  return root;
}

// A PE image whose resource section holds `block` as its version resource.
// The resource section can be placed after `gap` bytes of other section data,
// which WriteTo leaves as a hole, so a huge file costs no disk.
struct PeImage {
  std::string head;  // headers, up to the first section's data
  std::uint64_t resourceOffset = 0;
  std::string resource;

  std::string Bytes() const {
    std::string out = head;
    out.resize(resourceOffset, '\0');
    return out + resource;
  }
};

// One version block per language id, in the order given.
inline PeImage BuildPeLanguages(const std::vector<std::pair<std::uint16_t, std::string>>& blocks,
                                bool pe32plus = false, std::uint32_t gap = 0) {
  constexpr std::uint32_t kHeadSize = 0x400;
  constexpr std::uint32_t kResourceRva = 0x1000;
  const std::uint32_t textRva = kResourceRva + 0x10000;
  PeImage image;
  std::string& h = image.head;
  h.assign(kHeadSize, '\0');
  h[0] = 'M';
  h[1] = 'Z';
  const std::uint32_t pe = 0x80;
  PutU32(h, 0x3C, pe);
  h[pe] = 'P';
  h[pe + 1] = 'E';
  const std::uint16_t optionalSize = pe32plus ? 240 : 224;
  PutU16(h, pe + 4, pe32plus ? 0x8664 : 0x14C);
  PutU16(h, pe + 6, gap != 0 ? 2 : 1);
  PutU16(h, pe + 20, optionalSize);
  const std::size_t opt = pe + 24;
  PutU16(h, opt, pe32plus ? 0x20B : 0x10B);
  const std::size_t countAt = opt + (pe32plus ? 108 : 92);
  PutU32(h, countAt, 16);

  // Resource directory: type 16 > name 1 > languages > data entries > blocks.
  std::string r;
  const auto directory = [&r](std::uint16_t count) {
    r += std::string(12, '\0');
    AppendU16(r, 0);
    AppendU16(r, count);
  };
  directory(1);
  AppendU32(r, 16);
  AppendU32(r, 0x80000000U | 24);
  directory(1);
  AppendU32(r, 1);
  AppendU32(r, 0x80000000U | 48);
  const auto count = static_cast<std::uint16_t>(blocks.size());
  directory(count);
  const std::uint32_t dataAt = 48 + 16 + 8U * count;
  for (std::uint16_t i = 0; i < count; ++i) {
    AppendU32(r, blocks[i].first);
    AppendU32(r, dataAt + 16U * i);
  }
  std::uint32_t blockAt = dataAt + 16U * count;
  for (const auto& [language, block] : blocks) {
    AppendU32(r, kResourceRva + blockAt);
    AppendU32(r, static_cast<std::uint32_t>(block.size()));
    AppendU32(r, 1252);
    AppendU32(r, 0);
    blockAt += static_cast<std::uint32_t>((block.size() + 3) / 4 * 4);
  }
  for (const auto& [language, block] : blocks) {
    r += block;
    Pad4(r);
  }

  PutU32(h, countAt + 4 + 16, kResourceRva);
  PutU32(h, countAt + 4 + 20, static_cast<std::uint32_t>(r.size()));
  const std::size_t sections = opt + optionalSize;
  image.resourceOffset = kHeadSize + std::uint64_t{gap};
  const auto section = [&h](std::size_t at, const char* name, std::uint32_t rva, std::uint32_t size,
                            std::uint64_t raw) {
    for (std::size_t i = 0; name[i] != '\0'; ++i) {
      h[at + i] = name[i];
    }
    PutU32(h, at + 8, size);
    PutU32(h, at + 12, rva);
    PutU32(h, at + 16, size);
    PutU32(h, at + 20, static_cast<std::uint32_t>(raw));
  };
  section(sections, ".rsrc", kResourceRva, static_cast<std::uint32_t>(r.size()),
          image.resourceOffset);
  if (gap != 0) {
    section(sections + 40, ".text", textRva, gap, kHeadSize);
  }
  image.resource = r;
  return image;
}

inline PeImage BuildPe(const std::string& block, bool pe32plus = false, std::uint32_t gap = 0) {
  return BuildPeLanguages({{0x409, block}}, pe32plus, gap);
}

inline void AppendU64(std::string& s, std::uint64_t v) {
  AppendU32(s, static_cast<std::uint32_t>(v));
  AppendU32(s, static_cast<std::uint32_t>(v >> 32));
}

// A little-endian ELF64 file: header, program headers (a load segment over the
// whole file, the dynamic segment and, when asked, an interpreter), the
// dynamic entries and the string table.
struct ElfLayout {
  std::uint16_t type = 3;
  std::string soname = "libzub.so.1";
  bool interpreter = false;
  bool pie = false;
};

inline std::string BuildElf(const ElfLayout& layout) {
  const std::uint64_t phoff = 64;
  const std::uint16_t phnum = layout.interpreter ? 3 : 2;
  const std::uint64_t dynamicAt = phoff + 56U * phnum;
  const std::uint64_t vaddr = 0x400000;
  const std::string strings = std::string(1, '\0') + layout.soname + '\0' + "/lib64/ld.so" + '\0';
  std::vector<std::pair<std::uint64_t, std::uint64_t>> dynamic;
  const std::uint64_t stringsAt = dynamicAt + 16U * 6;
  dynamic.emplace_back(5, vaddr + stringsAt);
  dynamic.emplace_back(10, strings.size());
  if (!layout.soname.empty()) {
    dynamic.emplace_back(14, 1);
  }
  dynamic.emplace_back(0x6ffffffb, layout.pie ? 0x08000001 : 1);
  while (dynamic.size() < 6) {
    dynamic.emplace_back(0, 0);
  }
  const std::uint64_t total = stringsAt + strings.size();

  std::string e =
      "\x7f"
      "ELF";
  e += '\x02';  // 64 bit
  e += '\x01';  // little-endian
  e += '\x01';
  e.resize(16, '\0');
  AppendU16(e, layout.type);
  AppendU16(e, 62);
  AppendU32(e, 1);
  AppendU64(e, 0);
  AppendU64(e, phoff);
  AppendU64(e, 0);
  AppendU32(e, 0);
  AppendU16(e, 64);
  AppendU16(e, 56);
  AppendU16(e, phnum);
  AppendU16(e, 64);
  AppendU16(e, 0);
  AppendU16(e, 0);
  const auto segment = [&e](std::uint32_t type, std::uint64_t offset, std::uint64_t address,
                            std::uint64_t size) {
    AppendU32(e, type);
    AppendU32(e, 4);
    AppendU64(e, offset);
    AppendU64(e, address);
    AppendU64(e, address);
    AppendU64(e, size);
    AppendU64(e, size);
    AppendU64(e, 8);
  };
  segment(1, 0, vaddr, total);
  segment(2, dynamicAt, vaddr + dynamicAt, 16U * dynamic.size());
  if (layout.interpreter) {
    const std::uint64_t interpAt = stringsAt + layout.soname.size() + 2;
    segment(3, interpAt, vaddr + interpAt, 13);
  }
  for (const auto& [tag, value] : dynamic) {
    AppendU64(e, tag);
    AppendU64(e, value);
  }
  return e + strings;
}

}  // namespace zub::test_support
