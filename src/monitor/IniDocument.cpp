#include "monitor/IniDocument.h"

#include <algorithm>
#include <cctype>

namespace zub {
namespace {

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  c = Lower(c);
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

// A value is kept on one line: backslash, line breaks and blanks at either end are escaped.
std::string Escape(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if ((i == 0 || i + 1 == value.size()) && IsBlank(c)) {
      out += c == ' ' ? "\\x20" : "\\x09";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c != '\\' || i + 1 == value.size()) {
      out += c;
      continue;
    }
    const char next = value[i + 1];
    if (next == '\\') {
      out += '\\';
      ++i;
    } else if (next == 'n') {
      out += '\n';
      ++i;
    } else if (next == 'r') {
      out += '\r';
      ++i;
    } else if (next == 'x' && i + 3 < value.size() && HexDigit(value[i + 2]) >= 0 &&
               HexDigit(value[i + 3]) >= 0) {
      out += static_cast<char>(HexDigit(value[i + 2]) * 16 + HexDigit(value[i + 3]));
      i += 3;
    } else {
      out += c;  // an unknown escape stays as written
    }
  }
  return out;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  doc.groups_.push_back(Group{});  // lines before the first header
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    const std::string_view raw = text.substr(start, end - start);
    start = end + 1;

    const std::string_view line = Trim(raw);
    if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string_view::npos) {
      Group g;
      g.name = std::string(Trim(line.substr(1, line.find(']') - 1)));
      g.rawHeader = std::string(raw);
      doc.groups_.push_back(std::move(g));
      continue;
    }
    Line l;
    l.raw = std::string(raw);
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos && eq > 0 && line.front() != ';' && line.front() != '#') {
      l.isValue = true;
      l.name = std::string(Trim(line.substr(0, eq)));
      l.value = Unescape(Trim(line.substr(eq + 1)));
    }
    doc.groups_.back().lines.push_back(std::move(l));
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  for (const Group& g : groups_) {
    if (!g.rawHeader.empty()) {
      out += g.rawHeader + "\n";
    } else if (!g.name.empty()) {
      out += "[" + g.name + "]\n";
    }
    for (const Line& l : g.lines) {
      out += (l.raw.empty() && l.isValue ? l.name + "=" + Escape(l.value) : l.raw) + "\n";
    }
  }
  return out;
}

IniDocument::Group* IniDocument::FindGroup(std::string_view group) {
  for (Group& g : groups_) {
    if (!g.name.empty() && SameName(g.name, group)) {
      return &g;
    }
  }
  return nullptr;
}

const IniDocument::Group* IniDocument::FindGroup(std::string_view group) const {
  return const_cast<IniDocument*>(this)->FindGroup(group);
}

bool IniDocument::HasGroup(std::string_view group) const {
  return FindGroup(group) != nullptr;
}

std::optional<std::string> IniDocument::Value(std::string_view group, std::string_view name) const {
  const Group* g = FindGroup(group);
  if (g == nullptr) {
    return std::nullopt;
  }
  for (const Line& l : g->lines) {
    if (l.isValue && SameName(l.name, name)) {
      return l.value;
    }
  }
  return std::nullopt;
}

void IniDocument::AddGroup(std::string_view group) {
  if (FindGroup(group) != nullptr) {
    return;
  }
  // Keep a blank line between groups for the reader's sake.
  if (!groups_.empty() && !(groups_.size() == 1 && groups_.front().lines.empty())) {
    Group& last = groups_.back();
    if (last.lines.empty() || !Trim(last.lines.back().raw).empty() || last.lines.back().isValue) {
      last.lines.push_back(Line{});
    }
  }
  Group g;
  g.name = std::string(group);
  groups_.push_back(std::move(g));
}

void IniDocument::SetValue(std::string_view group, std::string_view name, std::string_view value) {
  AddGroup(group);
  Group* g = FindGroup(group);
  for (Line& l : g->lines) {
    if (l.isValue && SameName(l.name, name)) {
      l.value = std::string(value);
      l.raw.clear();  // written anew, under the name it already had
      return;
    }
  }
  // After the last value, so a trailing blank line stays at the end.
  auto at = g->lines.end();
  while (at != g->lines.begin() && !std::prev(at)->isValue && Trim(std::prev(at)->raw).empty()) {
    --at;
  }
  Line l;
  l.isValue = true;
  l.name = std::string(name);
  l.value = std::string(value);
  g->lines.insert(at, std::move(l));
}

void IniDocument::EraseGroupTree(std::string_view group) {
  std::erase_if(groups_, [&](const Group& g) {
    if (g.name.empty()) {
      return false;
    }
    return SameName(g.name, group) ||
           (g.name.size() > group.size() && g.name[group.size()] == '/' &&
            SameName(std::string_view(g.name).substr(0, group.size()), group));
  });
}

}  // namespace zub
