// Queries into a loaded version block (VS_VERSIONINFO): a tree of nodes, each
// a 16-bit length, value length and type, a UTF-16 key and a value, padded to
// four bytes. Every length is checked against the block.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/VersionBlockSource.h"

namespace zub::linux_platform {

// The root's value when it is a fixed file information with its signature.
std::optional<FixedFileInfo> QueryFixedInfo(std::string_view block);
// The text at a path such as "\StringFileInfo\040904E4\CompanyName", keys
// matched without regard to ASCII case, converted from UTF-16 to UTF-8.
std::optional<std::string> QueryVersionText(std::string_view block, std::string_view subBlock);

// UTF-16LE code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view littleEndianUnits);

}  // namespace zub::linux_platform
