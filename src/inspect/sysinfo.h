// The system information component: eight texts about the machine, gathered
// once when it is made (owner, organisation, processor, system, version,
// build, physical memory, size of drive C).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "monitor/DriveSpace.h"
#include "platform/SettingsFile.h"
#include "platform/SystemFacts.h"

namespace zub {

// The classic processor type code for the machine: 386, 486, 586, or 0 for
// a processor that is no x86.
int ProcessorType(const SystemFacts& facts);
// "Intel 386", "Intel 486", "Intel Pentium", or empty.
std::string CpuText(int processorType);

struct KernelVersion {
  int major = 0;
  int minor = 0;
  int patch = 0;
};
// "6.1.0-18-amd64" as 6, 1, 0; a part that is missing or no number is 0.
KernelVersion ParseKernelRelease(const std::string& release);

class TSysInfo {
 public:
  // Reads the machine settings through a key that is released before the
  // constructor returns; keeps none of its arguments.
  TSysInfo(SettingsFile& machine, SystemFactsSource& facts, const DriveQueries& drives);

  const std::string& Organisation() const { return organisation_; }
  const std::string& Owner() const { return owner_; }
  const std::string& CPU() const { return cpu_; }
  const std::string& OperatingSystem() const { return operatingSystem_; }
  const std::string& WinVersion() const { return winVersion_; }
  const std::string& Build() const { return build_; }
  const std::string& TotalMemory() const { return totalMemory_; }
  const std::string& DriveC() const { return driveC_; }

  // The texts are those of the moment of construction: writing keeps them.
  void SetOrganisation(const std::string&) {}
  void SetOwner(const std::string&) {}
  void SetCPU(const std::string&) {}
  void SetOperatingSystem(const std::string&) {}
  void SetWinVersion(const std::string&) {}
  void SetBuild(const std::string&) {}
  void SetTotalMemory(const std::string&) {}
  void SetDriveC(const std::string&) {}

  // Every text with its property name, in property order.
  std::vector<std::pair<std::string, std::string>> Texts() const;

 private:
  std::string organisation_;
  std::string owner_;
  std::string cpu_;
  std::string operatingSystem_;
  std::string winVersion_;
  std::string build_;
  std::string totalMemory_;
  std::string driveC_;
};

}  // namespace zub
