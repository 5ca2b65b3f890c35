// The xcb window source against a real X server that the test starts (Xvfb,
// and openbox for a window manager's stacking list), with windows of known
// titles that the test makes itself.
#include "platform/linux/XcbWindowSource.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "inspect/WindowsListUnit.h"

namespace zub {
namespace {

bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Polls `done` until it holds or ten seconds have passed: X servers and
// window managers answer in their own time.
bool WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    const timespec pause{0, 10'000'000};
    ::nanosleep(&pause, nullptr);
  }
  return true;
}

// A child process, ended with SIGTERM (or the given signal) and reaped.
struct Child {
  pid_t pid = -1;
  Child() = default;
  explicit Child(pid_t p) : pid(p) {}
  Child(Child&& other) noexcept : pid(std::exchange(other.pid, -1)) {}
  Child& operator=(Child&& other) noexcept {
    Stop();
    pid = std::exchange(other.pid, -1);
    return *this;
  }
  ~Child() { Stop(); }
  void Stop(int signal = SIGTERM) {
    if (pid > 0) {
      ::kill(pid, signal);
      ::kill(pid, SIGCONT);  // a stopped process takes its signal only once it runs
      ::waitpid(std::exchange(pid, -1), nullptr, 0);
    }
  }
};

// Xvfb on a display it picks itself (-displayfd), so tests never collide, or
// on the display `display` names.
std::optional<std::pair<Child, std::string>> StartXvfb(const std::string& display = "") {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    return std::nullopt;
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], 3);  // dup2 clears close-on-exec
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, 2);
    if (display.empty()) {
      ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "640x480x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
    } else {
      ::execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", "3", "-screen", "0", "640x480x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
    }
    ::_exit(127);
  }
  ::close(fds[1]);
  Child child(pid);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (::poll(&p, 1, 10000) == 1) {
    char c = 0;
    if (::read(fds[0], &c, 1) != 1 || c == '\n') {
      break;
    }
    number += c;
  }
  ::close(fds[0]);
  if (number.empty()) {
    return std::nullopt;
  }
  return std::make_pair(std::move(child), ":" + number);
}

Child StartOpenbox(const std::string& display) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setenv("DISPLAY", display.c_str(), 1);
    const int devnull = ::open("/dev/null", O_WRONLY);
    ::dup2(devnull, 1);
    ::dup2(devnull, 2);
    ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return Child(pid);
}

struct Disconnect {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};

// The test's own X client: makes windows and reads what the source should find.
class Client {
 public:
  explicit Client(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {
    screen_ = xcb_setup_roots_iterator(xcb_get_setup(c_.get())).data;
    utf8_ = Atom("UTF8_STRING");
    netWmName_ = Atom("_NET_WM_NAME");
  }

  bool Ok() const { return xcb_connection_has_error(c_.get()) == 0; }

  xcb_window_t MakeWindow(std::optional<std::string> netName, std::optional<std::string> wmName,
                          bool map = true) {
    const xcb_window_t w = xcb_generate_id(c_.get());
    xcb_create_window(c_.get(), XCB_COPY_FROM_PARENT, w, screen_->root, 10, 10, 100, 60, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual, 0, nullptr);
    if (netName) {
      xcb_change_property(c_.get(), XCB_PROP_MODE_REPLACE, w, netWmName_, utf8_, 8,
                          static_cast<std::uint32_t>(netName->size()), netName->data());
    }
    if (wmName) {
      xcb_change_property(c_.get(), XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                          static_cast<std::uint32_t>(wmName->size()), wmName->data());
    }
    if (map) {
      xcb_map_window(c_.get(), w);
    }
    Sync();
    return w;
  }

  void Raise(xcb_window_t w) {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c_.get(), w, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    Sync();
  }

  void Destroy(xcb_window_t w) {
    xcb_destroy_window(c_.get(), w);
    Sync();
  }

  // Asks the window manager to activate (and so raise) the window.
  void Activate(xcb_window_t w) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = w;
    event.type = Atom("_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 2;  // from a pager: no focus-stealing rules
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c_.get(), 0, screen_->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    Sync();
  }

 private:
  xcb_atom_t Atom(const char* name) {
    const auto cookie =
        xcb_intern_atom(c_.get(), 0, static_cast<std::uint16_t>(strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c_.get(), cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  }
  void Sync() {
    std::free(xcb_get_input_focus_reply(c_.get(), xcb_get_input_focus(c_.get()), nullptr));
  }

  std::unique_ptr<xcb_connection_t, Disconnect> c_;
  xcb_screen_t* screen_ = nullptr;
  xcb_atom_t utf8_ = XCB_ATOM_NONE;
  xcb_atom_t netWmName_ = XCB_ATOM_NONE;
};

// `all` without the windows not in `ours`, order kept.
std::vector<WindowHandle> Only(const std::vector<WindowHandle>& all,
                               const std::vector<xcb_window_t>& ours) {
  std::vector<WindowHandle> kept;
  for (const WindowHandle w : all) {
    if (std::find(ours.begin(), ours.end(), w) != ours.end()) {
      kept.push_back(w);
    }
  }
  return kept;
}

class XcbWindowSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Installed("Xvfb")) {
      GTEST_SKIP() << "Xvfb is not installed (apt install xvfb): the X tests need an X server";
    }
    auto started = StartXvfb();
    ASSERT_TRUE(started) << "Xvfb did not start";
    server_ = std::move(started->first);
    display_ = started->second;
    client_ = std::make_unique<Client>(display_);
    ASSERT_TRUE(client_->Ok()) << "cannot reach " << display_;
  }

