// The text of a settings file as groups of "name=value" lines. Lines it does
// not understand are kept as they are, so a rewrite loses nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zub {

class IniDocument {
 public:
  static IniDocument Parse(std::string_view text);
  std::string Serialize() const;

  // Group and value names match regardless of ASCII case.
  bool HasGroup(std::string_view group) const;
  std::optional<std::string> Value(std::string_view group, std::string_view name) const;
  // Adds the group when missing.
  void AddGroup(std::string_view group);
  // Replaces an existing value in place (keeping its stored name) or appends it.
  void SetValue(std::string_view group, std::string_view name, std::string_view value);
  // Removes the group and every group below it ("Key/Dir" also takes "Key/Dir/Sub").
  void EraseGroupTree(std::string_view group);

 private:
  struct Line {
    std::string raw;  // as read, for lines kept verbatim
    std::string name;
    std::string value;
    bool isValue = false;
  };
  struct Group {
    std::string name;  // empty for the lines before the first header
    std::string rawHeader;
    std::vector<Line> lines;
  };

  Group* FindGroup(std::string_view group);
  const Group* FindGroup(std::string_view group) const;

  std::vector<Group> groups_;
};

}  // namespace zub
