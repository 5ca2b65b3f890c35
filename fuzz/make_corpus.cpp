// Writes the seed corpus of the version fuzz target: version blocks, PE and
// ELF files made by the tests' own builder.
#include <fstream>
#include <iostream>
#include <string>

#include "inspect/ExecutableBuilder.h"

using namespace zub::test_support;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: " << argv[0] << " DIRECTORY\n";
    return 2;
  }
  const std::string dir = argv[1];
  const auto write = [&dir](const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
  };
  const std::vector<StringTable> tables = {
      {"040904E4",
       {{"CompanyName", "Zub Software"},
        {"FileDescription", "Disk pies"},
        {"ProductVersion", "3.0"},
        {"LegalTrademarks", "Zub"}}},
      {"040704b0", {{"CompanyName", "Zub GmbH"}}},
  };
  const std::string block = VersionInfoNode({}, tables).Bytes();
  const std::string bare = VersionInfoNode({}, {}).Bytes();
  FixedNumbers driver;
  driver.type = 3;
  driver.subtype = 4;
  write("block-two-tables", block);
  write("block-no-strings", bare);
  write("block-driver", VersionInfoNode(driver, {{"0C0C0000", {{"Comments", "x"}}}}).Bytes());
  write("pe32", BuildPe(block, false).Bytes());
  write("pe32plus", BuildPe(block, true).Bytes());
  write("pe32plus-two-sections", BuildPe(bare, true, 512).Bytes());
  write("elf-library", BuildElf({}));
  write("elf-pie-program", BuildElf({3, "", true, true}));
  return 0;
}
