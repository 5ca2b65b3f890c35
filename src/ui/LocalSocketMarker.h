// The single-copy marker as a local socket in the user's runtime directory.
// It dies with its process: a socket file left by a crashed copy answers no
// connection and is replaced.
#pragma once

#include <QLocalServer>
#include <QString>
#include <memory>

#include "platform/InstanceMarker.h"

namespace zub {

class LocalSocketMarker : public InstanceMarker {
 public:
  // `directory`: where the socket lives, private to the user.
  explicit LocalSocketMarker(QString directory);
  ~LocalSocketMarker() override;

  bool Find(const std::string& name) override;
  void AskToRaise(const std::string& name, const std::string& title) override;
  void Add(const std::string& name) override;
  void Remove(const std::string& name) override;
  void OnRaiseRequest(std::function<void(const std::string& title)> handler) override;

  // $XDG_RUNTIME_DIR, or a private folder under the temporary directory;
  // empty (no marker) when that folder is not this user's alone.
  static QString DefaultDirectory();

 private:
  QString PathOf(const std::string& name) const;
  void ReadRequests();

  QString directory_;
  std::unique_ptr<QLocalServer> server_;
  std::string heldName_;
  std::function<void(const std::string&)> handler_;
};

}  // namespace zub
