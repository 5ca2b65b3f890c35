#include "ui/FontFaces.h"

#include <algorithm>
#include <cctype>

namespace zub {
namespace {

struct Substitution {
  const char* name;
  std::vector<std::string> faces;
};

bool SameName(const std::string& a, const char* b) {
  const std::string other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Liberation Sans has Arial's advance widths; Arimo is the same design under
// another name. MS Sans Serif was a bitmap face drawn on Arial-like widths,
// and System a heavier sans of much the same widths, so both take the same
// faces: a wider fallback such as DejaVu Sans cuts the captions laid out for them.
const std::vector<std::string> kArialFaces = {"Liberation Sans", "Arimo", "Arial"};

}  // namespace

std::vector<std::string> FaceCandidates(const std::string& name) {
  static const Substitution kTable[] = {
      {"Arial", kArialFaces},         {"Ariel", kArialFaces},
      {"MS Sans Serif", kArialFaces}, {"Microsoft Sans Serif", kArialFaces},
      {"System", kArialFaces},
  };
  for (const Substitution& s : kTable) {
    if (SameName(name, s.name)) {
      std::vector<std::string> faces = s.faces;
      if (std::find(faces.begin(), faces.end(), name) == faces.end()) {
        faces.push_back(name);
      }
      return faces;
    }
  }
  return {name};
}

}  // namespace zub
