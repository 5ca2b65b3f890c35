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
#include <cstdlib>
#include <optional>
#include <thread>

namespace zub {
namespace {

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

bool IsDirectory(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
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

std::string LocalSocketMarker::DirectoryFor(const char* xdgRuntimeDir, const char* tempDir) {
  if (xdgRuntimeDir != nullptr && *xdgRuntimeDir != '\0' && IsDirectory(xdgRuntimeDir)) {
    return xdgRuntimeDir;
  }
  // No runtime directory: a folder only this user can enter. One that is
  // not ours (made first by someone else) would let them hold our marker,
  // so then the program runs without one.
  std::string base = tempDir != nullptr && *tempDir != '\0' ? tempDir : "/tmp";
  while (base.size() > 1 && base.back() == '/') {
    base.pop_back();
  }
  const std::string fallback = base + "/zub97-" + std::to_string(::getuid());
  ::mkdir(fallback.c_str(), 0700);
  struct stat info {};
  if (::lstat(fallback.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
      info.st_uid != ::getuid() || (info.st_mode & 0077) != 0) {
    return {};
  }
  return fallback;
}

std::string LocalSocketMarker::DefaultDirectory() {
  return DirectoryFor(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"));
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
