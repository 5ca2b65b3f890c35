// Two real processes run the single-copy guard at the same moment, each held
// between its look-up and taking the marker until both have looked, so the
// window between the two steps is hit every time.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "app/OnlyOne.h"
#include "platform/linux/LocalSocketMarker.h"
#include "support/TempDir.h"

namespace zub {
namespace {

// The real marker, with a pause after the look-up: it reports what it found
// on `report` and goes on when a byte arrives on `go`.
class PausingMarker : public InstanceMarker {
 public:
  PausingMarker(InstanceMarker& inner, int report, int go)
      : inner_(inner), report_(report), go_(go) {}

  bool Find(const std::string& name) override {
    const bool found = inner_.Find(name);
    const char said = found ? 'y' : 'n';
    char go = 0;
    if (::write(report_, &said, 1) != 1 || ::read(go_, &go, 1) != 1) {
      ::_exit(2);
    }
    return found;
  }
  void AskToRaise(const std::string& name, const std::string& title) override {
    inner_.AskToRaise(name, title);
  }
  bool Add(const std::string& name) override { return inner_.Add(name); }
  void Remove(const std::string& name) override { inner_.Remove(name); }
  void OnRaiseRequest(std::function<void(const std::string&)> handler) override {
    inner_.OnRaiseRequest(std::move(handler));
  }

 private:
  InstanceMarker& inner_;
  int report_;
  int go_;
};

struct Copy {
  pid_t pid = -1;
  int report = -1;  // from the copy: what it found, then 'H' (holds) or 'T' (ends)
  int go = -1;      // to the copy: a byte to go on; closing it ends the copy
};

// `others`: copies started before, whose pipe ends this one must not keep open.
Copy StartCopy(const std::string& directory, const std::vector<Copy>& others) {
  int report[2];
  int go[2];
  if (::pipe(report) != 0 || ::pipe(go) != 0) {
    return {};
  }
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    ::close(go[1]);
    for (const Copy& other : others) {
      ::close(other.report);
      ::close(other.go);
    }
    LocalSocketMarker real(directory);
    PausingMarker marker(real, report[1], go[0]);
    Application application;
    application.SetTitle(kStartupTitle);
    {
      const TOnlyOne guard(application, marker);
      const char result = application.Terminated() ? 'T' : 'H';
      char end = 0;
      if (::write(report[1], &result, 1) != 1 || ::read(go[0], &end, 1) < 0) {
        ::_exit(2);
      }
    }
    ::_exit(0);
  }
  ::close(report[1]);
  ::close(go[0]);
  return {pid, report[0], go[1]};
}

char ReadByte(int fd) {
  char c = 0;
  return ::read(fd, &c, 1) == 1 ? c : '?';
}

void LeaveDeadSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

void RaceTwoCopies(bool deadSocketFirst) {
  constexpr int kRounds = 10;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    const test_support::TempDir dir;
    const std::string name = "OnlyOneZub 97 for Windows 9";
    if (deadSocketFirst) {
      LeaveDeadSocket(dir / name);
    }
    std::vector<Copy> copies;
    copies.push_back(StartCopy(dir.Path(), copies));
    copies.push_back(StartCopy(dir.Path(), copies));
    for (const Copy& copy : copies) {
      ASSERT_GT(copy.pid, 0);
      EXPECT_EQ(ReadByte(copy.report), 'n');  // neither has taken the marker yet
    }
    for (const Copy& copy : copies) {
      ASSERT_EQ(::write(copy.go, "g", 1), 1);
    }
    int holding = 0;
    int ending = 0;
    for (const Copy& copy : copies) {
      const char result = ReadByte(copy.report);
      holding += result == 'H';
      ending += result == 'T';
    }
    EXPECT_EQ(holding, 1);
    EXPECT_EQ(ending, 1);
    EXPECT_TRUE(LocalSocketMarker(dir.Path()).Find(name));

    for (Copy& copy : copies) {
      ::close(copy.go);
      int status = 0;
      EXPECT_EQ(::waitpid(copy.pid, &status, 0), copy.pid);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
      ::close(copy.report);
    }
    EXPECT_FALSE(LocalSocketMarker(dir.Path()).Find(name));
  }
}

TEST(OnlyOneRaceTest, TwoCopiesLookingAtOnceLeaveExactlyOne) {
  RaceTwoCopies(false);
}

TEST(OnlyOneRaceTest, TwoCopiesLookingAtOnceOverADeadCopysSocketLeaveExactlyOne) {
  RaceTwoCopies(true);
}

}  // namespace
}  // namespace zub
