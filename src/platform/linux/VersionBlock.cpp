#include "platform/linux/VersionBlock.h"

#include <cstdint>
#include <vector>

namespace zub::linux_platform {
namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::size_t kFixedSize = 52;
constexpr std::size_t kHeaderSize = 6;

std::uint16_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16(bytes, at)) | static_cast<std::uint32_t>(U16(bytes, at + 2))
                                                          << 16;
}

std::size_t Align4(std::size_t at) {
  return (at + 3) & ~static_cast<std::size_t>(3);
}

struct Node {
  std::size_t end = 0;  // never past the parent's end
  std::string key;      // UTF-8
  std::size_t valueStart = 0;
  std::size_t valueEnd = 0;
  std::uint16_t valueLength = 0;
  std::size_t childrenStart = 0;
};

// The node at `at`, inside [at, limit); nothing when its header or key does not fit.
std::optional<Node> ParseNode(std::string_view block, std::size_t at, std::size_t limit) {
  if (at > limit || limit - at < kHeaderSize) {
    return std::nullopt;
  }
  const std::uint16_t length = U16(block, at);
  if (length < kHeaderSize) {
    return std::nullopt;
  }
  Node node;
  // A length that claims more than its parent holds is cut to the parent.
  node.end = std::min(limit, at + length);
  node.valueLength = U16(block, at + 2);
  const bool text = U16(block, at + 4) == 1;

  std::size_t pos = at + kHeaderSize;
  for (;;) {
    if (node.end - pos < 2) {
      return std::nullopt;  // the key has no terminator inside the node
    }
    if (U16(block, pos) == 0) {
      break;
    }
    pos += 2;
  }
  node.key = Utf16ToUtf8(block.substr(at + kHeaderSize, pos - at - kHeaderSize));
  node.valueStart = std::min(Align4(pos + 2), node.end);
  const std::size_t valueBytes = text ? std::size_t{node.valueLength} * 2 : node.valueLength;
  node.valueEnd = std::min(node.valueStart + valueBytes, node.end);
  node.childrenStart = std::min(Align4(node.valueEnd), node.end);
  return node;
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

std::optional<Node> Root(std::string_view block) {
  return ParseNode(block, 0, block.size());
}

std::optional<Node> Find(std::string_view block, std::string_view subBlock) {
  std::optional<Node> node = Root(block);
  std::size_t from = 0;
  while (node && from < subBlock.size()) {
    const std::size_t sep = subBlock.find('\\', from);
    const std::string_view name =
        subBlock.substr(from, sep == std::string_view::npos ? std::string_view::npos : sep - from);
    from = sep == std::string_view::npos ? subBlock.size() : sep + 1;
    if (name.empty()) {
      continue;
    }
    std::optional<Node> found;
    // Each child is at least a header long, so the walk always moves on.
    for (std::size_t at = node->childrenStart; at < node->end;) {
      std::optional<Node> child = ParseNode(block, at, node->end);
      if (!child) {
        break;
      }
      if (SameKey(child->key, name)) {
        found = std::move(child);
        break;
      }
      at = Align4(child->end);
    }
    node = std::move(found);
  }
  return node;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Utf16ToUtf8(std::string_view units) {
  std::string out;
  const std::size_t count = units.size() / 2;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t unit = U16(units, i * 2);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
      const std::uint32_t low = U16(units, (i + 1) * 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
  }
  return out;
}

std::optional<FixedFileInfo> QueryFixedInfo(std::string_view block) {
  const std::optional<Node> root = Root(block);
  if (!root || root->valueEnd - root->valueStart < kFixedSize ||
      U32(block, root->valueStart) != kFixedSignature) {
    return std::nullopt;
  }
  const std::size_t v = root->valueStart;
  FixedFileInfo info;
  info.fileVersionMS = U32(block, v + 8);
  info.fileVersionLS = U32(block, v + 12);
  info.productVersionMS = U32(block, v + 16);
  info.productVersionLS = U32(block, v + 20);
  info.fileOS = U32(block, v + 32);
  info.fileType = U32(block, v + 36);
  info.fileSubtype = U32(block, v + 40);
  return info;
}

std::optional<std::string> QueryVersionText(std::string_view block, std::string_view subBlock) {
  const std::optional<Node> node = Find(block, subBlock);
  if (!node || subBlock.find_first_not_of('\\') == std::string_view::npos) {
    return std::nullopt;
  }
  if (node->valueLength == 0) {
    return std::string();
  }
  // Writers disagree on whether the value length counts characters or bytes,
  // so the text runs to its terminator or to the end of its node.
  std::size_t end = node->valueStart;
  while (node->end - end >= 2 && U16(block, end) != 0) {
    end += 2;
  }
  return Utf16ToUtf8(block.substr(node->valueStart, end - node->valueStart));
}

}  // namespace zub::linux_platform
