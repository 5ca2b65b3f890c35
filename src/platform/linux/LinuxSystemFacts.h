// The machine facts from uname(2), <proc>/cpuinfo and <proc>/meminfo.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemFacts.h"

namespace zub {

struct KernelName {
  std::string machine;
  std::string release;
};

// The "cpu family" of the first processor listed; nothing when the file has
// none (other architectures) or it is not a number.
std::optional<int> ParseCpuFamily(std::string_view cpuinfoText);

class LinuxSystemFacts : public SystemFactsSource {
 public:
  using UnameFn = std::function<std::optional<KernelName>()>;

  explicit LinuxSystemFacts(std::string procRoot = "/proc", UnameFn uname = SystemUname);

  SystemFacts Read() override;

  static std::optional<KernelName> SystemUname();

 private:
  std::string procRoot_;
  UnameFn uname_;
};

}  // namespace zub
