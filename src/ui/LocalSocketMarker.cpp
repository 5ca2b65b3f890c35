#include "ui/LocalSocketMarker.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>

namespace zub {
namespace {

constexpr int kWaitMs = 500;

}  // namespace

LocalSocketMarker::LocalSocketMarker(QString directory) : directory_(std::move(directory)) {}

LocalSocketMarker::~LocalSocketMarker() {
  if (!heldName_.empty()) {
    Remove(heldName_);
  }
}

QString LocalSocketMarker::DefaultDirectory() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) {
    return runtime;
  }
  // No runtime directory: a folder only this user can enter. One that is
  // not ours (made first by someone else) would let them hold our marker,
  // so then the program runs without one.
  const QByteArray fallback =
      (QDir::tempPath() + QStringLiteral("/zub97-%1").arg(getuid())).toLocal8Bit();
  mkdir(fallback.constData(), 0700);
  struct stat info {};
  if (lstat(fallback.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
      info.st_uid != getuid() || (info.st_mode & 0077) != 0) {
    return {};
  }
  return QString::fromLocal8Bit(fallback);
}

QString LocalSocketMarker::PathOf(const std::string& name) const {
  if (directory_.isEmpty()) {
    return {};  // no safe place: no marker
  }
  return directory_ + QLatin1Char('/') + QString::fromStdString(name);
}

bool LocalSocketMarker::Find(const std::string& name) {
  QLocalSocket socket;
  socket.connectToServer(PathOf(name));
  const bool live = socket.waitForConnected(kWaitMs);
  socket.abort();
  return live;
}

void LocalSocketMarker::AskToRaise(const std::string& name, const std::string& title) {
  QLocalSocket socket;
  socket.connectToServer(PathOf(name));
  if (!socket.waitForConnected(kWaitMs)) {
    return;
  }
  socket.write(QByteArray::fromStdString(title + "\n"));
  socket.waitForBytesWritten(kWaitMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) {
    socket.waitForDisconnected(kWaitMs);
  }
}

void LocalSocketMarker::Add(const std::string& name) {
  if (server_ != nullptr) {
    return;
  }
  auto server = std::make_unique<QLocalServer>();
  const QString path = PathOf(name);
  if (path.isEmpty()) {
    return;
  }
  if (!server->listen(path)) {
    if (Find(name)) {
      return;  // a live copy holds it; the count is theirs
    }
    QLocalServer::removeServer(path);  // left by a copy that crashed
    if (!server->listen(path)) {
      return;
    }
  }
  QObject::connect(server.get(), &QLocalServer::newConnection, [this] { ReadRequests(); });
  server_ = std::move(server);
  heldName_ = name;
}

void LocalSocketMarker::Remove(const std::string& name) {
  if (server_ == nullptr || name != heldName_) {
    return;
  }
  server_->close();  // also removes the socket file
  server_.reset();
  heldName_.clear();
}

void LocalSocketMarker::OnRaiseRequest(std::function<void(const std::string&)> handler) {
  handler_ = std::move(handler);
}

void LocalSocketMarker::ReadRequests() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
      while (socket->canReadLine()) {
        QByteArray line = socket->readLine();
        line.chop(1);  // the newline
        if (handler_) {
          handler_(line.toStdString());
        }
      }
    });
  }
}

}  // namespace zub
