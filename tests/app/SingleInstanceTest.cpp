// Two real copies of the program on one desktop: the second ends at once,
// also after the first was killed and left its marker behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(20);  // a loaded CI machine
const char* const kMarker = "OnlyOneZub 97 for Windows 9";

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zub97-single-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "runtime");
    fs::permissions(root_ / "runtime", fs::perms::owner_all);
  }

  void TearDown() override {
    for (const pid_t pid : started_) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    fs::remove_all(root_);
  }

  // `errors`: where the copy's standard error goes (inherited when empty).
  pid_t Start(const fs::path& configHome = {}, const fs::path& errors = {}) {
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
      setenv("XDG_CONFIG_HOME", (configHome.empty() ? root_ / "config" : configHome).c_str(), 1);
      setenv("HOME", root_.c_str(), 1);
      if (!errors.empty()) {
        const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
      }
      execl(ZUB97_BINARY, ZUB97_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
    started_.push_back(pid);
    return pid;
  }

  fs::path MarkerPath() const { return root_ / "runtime" / kMarker; }

  // True once a copy answers on the marker.
  bool WaitForListener() const {
    const auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
      if (Answers()) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  bool Answers() const {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = MarkerPath().string();
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
  }

  // The exit status, or nothing if the process is still running at the deadline.
  static std::optional<int> WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    // Looks at least once, so a zero limit asks "has it ended by now?".
    const auto deadline = Clock::now() + limit;
    for (;;) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      if (Clock::now() >= deadline) {
        return std::nullopt;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  void ExpectSecondCopyEnds() {
    const pid_t second = Start();
    const auto exit = WaitForExit(second, kPatience);
    ASSERT_TRUE(exit.has_value()) << "the second copy kept running";
    EXPECT_EQ(*exit, 0);
    started_.pop_back();
  }

  fs::path root_;
  std::vector<pid_t> started_;
};

TEST_F(SingleInstanceTest, ASecondCopyEndsWhileTheFirstRuns) {
  const pid_t first = Start();
  ASSERT_TRUE(WaitForListener());
  ExpectSecondCopyEnds();
  EXPECT_FALSE(WaitForExit(first, std::chrono::milliseconds(0)).has_value())
      << "the first copy ended too";
  EXPECT_TRUE(Answers());
}

TEST_F(SingleInstanceTest, AKilledFirstCopyDoesNotLockTheUserOut) {
  const pid_t first = Start();
  ASSERT_TRUE(WaitForListener());
  kill(first, SIGKILL);
  ASSERT_TRUE(WaitForExit(first, kPatience).has_value());
  started_.clear();
  EXPECT_TRUE(fs::exists(fs::symlink_status(MarkerPath())));  // left behind
  EXPECT_FALSE(Answers());

  const pid_t restarted = Start();
  ASSERT_TRUE(WaitForListener()) << "the restarted copy did not take over the marker";
  EXPECT_FALSE(WaitForExit(restarted, std::chrono::milliseconds(0)).has_value());
  ExpectSecondCopyEnds();
}

TEST_F(SingleInstanceTest, ALogoutClosesTheWindowSavingTheSettingsAndTheMarker) {
  const pid_t first = Start();
  ASSERT_TRUE(WaitForListener());
  kill(first, SIGTERM);
  const auto exit = WaitForExit(first, kPatience);
  started_.clear();
  ASSERT_TRUE(exit.has_value());
  EXPECT_EQ(*exit, 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(MarkerPath())));
  // Closing saved the settings: the next run reads them from here.
  std::ifstream saved(root_ / "config" / "zub97" / "registry.ini");
  const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[Zub95/Settings]"), std::string::npos) << text;
  EXPECT_NE(text.find("Pie1Color=255"), std::string::npos) << text;
}

// Two copies started at the same moment, also over a killed copy's socket
// file: one ends, the other keeps the marker.
TEST_F(SingleInstanceTest, CopiesStartedTogetherLeaveExactlyOne) {
  for (const bool deadSocket : {false, true, false, true}) {
    SCOPED_TRACE(deadSocket ? "over a dead socket" : "fresh");
    fs::remove(MarkerPath());  // the survivor of the round before was killed
    if (deadSocket) {
      const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      MarkerPath().string().copy(address.sun_path, sizeof address.sun_path - 1);
      ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
      close(fd);
    }
    const pid_t a = Start();
    const pid_t b = Start();
    std::optional<pid_t> ended;
    const auto deadline = Clock::now() + kPatience;
    while (!ended && Clock::now() < deadline) {
      for (const pid_t pid : {a, b}) {
        if (WaitForExit(pid, std::chrono::milliseconds(0)).has_value()) {
          ended = pid;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(ended.has_value()) << "both copies kept running";
    const pid_t survivor = *ended == a ? b : a;
    ASSERT_TRUE(WaitForListener());
    EXPECT_FALSE(WaitForExit(survivor, std::chrono::milliseconds(0)).has_value())
        << "no copy is left";
    kill(survivor, SIGKILL);
    waitpid(survivor, nullptr, 0);
    started_.clear();
  }
}

// A logout must not hang on a save that fails: the error goes to standard
// error, not into a message box nobody will click.
TEST_F(SingleInstanceTest, ALogoutEndsPromptlyWhenTheSettingsCannotBeSaved) {
  fs::create_directories(root_ / "folder-config" / "zub97" / "registry.ini");
  std::ofstream(root_ / "file-config") << "not a folder\n";
  for (const fs::path& configHome : {root_ / "folder-config", root_ / "file-config"}) {
    SCOPED_TRACE(configHome);
    const fs::path errors = root_ / "errors.txt";
    const pid_t pid = Start(configHome, errors);
    ASSERT_TRUE(WaitForListener());
    kill(pid, SIGTERM);
    // The program gives itself a second; the rest is for a loaded machine.
    const auto exit = WaitForExit(pid, std::chrono::seconds(3));
    started_.clear();
    if (!exit) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    ASSERT_TRUE(exit.has_value()) << "still running 3 s after SIGTERM";
    std::ifstream in(errors);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Failed to create key Zub95"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(fs::symlink_status(MarkerPath())));
  }
  EXPECT_TRUE(fs::is_directory(root_ / "folder-config" / "zub97" / "registry.ini"));
}

}  // namespace
