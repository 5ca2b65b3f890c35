// The single-copy marker in the user's runtime directory: an flock(2) on a
// lock file is the marker itself, and a local socket beside it carries the
// second copy's request to raise the window. Both die with their process, so
// a crashed copy never locks the user out.
#pragma once

#include <functional>
#include <string>

#include "platform/InstanceMarker.h"
#include "platform/linux/PosixFile.h"

namespace zub {

class LocalSocketMarker : public InstanceMarker {
 public:
  // `directory`: where the lock and the socket live, private to the user;
  // empty for none (every copy then runs).
  explicit LocalSocketMarker(std::string directory);
  ~LocalSocketMarker() override;
  LocalSocketMarker(const LocalSocketMarker&) = delete;
  LocalSocketMarker& operator=(const LocalSocketMarker&) = delete;

  bool Find(const std::string& name) override;
  void AskToRaise(const std::string& name, const std::string& title) override;
  bool Add(const std::string& name) override;
  void Remove(const std::string& name) override;
  void OnRaiseRequest(std::function<void(const std::string& title)> handler) override;

  // The listening socket, readable when another copy asks; -1 while this
  // copy holds no marker. The event loop watches it and calls DeliverRequests.
  int RequestDescriptor() const { return listener_.Get(); }
  // Accepts every waiting request and hands its title to the handler.
  void DeliverRequests();

  // $XDG_RUNTIME_DIR when it is this user's own folder (mode 0700,
  // writable), else <tempDir>/zub97-<uid> (<tempDir> defaults to /tmp), made
  // private; empty when that is not this user's alone (a link, someone
  // else's, open to others), and then `problem` says why. Pass the
  // environment values (null when unset).
  static std::string DirectoryFor(const char* xdgRuntimeDir, const char* tempDir,
                                  std::string* problem = nullptr);
  static std::string DefaultDirectory(std::string* problem = nullptr);

  std::string SocketPath(const std::string& name) const { return directory_ + "/" + name; }
  std::string LockPath(const std::string& name) const { return SocketPath(name) + ".lock"; }

 private:
  std::string directory_;
  std::string heldName_;
  linux_platform::UniqueFd lock_;
  linux_platform::UniqueFd listener_;
  std::function<void(const std::string&)> handler_;
};

}  // namespace zub
