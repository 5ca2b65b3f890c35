// The program's identity while it runs: its title (what the desktop shows for
// it), its help file and whether it has been asked to end.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zub {

inline constexpr const char* kStartupTitle = "Zub 97 for Windows 95";

class Application {
 public:
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  // Called after every title change, with the new title.
  void OnTitleChanged(std::function<void(const std::string&)> listener);

  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& path) { helpFile_ = path; }

  // Takes effect when control reaches the event loop.
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

 private:
  std::string title_;
  std::string helpFile_;
  bool terminated_ = false;
  std::vector<std::function<void(const std::string&)>> titleListeners_;
};

}  // namespace zub
