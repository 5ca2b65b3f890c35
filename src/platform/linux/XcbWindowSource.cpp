#include "platform/linux/XcbWindowSource.h"

#include <pthread.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace zub {
namespace {

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

struct Property {
  xcb_atom_t type = XCB_ATOM_NONE;
  std::uint8_t format = 0;
  std::string bytes;
};

// Nothing when the window is gone or the property is not set. `maxBytes`
// bounds what is fetched: a title far longer than the list keeps is not
// worth carrying over the wire.
std::optional<Property> GetProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t atom,
                                    std::uint32_t maxBytes) {
  const auto cookie =
      xcb_get_property(c, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, (maxBytes + 3) / 4);
  xcb_generic_error_t* error = nullptr;
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, &error));
  std::free(error);
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

  // A window manager that keeps the EWMH lists has its check window, and that
  // window names itself; a property left behind by one that died does not.
  bool WindowManagerPresent() const {
    const auto check = GetProperty(c.get(), root, supportingWmCheck, 4);
    const auto wm = check ? WindowList(*check) : std::vector<xcb_window_t>{};
    if (wm.size() != 1) {
      return false;
    }
    const auto self = GetProperty(c.get(), wm[0], supportingWmCheck, 4);
    const auto named = self ? WindowList(*self) : std::vector<xcb_window_t>{};
    return named.size() == 1 && named[0] == wm[0];
  }
};

XcbWindowSource::XcbWindowSource(std::string displayName) : displayName_(std::move(displayName)) {}

XcbWindowSource::~XcbWindowSource() = default;

XcbWindowSource::Connection* XcbWindowSource::Connect() {
  DropIfBroken();
  if (connection_ || displayName_.empty()) {
    return connection_.get();
  }
  int screenNumber = 0;
  auto conn = std::make_unique<Connection>();
  conn->c.reset(xcb_connect(displayName_.c_str(), &screenNumber));
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
  connection_ = std::move(conn);
  return connection_.get();
}

void XcbWindowSource::DropIfBroken() {
  if (connection_ && xcb_connection_has_error(connection_->c.get())) {
    connection_.reset();
  }
}

std::vector<WindowHandle> XcbWindowSource::TopLevelWindows() {
  const SigpipeGuard guard;
  Connection* conn = Connect();
  if (conn == nullptr) {
    return {};
  }
  xcb_connection_t* c = conn->c.get();
  std::vector<xcb_window_t> windows;
  bool fromManager = false;
  if (conn->WindowManagerPresent()) {
    if (const auto list = GetProperty(c, conn->root, conn->clientListStacking, kListBytes)) {
      windows = WindowList(*list);  // bottom to top
      fromManager = true;
    }
  }
  if (!fromManager) {
    const auto cookie = xcb_query_tree(c, conn->root);
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, cookie, nullptr));
    if (tree) {
      const xcb_window_t* children = xcb_query_tree_children(tree.get());
      windows.assign(children, children + xcb_query_tree_children_length(tree.get()));
    }
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
  Connection& conn = *connection_;
  xcb_connection_t* c = conn.c.get();
  std::string title;
  const auto netName = GetProperty(c, window, conn.netWmName, kTitleBytes);
  if (netName && netName->format == 8 && !netName->bytes.empty()) {
    title = netName->bytes;
  } else if (const auto name = GetProperty(c, window, XCB_ATOM_WM_NAME, kTitleBytes);
             name && name->format == 8) {
    // STRING is Latin-1 by definition; COMPOUND_TEXT starts out in Latin-1 too.
    title = name->type == conn.utf8String ? name->bytes : Latin1ToUtf8(name->bytes);
  }
  DropIfBroken();
  return title;
}

}  // namespace zub
