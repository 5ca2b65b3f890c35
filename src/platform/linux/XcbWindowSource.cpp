#include "platform/linux/XcbWindowSource.h"

#include <poll.h>
#include <pthread.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "platform/linux/PosixFile.h"

namespace zub {
namespace {

using Clock = std::chrono::steady_clock;
using linux_platform::MillisecondsLeft;

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

struct Disconnect {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};

// libxcb writes with writev(2): a server that goes away between its poll and
// its write raises SIGPIPE, which would end the whole program. Block it on
// this thread while talking to the server and swallow any that came meanwhile.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;
  ~SigpipeGuard() {
    sigset_t pending;
    sigpending(&pending);
    if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
      const timespec zero{0, 0};
      sigtimedwait(&pipe_, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }

 private:
  sigset_t pipe_{};
  sigset_t old_{};
  bool wasPending_ = false;
};

// Requests and their replies under one deadline. xcb waits for a reply
// without a limit, and a server that accepts requests but never answers
// would hold the caller for good: replies are polled for instead, and one
// that has not come by the deadline makes the exchange late.
class Exchange {
 public:
  Exchange(xcb_connection_t* c, Clock::time_point deadline) : c_(c), deadline_(deadline) {}

  xcb_connection_t* Get() const { return c_; }
  bool Late() const { return late_; }

  // Null for an error reply, a broken connection or a late server.
  template <typename T>
  Reply<T> Await(unsigned int sequence) {
    if (late_ || xcb_flush(c_) <= 0) {
      return nullptr;
    }
    for (;;) {
      void* reply = nullptr;
      xcb_generic_error_t* error = nullptr;
      if (xcb_poll_for_reply(c_, sequence, &reply, &error) != 0) {
        std::free(error);
        return Reply<T>(static_cast<T*>(reply));
      }
      const int left = MillisecondsLeft(deadline_);
      if (left == 0) {
        late_ = true;
        return nullptr;
      }
      pollfd readable{xcb_get_file_descriptor(c_), POLLIN, 0};
      ::poll(&readable, 1, left);  // whatever it says, the reply is looked for again
    }
  }

 private:
  xcb_connection_t* c_;
  Clock::time_point deadline_;
  bool late_ = false;
};

struct Property {
  xcb_atom_t type = XCB_ATOM_NONE;
  std::uint8_t format = 0;
  std::string bytes;
};

// Nothing when the window is gone or the property is not set. `maxBytes`
// bounds what is fetched: a title far longer than the list keeps is not
// worth carrying over the wire.
std::optional<Property> GetProperty(Exchange& exchange, xcb_window_t window, xcb_atom_t atom,
                                    std::uint32_t maxBytes) {
  const auto cookie = xcb_get_property(exchange.Get(), 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY,
                                       0, (maxBytes + 3) / 4);
  const auto reply = exchange.Await<xcb_get_property_reply_t>(cookie.sequence);
  if (!reply || reply->type == XCB_ATOM_NONE) {
    return std::nullopt;
  }
  const auto* value = static_cast<const char*>(xcb_get_property_value(reply.get()));
  const int length = xcb_get_property_value_length(reply.get());
  return Property{reply->type, reply->format, std::string(value, value + std::max(length, 0))};
}

std::vector<xcb_window_t> WindowList(const Property& p) {
  std::vector<xcb_window_t> windows;
  if (p.type != XCB_ATOM_WINDOW || p.format != 32) {
    return windows;
  }
  windows.resize(p.bytes.size() / sizeof(xcb_window_t));
  std::copy_n(p.bytes.data(), windows.size() * sizeof(xcb_window_t),
              reinterpret_cast<char*>(windows.data()));
  return windows;
}

xcb_atom_t Intern(xcb_connection_t* c, std::string_view name) {
  const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data());
  Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// 254 characters of up to four bytes each, and room for the cut to land in.
constexpr std::uint32_t kTitleBytes = 1024;
// A stacking list of a million windows is already absurd.
constexpr std::uint32_t kListBytes = 4u << 20;

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

struct XcbWindowSource::Connection {
  std::unique_ptr<xcb_connection_t, Disconnect> c;
  xcb_window_t root = XCB_WINDOW_NONE;
  xcb_atom_t clientListStacking = XCB_ATOM_NONE;
  xcb_atom_t supportingWmCheck = XCB_ATOM_NONE;
  xcb_atom_t netWmName = XCB_ATOM_NONE;
  xcb_atom_t utf8String = XCB_ATOM_NONE;

  // Blocks until the server has answered (or failed): run on a worker only.
  static std::unique_ptr<Connection> Open(const std::string& displayName) {
    int screenNumber = 0;
    auto conn = std::make_unique<Connection>();
    conn->c.reset(xcb_connect(displayName.c_str(), &screenNumber));
    if (!conn->c || xcb_connection_has_error(conn->c.get())) {
      return nullptr;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(conn->c.get()));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
      xcb_screen_next(&screens);
    }
    if (screens.rem <= 0) {
      return nullptr;
    }
    conn->root = screens.data->root;
    xcb_connection_t* c = conn->c.get();
    conn->clientListStacking = Intern(c, "_NET_CLIENT_LIST_STACKING");
    conn->supportingWmCheck = Intern(c, "_NET_SUPPORTING_WM_CHECK");
    conn->netWmName = Intern(c, "_NET_WM_NAME");
    conn->utf8String = Intern(c, "UTF8_STRING");
    if (xcb_connection_has_error(c)) {
      return nullptr;
    }
    return conn;
  }

