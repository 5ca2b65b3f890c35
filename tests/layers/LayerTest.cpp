// Reads every #include "..." of the sources and checks that dependencies run
// one way: platform <- logic <- windows <- front ends, no subsystem's code
// includes another subsystem's windows, and no two parts depend on each
// other in a circle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace zub {
namespace {

namespace fs = std::filesystem;

struct Unit {
  std::string folder;  // "monitor", "platform/linux", "ui", ...
  std::string kind;    // platform, interface, logic, windows, uikit, front
  int rank = 0;
  bool form = false;  // a window of its own, not a control other windows place
};

bool IsFrontEnd(const std::string& name) {
  static const std::regex front("^(main|report_main|Report.*|WindowHub|LinuxServices)\\.(h|cpp)$");
  return std::regex_match(name, front);
}

bool IsForm(const std::string& name) {
  static const std::regex form("^(Tfm|TFm|TFileInfo|UtMem|UnFilever).*");
  return std::regex_match(name, form);
}

Unit Classify(const fs::path& relative, bool usesQt) {
  Unit unit;
  const std::string name = relative.filename().string();
  unit.folder = relative.parent_path().string();
  if (unit.folder.rfind("platform", 0) == 0) {
    unit.kind = "platform";
  } else if (unit.folder == "ui") {
    unit.kind = usesQt ? "uikit" : "interface";
  } else if (unit.folder == "app" && IsFrontEnd(name)) {
    unit.kind = "front";
  } else {
    unit.kind = usesQt ? "windows" : "logic";
    unit.form = usesQt && IsForm(name);
  }
  static const std::map<std::string, int> ranks = {{"platform", 0}, {"interface", 0}, {"logic", 1},
                                                   {"windows", 2},  {"uikit", 2},     {"front", 3}};
  unit.rank = ranks.at(unit.kind);
  return unit;
}

struct Source {
  Unit unit;
  std::vector<std::string> includes;  // relative to src/
  bool usesQt = false;                // itself or through what it includes
};

std::map<std::string, Source> ReadSources(const fs::path& src) {
  static const std::regex local("^\\s*#\\s*include\\s+\"([^\"]+)\"");
  static const std::regex qt("^\\s*#\\s*include\\s+<Q");
  std::map<std::string, Source> sources;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) {
      continue;
    }
    std::ifstream in(entry.path());
    Source source;
    for (std::string line; std::getline(in, line);) {
      std::smatch m;
      if (std::regex_search(line, m, local)) {
        source.includes.push_back(m[1]);
      }
      source.usesQt = source.usesQt || std::regex_search(line, qt);
    }
    sources.emplace(fs::relative(entry.path(), src).string(), std::move(source));
  }
  // A file built on one of the ui kit's Qt headers, or a .cpp of a Qt header,
  // is a Qt file too. (No more: a logic header that included a window would
  // otherwise pass for a window itself.)
  for (bool changed = true; changed;) {
    changed = false;
    for (auto& [file, source] : sources) {
      for (const std::string& include : source.includes) {
        const auto target = sources.find(include);
        const bool ownHeader = fs::path(include).replace_extension(".cpp") == fs::path(file);
        if (!source.usesQt && target != sources.end() && target->second.usesQt &&
            (include.rfind("ui/", 0) == 0 || ownHeader)) {
          source.usesQt = changed = true;
        }
      }
    }
  }
  for (auto& [file, source] : sources) {
    source.unit = Classify(file, source.usesQt);
  }
  return sources;
}

// Every include against the direction, as "file -> included: why".
std::vector<std::string> LayerViolations(const fs::path& src) {
  const std::map<std::string, Source> sources = ReadSources(src);
  std::vector<std::string> found;
  std::map<std::string, std::set<std::string>> graph;  // "folder:kind" -> those it includes
  for (const auto& [file, source] : sources) {
    const Unit& from = source.unit;
    for (const std::string& include : source.includes) {
      const auto target = sources.find(include);
      if (target == sources.end()) {
        continue;  // generated or outside src/
      }
      const Unit& to = target->second.unit;
      const std::string edge = file + " -> " + include + ": ";
      if (to.rank > from.rank) {
        found.push_back(edge + from.kind + " may not use " + to.kind);
      }
      if (to.folder == "platform/linux" && from.folder != "platform/linux" &&
          from.kind != "front") {
        found.push_back(edge + "only the front ends pick platform implementations");
      }
      if (to.form && to.folder != from.folder && from.kind != "front") {
        found.push_back(edge + "another subsystem's window");
      }
      const std::string a = from.folder + ":" + from.kind;
      const std::string b = to.folder + ":" + to.kind;
      if (a != b) {
        graph[a].insert(b);
      }
    }
  }
  // A circle between parts: depth-first search with a path of its own.
  std::map<std::string, int> state;  // 1 on the path, 2 done
  std::vector<std::string> path;
  std::function<void(const std::string&)> visit = [&](const std::string& node) {
    state[node] = 1;
    path.push_back(node);
    for (const std::string& next : graph[node]) {
      if (state[next] == 1) {
        std::string circle = "circle:";
        for (auto it = std::find(path.begin(), path.end(), next); it != path.end(); ++it) {
          circle += " " + *it + " ->";
        }
        found.push_back(circle + " " + next);
      } else if (state[next] == 0) {
        visit(next);
      }
    }
    path.pop_back();
    state[node] = 2;
  };
  for (const auto& [node, edges] : graph) {
    if (state[node] == 0) {
      visit(node);
    }
  }
  return found;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\n";
  }
  return text;
}

TEST(LayerTest, EveryIncludeOfTheSourcesRunsTheAllowedWay) {
  const std::vector<std::string> found = LayerViolations(fs::path(ZUB_SOURCE_DIR) / "src");
  EXPECT_TRUE(found.empty()) << Joined(found);
}

TEST(LayerTest, TheCheckCatchesEachKindOfWrongDependency) {
  test_support::TempDir dir;
  dir.Write("src/monitor/Rules.h", "#include \"monitor/TfmMain.h\"\n");  // logic -> window
  dir.Write("src/monitor/TfmMain.h",
            "#include <QDialog>\n#include \"files/TfmList.h\"\n");  // another's window
  dir.Write("src/files/TfmList.h", "#include <QDialog>\n#include \"files/Walk.h\"\n");
  dir.Write("src/files/Walk.h", "#include \"platform/linux/Dirs.h\"\n");  // implementation
  dir.Write("src/platform/linux/Dirs.h", "#include \"platform/Dirs.h\"\n");
  dir.Write("src/platform/Dirs.h", "");
  dir.Write("src/game/A.h", "#include \"diskview/B.h\"\n");  // a circle of logic
  dir.Write("src/diskview/B.h", "#include \"game/A.h\"\n");
  dir.Write("src/app/main.cpp",
            "#include \"platform/linux/Dirs.h\"\n#include \"monitor/TfmMain.h\"\n");
  const std::string found = Joined(LayerViolations(dir / "src"));
  EXPECT_NE(found.find("monitor/Rules.h -> monitor/TfmMain.h: logic may not use windows"),
            std::string::npos)
      << found;
  EXPECT_NE(found.find("monitor/TfmMain.h -> files/TfmList.h: another subsystem's window"),
            std::string::npos);
  EXPECT_NE(found.find("files/Walk.h -> platform/linux/Dirs.h: only the front ends"),
            std::string::npos);
  EXPECT_NE(found.find("circle:"), std::string::npos);
  EXPECT_EQ(found.find("app/main.cpp"), std::string::npos);  // front ends may use anything
}

}  // namespace
}  // namespace zub
