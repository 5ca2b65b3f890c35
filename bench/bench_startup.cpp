// Start-up time of the GUI program: from its exec to its main window on
// screen (viewable), as the median of several runs. Without $DISPLAY it runs
// its own Xvfb and openbox, as the measurements in the README were taken.
//
//   bench_startup [PROGRAM [RUNS]]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kTitle = "Zub 97 v";

struct XcbDeleter {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, XcbDeleter>;

// A child process that ends with this object.
class Child {
 public:
  Child() = default;
  explicit Child(const std::vector<std::string>& argv, bool quiet = false) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
      args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
      posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
      posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  Child(Child&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
  Child& operator=(Child&& other) noexcept {
    std::swap(pid_, other.pid_);
    return *this;
  }
  ~Child() { Stop(); }

  bool Running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }
  // SIGTERM, then SIGKILL after five seconds.
  void Stop() {
    if (pid_ <= 0) {
      return;
    }
    ::kill(pid_, SIGTERM);
    const auto until = Clock::now() + 5s;
    while (::waitpid(pid_, nullptr, WNOHANG) == 0) {
      if (Clock::now() > until) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        break;
      }
      std::this_thread::sleep_for(5ms);
    }
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
      xcb_intern_atom_reply(
          c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
  const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 256), nullptr),
      &std::free);
  if (!reply) {
    return {};
  }
  const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
  return std::string(data, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<xcb_window_t> Clients(xcb_connection_t* c, xcb_window_t root, xcb_atom_t list) {
  const std::string value = Property(c, root, list, XCB_ATOM_WINDOW);
  std::vector<xcb_window_t> windows(value.size() / sizeof(xcb_window_t));
  std::memcpy(windows.data(), value.data(), windows.size() * sizeof(xcb_window_t));
  return windows;
}

class Screen {
 public:
  explicit Screen(Connection connection) : c_(std::move(connection)) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_.get())).data->root;
    clientList_ = Atom(c_.get(), "_NET_CLIENT_LIST");
    name_ = Atom(c_.get(), "_NET_WM_NAME");
    utf8_ = Atom(c_.get(), "UTF8_STRING");
    wmCheck_ = Atom(c_.get(), "_NET_SUPPORTING_WM_CHECK");
  }

  bool HasWindowManager() { return !Property(c_.get(), root_, wmCheck_, XCB_ATOM_WINDOW).empty(); }

  // A viewable window whose title starts with `title`.
  bool Shows(const char* title) {
    for (const xcb_window_t window : Clients(c_.get(), root_, clientList_)) {
      std::string text = Property(c_.get(), window, name_, utf8_);
      if (text.empty()) {
        text = Property(c_.get(), window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
      }
      if (!text.starts_with(title)) {
        continue;
      }
      const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
          xcb_get_window_attributes_reply(c_.get(), xcb_get_window_attributes(c_.get(), window),
                                          nullptr),
          &std::free);
      if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
        return true;
      }
    }
    return false;
  }

 private:
  Connection c_;
  xcb_window_t root_ = 0;
  xcb_atom_t clientList_ = 0;
  xcb_atom_t name_ = 0;
  xcb_atom_t utf8_ = 0;
  xcb_atom_t wmCheck_ = 0;
};

std::optional<Screen> Connect(const std::string& display, std::chrono::milliseconds patience) {
  const auto until = Clock::now() + patience;
  do {
    Connection c(xcb_connect(display.c_str(), nullptr));
    if (!xcb_connection_has_error(c.get())) {
      return Screen(std::move(c));
    }
    std::this_thread::sleep_for(20ms);
  } while (Clock::now() < until);
  return std::nullopt;
}

// A display of our own: Xvfb on the first free number from 170, and openbox.
struct OwnDisplay {
  Child server;
  Child windowManager;
  std::string name;
};

std::optional<OwnDisplay> StartDisplay() {
  OwnDisplay own;
  for (int n = 170; n < 250; ++n) {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
    if (::access(socket.c_str(), F_OK) == 0 || ::access(lock.c_str(), F_OK) == 0) {
      continue;
    }
    own.name = ":" + std::to_string(n);
    own.server =
        Child({"Xvfb", own.name, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, true);
    if (Connect(own.name, 5s)) {
      break;
    }
    own.server.Stop();
    own.name.clear();
  }
  if (own.name.empty()) {
    return std::nullopt;
  }
  ::setenv("DISPLAY", own.name.c_str(), 1);
  own.windowManager = Child({"openbox"}, true);
  std::optional<Screen> screen = Connect(own.name, 5s);
  const auto until = Clock::now() + 5s;
  while (screen && !screen->HasWindowManager() && Clock::now() < until) {
    std::this_thread::sleep_for(20ms);
  }
  return own;
}

std::string DefaultProgram() {
#ifdef ZUB97_PROGRAM
  return ZUB97_PROGRAM;
#else
  return "zub97";
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const std::string program = argc > 1 ? argv[1] : DefaultProgram();
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;

  std::optional<OwnDisplay> own;
  if (std::getenv("DISPLAY") == nullptr || *std::getenv("DISPLAY") == '\0') {
    own = StartDisplay();
    if (!own) {
      std::printf("bench_startup: no display and no Xvfb to start one; skipped\n");
      return 0;
    }
  }
  std::optional<Screen> screen = Connect(std::getenv("DISPLAY"), 2s);
  if (!screen) {
    std::fprintf(stderr, "bench_startup: cannot connect to %s\n", std::getenv("DISPLAY"));
    return 1;
  }

  // A fresh home for the runs, so the user's own settings are never touched.
  std::string home = (std::filesystem::temp_directory_path() / "zub-startup-XXXXXX").string();
  if (::mkdtemp(home.data()) == nullptr) {
    std::perror("bench_startup: mkdtemp");
    return 1;
  }
  const std::string runtime = home + "/run";
  ::mkdir(runtime.c_str(), 0700);
  ::setenv("HOME", home.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

  std::vector<double> times;
  int status = 0;
  // The first run warms the caches and writes the settings file; it is not counted.
  for (int run = 0; run <= runs; ++run) {
    const auto start = Clock::now();
    Child zub({program});
    bool shown = false;
    while (Clock::now() - start < 30s && zub.Running()) {
      if (screen->Shows(kTitle)) {
        shown = true;
        break;
      }
      std::this_thread::sleep_for(1ms);
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    zub.Stop();
    if (!shown) {
      std::fprintf(stderr, "bench_startup: %s showed no main window\n", program.c_str());
      status = 1;
      break;
    }
    if (run > 0) {
      times.push_back(ms);
      std::printf("run %d: %.0f ms\n", run, ms);
    }
  }
  std::filesystem::remove_all(home);
  if (times.empty()) {
    return status;
  }
  std::sort(times.begin(), times.end());
  std::printf("main window on screen: median %.0f ms of %zu runs (min %.0f, max %.0f)\n",
              times[times.size() / 2], times.size(), times.front(), times.back());
  return status;
}
