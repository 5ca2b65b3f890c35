#include "monitor/BBRegis.h"

#include <algorithm>
#include <charconv>
#include <utility>

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

TRegIniFile::TRegIniFile(SettingsFile& currentUser, const std::string& keyPath, Writes writes)
    : TRegIniFile(currentUser, keyPath, true, writes) {}

TRegIniFile::TRegIniFile(SettingsFile& root, const std::string& keyPath, bool createKey)
    : TRegIniFile(root, keyPath, createKey, Writes::Immediate) {}

TRegIniFile::TRegIniFile(SettingsFile& root, const std::string& keyPath, bool createKey,
                         Writes writes)
    : file_(&root), keyPath_(NormalizeKey(keyPath)), batched_(writes == Writes::Batched) {
  const StoredText stored = file_->Load();
  if (stored.state == StoredText::State::Present) {
    document_ = IniDocument::Parse(stored.text);
  }
  if (createKey && !document_.HasGroup(keyPath_)) {
    Edit("Failed to create key " + keyPath_,
         [group = keyPath_](IniDocument& doc) { doc.AddGroup(group); });
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
  std::string failure = document_.HasGroup(group) ? "Failed to set data for '" + name + "'"
                                                  : "Failed to create key " + section;
  Edit(std::move(failure),
       [group, name, value](IniDocument& doc) { doc.SetValue(group, name, value); });
}

void TRegIniFile::EraseSection(const std::string& section) {
  Edit("Failed to delete key " + section,
       [group = GroupOf(section)](IniDocument& doc) { doc.EraseGroupTree(group); });
}

void TRegIniFile::Edit(std::string failureText, std::function<void(IniDocument&)> change) {
  change(document_);
  pending_.push_back({std::move(failureText), std::move(change)});
  if (!batched_) {
    UpdateFile();
  }
}

// The changes are applied again to the file as it is under the lock, so that
// a concurrent writer's other changes survive.
void TRegIniFile::UpdateFile() {
  if (pending_.empty()) {
    return;
  }
  const std::vector<Change> changes = std::exchange(pending_, {});
  IniDocument written;
  const bool ok = file_->Writable() && file_->Rewrite([&](const std::string& current) {
    written = IniDocument::Parse(current);
    for (const Change& change : changes) {
      change.apply(written);
    }
    return written.Serialize();
  });
  if (!ok) {
    // None of the changes is in the file: neither may this view hold them.
    const StoredText stored = file_->Load();
    document_ = stored.state == StoredText::State::Present ? IniDocument::Parse(stored.text)
                                                           : IniDocument{};
    throw RegistryError(changes.front().failureText);
  }
  document_ = std::move(written);
}

TBBRegIniFile::TBBRegIniFile(const std::string& keyPath, SettingsFile& root)
    : TRegIniFile(root, keyPath, root.Writable()) {}

}  // namespace zub