  // A window manager that keeps the EWMH lists has its check window, and that
  // window names itself; a property left behind by one that died does not.
  bool WindowManagerPresent(Exchange& exchange) const {
    const auto check = GetProperty(exchange, root, supportingWmCheck, 4);
    const auto wm = check ? WindowList(*check) : std::vector<xcb_window_t>{};
    if (wm.size() != 1) {
      return false;
    }
    const auto self = GetProperty(exchange, wm[0], supportingWmCheck, 4);
    const auto named = self ? WindowList(*self) : std::vector<xcb_window_t>{};
    return named.size() == 1 && named[0] == wm[0];
  }
};

// The worker shares only this with the source, so it may outlive it.
struct XcbWindowSource::Attempt {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::unique_ptr<Connection> connection;
};

XcbWindowSource::XcbWindowSource(std::string displayName, std::chrono::milliseconds wait)
    : displayName_(std::move(displayName)), wait_(wait) {}

XcbWindowSource::~XcbWindowSource() = default;

XcbWindowSource::Connection* XcbWindowSource::Connect(Clock::time_point deadline) {
  DropIfBroken();
  if (connection_ || displayName_.empty()) {
    return connection_.get();
  }
  if (attempt_) {
    // Still hanging from an earlier call: a second one would only hang beside it.
    deadline = Clock::now();
  } else {
    auto attempt = std::make_shared<Attempt>();
    try {
      std::thread([attempt, name = displayName_] {
        // Signals meant for the program go to its other threads.
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, nullptr);
        auto connection = Connection::Open(name);
        const std::lock_guard lock(attempt->mutex);
        attempt->connection = std::move(connection);
        attempt->done = true;
        attempt->finished.notify_all();
      }).detach();
    } catch (const std::system_error&) {
      return nullptr;
    }
    attempt_ = std::move(attempt);
  }
  std::unique_lock lock(attempt_->mutex);
  if (!attempt_->finished.wait_until(lock, deadline, [this] { return attempt_->done; })) {
    return nullptr;
  }
  connection_ = std::move(attempt_->connection);
  lock.unlock();
  attempt_.reset();
  return connection_.get();
}

void XcbWindowSource::DropIfBroken() {
  if (connection_ && xcb_connection_has_error(connection_->c.get())) {
    connection_.reset();
  }
}

std::vector<WindowHandle> XcbWindowSource::TopLevelWindows() {
  const SigpipeGuard guard;
  // One deadline for the connect and the list, so a server that greets late
  // and then stalls still holds the caller for one wait only.
  const Clock::time_point deadline = Clock::now() + wait_;
  Connection* conn = Connect(deadline);
  if (conn == nullptr) {
    return {};
  }
  Exchange exchange(conn->c.get(), deadline);
  std::vector<xcb_window_t> windows;
  bool fromManager = false;
  if (conn->WindowManagerPresent(exchange)) {
    if (const auto list = GetProperty(exchange, conn->root, conn->clientListStacking, kListBytes)) {
      windows = WindowList(*list);  // bottom to top
      fromManager = true;
    }
  }
  if (!fromManager) {
    const auto cookie = xcb_query_tree(exchange.Get(), conn->root);
    if (const auto tree = exchange.Await<xcb_query_tree_reply_t>(cookie.sequence)) {
      const xcb_window_t* children = xcb_query_tree_children(tree.get());
      windows.assign(children, children + xcb_query_tree_children_length(tree.get()));
    }
  }
  if (exchange.Late()) {
    connection_.reset();  // a server that stopped answering counts as gone
  }
  DropIfBroken();
  if (!connection_) {
    return {};
  }
  return {windows.rbegin(), windows.rend()};
}

std::string XcbWindowSource::Title(WindowHandle window) {
  const SigpipeGuard guard;
  if (!connection_ || window == XCB_WINDOW_NONE) {
    return {};
  }
  // A title belongs to the connection that listed the window: no reconnect here.
  const Connection& conn = *connection_;
  Exchange exchange(conn.c.get(), Clock::now() + wait_);
  std::string title;
  const auto netName = GetProperty(exchange, window, conn.netWmName, kTitleBytes);
  if (netName && netName->format == 8 && !netName->bytes.empty()) {
    title = netName->bytes;
  } else if (const auto name = GetProperty(exchange, window, XCB_ATOM_WM_NAME, kTitleBytes);
             name && name->format == 8) {
    // STRING is Latin-1 by definition; COMPOUND_TEXT starts out in Latin-1 too.
    title = name->type == conn.utf8String ? name->bytes : Latin1ToUtf8(name->bytes);
  }
  if (exchange.Late()) {
    connection_.reset();
    return {};
  }
  DropIfBroken();
  return title;
}

}  // namespace zub
