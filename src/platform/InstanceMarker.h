// A per-desktop named marker that tells a second copy of the program that a
// first one runs, and carries its request to raise the first copy's window.
#pragma once

#include <functional>
#include <string>

namespace zub {

class InstanceMarker {
 public:
  virtual ~InstanceMarker() = default;

  // True when a live copy holds the marker `name`.
  virtual bool Find(const std::string& name) = 0;
  // Asks the copy holding `name` to raise its main window if its title is `title`.
  virtual void AskToRaise(const std::string& name, const std::string& title) = 0;
  // Holds `name` for this copy, unless a live copy already does. Taking it is
  // atomic: of copies that all found it missing, exactly one gets it, and the
  // others get false (they are second copies after all).
  virtual bool Add(const std::string& name) = 0;
  // Gives up `name` if this copy holds it.
  virtual void Remove(const std::string& name) = 0;
  // Called with the requested title when another copy asks this one to raise.
  virtual void OnRaiseRequest(std::function<void(const std::string& title)> handler) = 0;
};

}  // namespace zub
