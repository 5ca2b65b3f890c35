#include "inspect/sysinfo.h"

#include <charconv>
#include <optional>

#include "monitor/BBRegis.h"

namespace zub {
namespace {

constexpr char kMachineKey[] = "\\SOFTWARE\\Microsoft\\Windows";
constexpr char kSection[] = "CurrentVersion";
constexpr char kFailure[] = "Failure";

bool IsX86(const std::string& machine) {
  return machine == "x86_64" || machine == "amd64" || machine == "x86" ||
         (machine.size() == 4 && machine[0] == 'i' && machine.substr(2) == "86" &&
          machine[1] >= '3' && machine[1] <= '6');
}

// Leading digits of `text` from `pos`; `pos` moves past them.
std::optional<int> Number(const std::string& text, std::size_t& pos) {
  int value = 0;
  const char* begin = text.data() + pos;
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
  if (error != std::errc() || value < 0) {
    return std::nullopt;
  }
  pos += static_cast<std::size_t>(end - begin);
  return value;
}

}  // namespace

int ProcessorType(const SystemFacts& facts) {
  if (!IsX86(facts.machine)) {
    return 0;
  }
  int family = 0;
  if (facts.cpuFamily) {
    family = *facts.cpuFamily;
  } else if (facts.machine[0] == 'i') {
    family = facts.machine[1] - '0';  // i386 ... i686: the family the kernel was built for
  } else {
    family = 15;  // no x86-64 processor is older than family 15
  }
  if (family >= 5) {
    return 586;
  }
  return family == 4 ? 486 : 386;
}

std::string CpuText(int processorType) {
  switch (processorType) {
    case 386:
      return "Intel 386";
    case 486:
      return "Intel 486";
    case 586:
      return "Intel Pentium";
    default:
      return "";
  }
}

KernelVersion ParseKernelRelease(const std::string& release) {
  KernelVersion version;
  int* parts[] = {&version.major, &version.minor, &version.patch};
  std::size_t pos = 0;
  for (int* part : parts) {
    const auto value = Number(release, pos);
    if (!value) {
      break;
    }
    *part = *value;
    if (pos >= release.size() || release[pos] != '.') {
      break;
    }
    ++pos;
  }
  return version;
}

TSysInfo::TSysInfo(SettingsFile& machine, SystemFactsSource& source, const DriveQueries& drives) {
  organisation_ = kFailure;
  owner_ = kFailure;
  try {
    const TBBRegIniFile registry(kMachineKey, machine);
    organisation_ = registry.ReadString(kSection, "RegisteredOrganization", kFailure);
    owner_ = registry.ReadString(kSection, "RegisteredOwner", kFailure);
  } catch (const RegistryError&) {
    // A store that refuses the key reads like a missing one.
  }

  const SystemFacts facts = source.Read();
  cpu_ = CpuText(ProcessorType(facts));
  // Linux has no Windows platform id, so the system text stays empty.
  operatingSystem_.clear();
  const KernelVersion version = ParseKernelRelease(facts.release);
  winVersion_ = std::to_string(version.major) + "." + std::to_string(version.minor);
  build_ = std::to_string(version.patch & 0xFFFF);
  // 64-bit counts: a 32-bit byte count wraps above 2 GB. Without meminfo
  // there is no figure to show rather than a false 0.
  if (facts.totalPhys && *facts.totalPhys >= 0) {
    totalMemory_ = std::to_string(*facts.totalPhys / 1024) + " KB";
  }
  const std::int64_t driveC = drives.DriveTotalBytes(3);
  if (driveC != -1) {
    driveC_ = std::to_string(driveC / 1024 / 1024) + " MB";
  }
}

std::vector<std::pair<std::string, std::string>> TSysInfo::Texts() const {
  return {{"Organisation", organisation_},       {"Owner", owner_},           {"CPU", cpu_},
          {"OperatingSystem", operatingSystem_}, {"WinVersion", winVersion_}, {"Build", build_},
          {"TotalMemory", totalMemory_},         {"DriveC", driveC_}};
}

}  // namespace zub
