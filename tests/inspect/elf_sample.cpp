// A small shared library the ELF tests read: built with a soname and a versioned real name.
extern "C" int zub_elf_sample() {
  return 97;
}
