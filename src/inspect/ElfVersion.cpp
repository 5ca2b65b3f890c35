#include "inspect/ElfVersion.h"

#include <cctype>

namespace zub {

std::string ElfFileTypeText(const ElfFacts& facts) {
  constexpr std::uint16_t kExecutable = 2;
  constexpr std::uint16_t kShared = 3;
  if (facts.type == kExecutable) {
    return "Application";
  }
  if (facts.type == kShared) {
    // A PT_INTERP alone does not make a program: libc.so.6 carries one so that
    // it can be run to print its version. Linkers mark PIE programs with
    // DF_1_PIE; older ones without the flag never give a program a soname.
    const bool program = facts.pie || (facts.hasInterpreter && facts.soname.empty());
    return program ? "Application" : "Dynamic-Link Library";
  }
  return "Unknown";
}

std::string TrailingVersion(const std::string& path) {
  const std::string name = path.substr(path.find_last_of('/') + 1);
  std::size_t start = name.size();
  while (start > 0 && (std::isdigit(static_cast<unsigned char>(name[start - 1])) != 0 ||
                       name[start - 1] == '.')) {
    --start;
  }
  std::string run = name.substr(start);
  const bool afterSeparator =
      !run.empty() && (run.front() == '.' || (start > 0 && name[start - 1] == '-'));
  while (!run.empty() && run.front() == '.') {
    run.erase(0, 1);
  }
  // "libfoo.so." or "6..4" are no version; "md5" is a word, not a version.
  if (run.empty() || run.back() == '.' || run.find("..") != std::string::npos ||
      (!afterSeparator && run.find('.') == std::string::npos)) {
    return "";
  }
  return run;
}

std::string ElfFileVersion(const std::string& realPath, const std::string& soname) {
  std::string version = TrailingVersion(realPath);
  const std::string name = realPath.substr(realPath.find_last_of('/') + 1);
  if (!soname.empty() && (name == soname || version == TrailingVersion(soname))) {
    return "";
  }
  return version;
}

}  // namespace zub
