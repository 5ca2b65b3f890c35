// Saves the settings of generation after generation into one file until it
// is killed: the kill loop test looks at what each kill leaves.
// Usage: zub_save_loop <settings file> <first generation>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "monitor/BBRegis.h"
#include "monitor/SaveGenerations.h"
#include "platform/linux/XdgSettingsFile.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: zub_save_loop <settings file> <first generation>\n";
    return 2;
  }
  zub::XdgSettingsFile file(argv[1], true);
  // Tells the test that saving starts now, so its kills land among the saves.
  if (::write(STDOUT_FILENO, "r", 1) != 1) {
    return 2;
  }
  for (int g = std::atoi(argv[2]);; ++g) {
    try {
      zub::SaveMonitorSettings(file, zub::test_support::SettingsOfGeneration(g),
                               zub::test_support::kEveryWindowOpened);
    } catch (const zub::RegistryError& e) {
      std::cerr << "zub_save_loop: " << e.what() << "\n";
      return 1;
    }
  }
}
