#include "monitor/BBRegis.h"

#include <algorithm>
#include <charconv>

namespace zub {
namespace {

std::string NormalizeKey(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  while (!path.empty() && path.front() == '/') {
    path.erase(path.begin());
  }
  while (!path.empty() && path.back() == '/') {
    path.pop_back();
  }
  return path;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view digits = text.substr(2);
    std::uint32_t value = 0;
    if (digits.size() > 8) {
      return std::nullopt;
    }
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
      return std::nullopt;
    }
    return static_cast<std::int32_t>(value);  // eight digits wrap like a 32-bit register
  }
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

TRegIniFile::TRegIniFile(SettingsFile& currentUser, const std::string& keyPath)
    : TRegIniFile(currentUser, keyPath, true) {}

TRegIniFile::TRegIniFile(SettingsFile& root, const std::string& keyPath, bool createKey)
    : file_(&root), keyPath_(NormalizeKey(keyPath)) {
  const StoredText stored = file_->Load();
  if (stored.state == StoredText::State::Present) {
    document_ = IniDocument::Parse(stored.text);
  }
  if (createKey && !document_.HasGroup(keyPath_)) {
    Edit("Failed to create key " + keyPath_, [this](IniDocument& doc) { doc.AddGroup(keyPath_); });
  }
}

std::string TRegIniFile::GroupOf(const std::string& section) const {
  const std::string s = NormalizeKey(section);
  return s.empty() ? keyPath_ : keyPath_ + "/" + s;
}

std::int32_t TRegIniFile::ReadInteger(const std::string& section, const std::string& name,
                                      std::int32_t fallback) const {
  const auto text = document_.Value(GroupOf(section), name);
  if (!text) {
    return fallback;
  }
  return ParseInteger(*text).value_or(fallback);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& name,
                                    const std::string& fallback) const {
  return document_.Value(GroupOf(section), name).value_or(fallback);
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& name,
                               std::int32_t value) {
  WriteString(section, name, std::to_string(value));
}

void TRegIniFile::WriteString(const std::string& section, const std::string& name,
                              const std::string& value) {
  const std::string group = GroupOf(section);
  const std::string failure = document_.HasGroup(group) ? "Failed to set data for '" + name + "'"
                                                        : "Failed to create key " + section;
  Edit(failure, [&](IniDocument& doc) { doc.SetValue(group, name, value); });
}

void TRegIniFile::EraseSection(const std::string& section) {
  const std::string group = GroupOf(section);
  Edit("Failed to delete key " + section, [&](IniDocument& doc) { doc.EraseGroupTree(group); });
}

// Applies the change to the file as it is now, so that a concurrent writer's
// other changes survive, and keeps the result as this key's view.
void TRegIniFile::Edit(const std::string& failureText,
                       const std::function<void(IniDocument&)>& change) {
  if (!file_->Writable()) {
    throw RegistryError(failureText);
  }
  IniDocument written;
  const bool ok = file_->Rewrite([&](const std::string& current) {
    written = IniDocument::Parse(current);
    change(written);
    return written.Serialize();
  });
  if (!ok) {
    throw RegistryError(failureText);
  }
  document_ = std::move(written);
}

TBBRegIniFile::TBBRegIniFile(const std::string& keyPath, SettingsFile& root)
    : TRegIniFile(root, keyPath, root.Writable()) {}

}  // namespace zub