  Child server_;
  std::string display_;
  std::unique_ptr<Client> client_;
};

TEST_F(XcbWindowSourceTest, WithoutWindowManagerRootChildrenTopmostFirstWithTheirTitles) {
  const xcb_window_t a = client_->MakeWindow("Net \xE2\x86\x92 name", "Old name");
  const xcb_window_t b = client_->MakeWindow(std::nullopt, "Caf\xE9");  // Latin-1
  const xcb_window_t c = client_->MakeWindow("", "Fallback", false);    // hidden counts too
  const xcb_window_t d = client_->MakeWindow(std::nullopt, std::nullopt);
  const xcb_window_t e = client_->MakeWindow(std::string(100000, 'h'), std::nullopt);
  const std::vector<xcb_window_t> ours{a, b, c, d, e};
  XcbWindowSource source(display_);

  EXPECT_EQ(Only(source.TopLevelWindows(), ours), (std::vector<WindowHandle>{e, d, c, b, a}));
  client_->Raise(a);
  EXPECT_EQ(Only(source.TopLevelWindows(), ours), (std::vector<WindowHandle>{a, e, d, c, b}));

  EXPECT_EQ(source.Title(a), "Net \xE2\x86\x92 name");
  EXPECT_EQ(source.Title(b), "Caf\xC3\xA9");
  EXPECT_EQ(source.Title(c), "Fallback");
  EXPECT_EQ(source.Title(d), "");
  TWindowsList list(source);
  list.AddWindow(e);
  EXPECT_EQ(list.TheWindowsList().at(0).title, std::string(254, 'h'));

  // Gone between the listing and the title: no title, and the connection survives.
  client_->Destroy(b);
  EXPECT_EQ(source.Title(b), "");
  EXPECT_EQ(source.Title(0x7FFFFFFF), "");
  EXPECT_EQ(source.Title(c), "Fallback");
}

TEST_F(XcbWindowSourceTest, ServerThatGoesAwayGivesEmptyAnswersUntilOneIsBack) {
  const xcb_window_t w = client_->MakeWindow("Here", std::nullopt);
  XcbWindowSource source(display_);
  ASSERT_FALSE(source.TopLevelWindows().empty());
  client_.reset();
  server_.Stop(SIGKILL);
  EXPECT_EQ(source.Title(w), "");
  EXPECT_TRUE(source.TopLevelWindows().empty());
  EXPECT_EQ(source.Title(w), "");

  auto again = StartXvfb(display_);
  ASSERT_TRUE(again) << "Xvfb did not start again on " << display_;
  server_ = std::move(again->first);
  client_ = std::make_unique<Client>(display_);
  const xcb_window_t back = client_->MakeWindow("Back again", std::nullopt);
  const auto listed = source.TopLevelWindows();
  EXPECT_NE(std::find(listed.begin(), listed.end(), back), listed.end());
  EXPECT_EQ(source.Title(back), "Back again");
}

