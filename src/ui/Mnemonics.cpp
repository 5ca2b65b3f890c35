#include "ui/Mnemonics.h"

#include <cctype>
#include <optional>
#include <set>

namespace zub {
namespace {

bool IsKey(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x80 && std::isalnum(byte) != 0;
}

char KeyOf(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The key an author's "&x" already gives; "&&" is a literal ampersand.
std::optional<char> GivenKey(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') {
      continue;
    }
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return KeyOf(caption[i + 1]);
  }
  return std::nullopt;
}

std::optional<std::size_t> ChooseKey(const std::string& caption, const std::set<char>& taken) {
  std::optional<std::size_t> first;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const bool wordStart = i == 0 || !IsKey(caption[i - 1]);
    if (IsKey(caption[i]) && wordStart && !taken.contains(KeyOf(caption[i]))) {
      return i;
    }
  }
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (IsKey(caption[i])) {
      if (!taken.contains(KeyOf(caption[i]))) {
        return i;
      }
      if (!first) {
        first = i;
      }
    }
  }
  return first;
}

}  // namespace

std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions) {
  std::set<char> taken;
  for (const std::string& caption : captions) {
    if (const auto key = GivenKey(caption)) {
      taken.insert(*key);
    }
  }
  std::vector<std::string> result;
  result.reserve(captions.size());
  for (const std::string& caption : captions) {
    if (caption.find('&') != std::string::npos) {
      result.push_back(caption);
      continue;
    }
    const auto at = ChooseKey(caption, taken);
    if (!at) {
      result.push_back(caption);
      continue;
    }
    taken.insert(KeyOf(caption[*at]));
    result.push_back(caption.substr(0, *at) + "&" + caption.substr(*at));
  }
  return result;
}

}  // namespace zub
