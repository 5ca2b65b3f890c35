#include "platform/linux/LocalSocketMarker.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

namespace zub {
namespace {

using linux_platform::MillisecondsLeft;
using linux_platform::UniqueFd;
using Clock = std::chrono::steady_clock;

constexpr auto kWait = std::chrono::milliseconds(500);
constexpr std::size_t kMaxRequest = 4096;

std::optional<sockaddr_un> AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    return std::nullopt;
  }
  path.copy(address.sun_path, path.size());
  return address;
}

// Only this user can enter it or change what is in it, so nobody else can
// take the marker there first or answer in its place.
bool IsPrivateDirectory(const struct stat& info) {
  return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 0777) == 0700;
}

// Why `path` (seen without following a link) is no private folder of this
// user; empty when it is one.
std::string NotPrivate(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    return std::string("cannot be made: ") + std::strerror(errno);
  }
  if (S_ISLNK(info.st_mode)) {
    return "is a symbolic link";
  }
  if (!S_ISDIR(info.st_mode)) {
    return "is not a folder";
  }
  if (info.st_uid != ::getuid()) {
    return "belongs to another user";
  }
  if (!IsPrivateDirectory(info)) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return std::string("has mode ") + mode + ", not 0700";
  }
  return {};
}

// One request is the title and a newline; a peer that sends nothing is given
// a short while, never the event loop.
std::optional<std::string> ReadRequest(int fd) {
  const auto deadline = Clock::now() + kWait;
  std::string text;
  while (text.size() < kMaxRequest) {
    pollfd waiting{fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      return std::nullopt;
    }
    char buffer[512];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
      continue;
    }
    if (n <= 0) {
      return std::nullopt;
    }
    text.append(buffer, static_cast<std::size_t>(n));
    const std::size_t newline = text.find('\n');
    if (newline != std::string::npos) {
      return text.substr(0, newline);
    }
  }
  return std::nullopt;
}

}  // namespace

LocalSocketMarker::LocalSocketMarker(std::string directory) : directory_(std::move(directory)) {}

LocalSocketMarker::~LocalSocketMarker() {
  if (!heldName_.empty()) {
    Remove(heldName_);
  }
}

std::string LocalSocketMarker::DirectoryFor(const char* xdgRuntimeDir, const char* tempDir,
                                            std::string* problem) {
  // After su the runtime directory named may still be the first user's: a
  // folder this user cannot write, or one root would fill with root's files.
  struct stat info {};
  if (xdgRuntimeDir != nullptr && *xdgRuntimeDir != '\0' && ::stat(xdgRuntimeDir, &info) == 0 &&
      IsPrivateDirectory(info) && ::access(xdgRuntimeDir, W_OK | X_OK) == 0) {
    return xdgRuntimeDir;
  }
  std::string base = tempDir != nullptr && *tempDir != '\0' ? tempDir : "/tmp";
  while (base.size() > 1 && base.back() == '/') {
    base.pop_back();
  }
  const std::string fallback = base + "/zub97-" + std::to_string(::getuid());
  if (::mkdir(fallback.c_str(), 0700) == 0) {
    // Made here: the bits a umask took away are given back.
    const UniqueFd made(::open(fallback.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (made.Valid()) {
      ::fchmod(made.Get(), 0700);
    }
  }
  // One made first by someone else, or a link they left, would let them
  // hold this user's marker: then the program runs without one.
  const std::string why = NotPrivate(fallback);
  if (!why.empty()) {
    if (problem != nullptr) {
      *problem = fallback + " " + why;
    }
    return {};
  }
  return fallback;
}

std::string LocalSocketMarker::DefaultDirectory(std::string* problem) {
  return DirectoryFor(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"), problem);
}

bool LocalSocketMarker::Find(const std::string& name) {
  if (directory_.empty()) {
    return false;
  }
  const UniqueFd probe(::open(LockPath(name).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!probe.Valid()) {
    return false;  // never taken since the runtime directory was made
  }
  // A shared lock: copies looking at the same moment do not see each other
  // as holders; only a copy that has taken the marker blocks it.
  if (::flock(probe.Get(), LOCK_SH | LOCK_NB) == 0) {
    return false;  // closing the descriptor lets the probe go
  }
  return errno == EWOULDBLOCK;
}

void LocalSocketMarker::AskToRaise(const std::string& name, const std::string& title) {
  const auto address = AddressOf(SocketPath(name));
  if (directory_.empty() || !address) {
    return;
  }
  // The holder may have taken the lock a moment ago and not be listening yet.
  const auto deadline = Clock::now() + kWait;
  for (;;) {
    const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
      return;
    }
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0) {
      const std::string request = title + "\n";
      [[maybe_unused]] const auto sent =
          ::send(fd.Get(), request.data(), request.size(), MSG_NOSIGNAL);
      return;
    }
    if ((errno != ENOENT && errno != ECONNREFUSED && errno != EINTR) || Clock::now() >= deadline) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool LocalSocketMarker::Add(const std::string& name) {
  if (lock_.Valid()) {
    return name == heldName_;
  }
  if (directory_.empty()) {
    return true;  // no safe place: no marker, this copy runs
  }
  UniqueFd lock(::open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!lock.Valid()) {
    return true;  // a marker that cannot be made must not keep the user out
  }
  // The lock file is never removed: a copy that opened it just before the
  // removal would lock a file no later copy sees, and two would run.
  if (::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
    return errno != EWOULDBLOCK;
  }
  lock_ = std::move(lock);
  heldName_ = name;

  // Only the lock holder touches the socket, so a file found here was left
  // by a copy that died and removing it cannot take a live copy's socket.
  const std::string path = SocketPath(name);
  ::unlink(path.c_str());
  const auto address = AddressOf(path);
  UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (address && listener.Valid() &&
      ::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0 &&
      ::listen(listener.Get(), 8) == 0) {
    listener_ = std::move(listener);
  }
  // Without a socket (a runtime path too long for one) the copy still holds
  // the marker; a second copy then only cannot raise it.
  return true;
}

void LocalSocketMarker::Remove(const std::string& name) {
  if (!lock_.Valid() || name != heldName_) {
    return;
  }
  if (listener_.Valid()) {
    ::unlink(SocketPath(name).c_str());
    listener_.Close();
  }
  lock_.Close();  // last, so no copy can listen before the socket is gone
  heldName_.clear();
}

void LocalSocketMarker::OnRaiseRequest(std::function<void(const std::string&)> handler) {
  handler_ = std::move(handler);
}

void LocalSocketMarker::DeliverRequests() {
  if (!listener_.Valid()) {
    return;
  }
  for (;;) {
    const UniqueFd peer(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!peer.Valid()) {
      if (errno == EINTR || errno == ECONNABORTED) {
        continue;
      }
      return;  // EAGAIN: none left
    }
    const auto title = ReadRequest(peer.Get());
    if (title && handler_) {
      handler_(*title);
    }
  }
}

}  // namespace zub