TEST_F(XcbWindowSourceTest, AServerThatStopsAnsweringGivesEmptyAnswersUntilItAnswersAgain) {
  using namespace std::chrono_literals;
  const xcb_window_t w = client_->MakeWindow("Frozen", std::nullopt);
  XcbWindowSource source(display_, 200ms);
  ASSERT_FALSE(source.TopLevelWindows().empty());
  ::kill(server_.pid, SIGSTOP);
  // A reply that never comes, then a new connection that is never greeted.
  EXPECT_EQ(source.Title(w), "");
  EXPECT_TRUE(source.TopLevelWindows().empty());
  EXPECT_TRUE(source.TopLevelWindows().empty());
  ::kill(server_.pid, SIGCONT);
  EXPECT_TRUE(WaitUntil([&] {
    const auto listed = source.TopLevelWindows();
    return std::find(listed.begin(), listed.end(), w) != listed.end();
  }));
  EXPECT_EQ(source.Title(w), "Frozen");
}

TEST_F(XcbWindowSourceTest, WindowManagerStackingListTopmostFirst) {
  if (!Installed("openbox")) {
    GTEST_SKIP() << "openbox is not installed (apt install openbox): no stacking list to read";
  }
  Child wm = StartOpenbox(display_);
  XcbWindowSource source(display_);
  // Map the next window only when this one is managed, so the order is known.
  // Only the manager's list holds exactly the test's windows: the root also
  // has the manager's own windows and the frames round the managed ones.
  std::vector<WindowHandle> topFirst;
  for (const char* title : {"First", "Second", "Third"}) {
    topFirst.insert(topFirst.begin(), client_->MakeWindow(title, std::nullopt));
    ASSERT_TRUE(WaitUntil([&] { return source.TopLevelWindows() == topFirst; }))
        << title << " never became the top of the stacking list";
  }
  const std::vector<WindowHandle> ours{topFirst[2], topFirst[1], topFirst[0]};
  EXPECT_EQ(source.Title(ours[2]), "Third");

  // Asked again until it is done: a request that comes while the manager is
  // still settling the last new window may be overtaken by it.
  EXPECT_TRUE(WaitUntil([&] {
    client_->Activate(ours[0]);
    return source.TopLevelWindows() == std::vector<WindowHandle>{ours[0], ours[2], ours[1]};
  })) << ::testing::PrintToString(source.TopLevelWindows());

  // A window manager that died leaves its list behind: it no longer counts.
  wm.Stop(SIGKILL);
  const xcb_window_t late = client_->MakeWindow("After the manager", std::nullopt);
  ASSERT_TRUE(WaitUntil([&] {
    const auto now = source.TopLevelWindows();
    return !now.empty() && now.front() == late;
  }));
  EXPECT_EQ(source.Title(late), "After the manager");
}

TEST(XcbWindowSourceNoDisplayTest, NoDisplayGivesAnEmptyListAndNoError) {
  XcbWindowSource none("");
  EXPECT_TRUE(none.TopLevelWindows().empty());
  EXPECT_EQ(none.Title(1), "");
  XcbWindowSource unreachable(":4097");
  EXPECT_TRUE(unreachable.TopLevelWindows().empty());
  EXPECT_EQ(unreachable.Title(1), "");
  EXPECT_EQ(Latin1ToUtf8("a\xE9\xFF"), "a\xC3\xA9\xC3\xBF");
}

// Takes connections and never says a word, as a dead forwarded display does:
// a listening socket on 127.0.0.1, port 6000 + the display number.
class SilentServer {
 public:
  SilentServer() {
    for (int number = 100; number < 200 && display_.empty(); ++number) {
      fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<std::uint16_t>(6000 + number));
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
          ::listen(fd_, 8) == 0) {
        display_ = "127.0.0.1:" + std::to_string(number);
      } else {
        ::close(fd_);
      }
    }
  }
  ~SilentServer() { ::close(fd_); }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  const std::string& Display() const { return display_; }

 private:
  int fd_ = -1;
  std::string display_;
};

TEST(XcbWindowSourceSilentServerTest, ASilentServerGivesAnEmptyListAfterItsWait) {
  using namespace std::chrono_literals;
  const SilentServer server;
  ASSERT_FALSE(server.Display().empty()) << "no free port for a display";
  XcbWindowSource source(server.Display(), 200ms);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(source.TopLevelWindows().empty());
  EXPECT_EQ(source.Title(1), "");
  EXPECT_TRUE(source.TopLevelWindows().empty());  // the first connect still hangs
  // Generous: the point is that it ends at all.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
}

}  // namespace
}  // namespace zub
