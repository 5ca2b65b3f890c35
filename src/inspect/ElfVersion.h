// The texts an ELF file can give where a PE file has a version resource.
#pragma once

#include <string>

#include "platform/ElfSource.h"

namespace zub {

// "Application", "Dynamic-Link Library" or "Unknown".
std::string ElfFileTypeText(const ElfFacts& facts);
// The version numbers that end a file name: libQt6Core.so.6.4.2 gives 6.4.2,
// python3.11 gives 3.11; a name without them (or ending in bare digits glued
// to a word, as in md5) gives an empty text. Takes a path or a name.
std::string TrailingVersion(const std::string& path);
// The file version of a file whose real path (links resolved) is `realPath`:
// its trailing version, but only where the name carries more than its soname
// does (libQt6Core.so.6.4.2 gives 6.4.2; libc.so.6, whose soname it is, gives
// nothing: the 6 is the interface's number, not the file's version).
std::string ElfFileVersion(const std::string& realPath, const std::string& soname);

}  // namespace zub
