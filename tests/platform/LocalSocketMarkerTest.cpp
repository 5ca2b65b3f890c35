#include "platform/linux/LocalSocketMarker.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "support/TempDir.h"

namespace zub {
namespace {

using test_support::TempDir;

// Waits for a request on the marker's socket, as the event loop does, and delivers it.
bool DeliverWithin(LocalSocketMarker& marker, int milliseconds) {
  pollfd waiting{marker.RequestDescriptor(), POLLIN, 0};
  if (::poll(&waiting, 1, milliseconds) != 1) {
    return false;
  }
  marker.DeliverRequests();
  return true;
}

// Binds and drops a socket without removing its file, as a killed copy does.
void LeaveDeadSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::listen(fd, 1);
  ::close(fd);
}

class LocalSocketMarkerTest : public ::testing::Test {
 protected:
  TempDir dir;
  const std::string name = "OnlyOneZub 97 for Windows";
};

TEST_F(LocalSocketMarkerTest, ASecondCopyFindsTheFirstAndItsRequestArrives) {
  LocalSocketMarker first(dir.Path());
  LocalSocketMarker second(dir.Path());
  EXPECT_FALSE(second.Find(name));
  EXPECT_TRUE(first.Add(name));
  EXPECT_TRUE(second.Find(name));

  std::vector<std::string> requests;
  first.OnRaiseRequest([&](const std::string& title) { requests.push_back(title); });
  second.AskToRaise(name, "Zub 97 for Windows 95");
  ASSERT_TRUE(DeliverWithin(first, 5000));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], "Zub 97 for Windows 95");

  // The second copy's Add and Remove leave the first copy's marker alone.
  EXPECT_FALSE(second.Add(name));
  second.Remove(name);
  EXPECT_TRUE(second.Find(name));
  first.Remove(name);
  EXPECT_FALSE(second.Find(name));
}

TEST_F(LocalSocketMarkerTest, ASocketLeftByACrashedCopyIsReplaced) {
  LeaveDeadSocket(dir / name);
  LocalSocketMarker restarted(dir.Path());
  EXPECT_FALSE(restarted.Find(name));
  EXPECT_TRUE(restarted.Add(name));
  LocalSocketMarker later(dir.Path());
  EXPECT_TRUE(later.Find(name));
  std::vector<std::string> requests;
  restarted.OnRaiseRequest([&](const std::string& title) { requests.push_back(title); });
  later.AskToRaise(name, "Zub");
  ASSERT_TRUE(DeliverWithin(restarted, 5000));
  EXPECT_EQ(requests, std::vector<std::string>{"Zub"});
}

TEST_F(LocalSocketMarkerTest, TheMarkerDiesWithItsOwner) {
  {
    LocalSocketMarker first(dir.Path());
    first.Add(name);
  }
  LocalSocketMarker next(dir.Path());
  EXPECT_FALSE(next.Find(name));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir / name)));
}

// A peer that connects and says nothing must not hold up the program, nor
// keep a later request from arriving.
TEST_F(LocalSocketMarkerTest, ASilentPeerDoesNotStopRequests) {
  LocalSocketMarker first(dir.Path());
  ASSERT_TRUE(first.Add(name));
  std::vector<std::string> requests;
  first.OnRaiseRequest([&](const std::string& title) { requests.push_back(title); });

  const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  (dir / name).copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_TRUE(DeliverWithin(first, 5000));
  EXPECT_TRUE(requests.empty());

  LocalSocketMarker second(dir.Path());
  second.AskToRaise(name, "Zub");
  ASSERT_TRUE(DeliverWithin(first, 5000));
  EXPECT_EQ(requests, std::vector<std::string>{"Zub"});
  ::close(silent);
}

TEST_F(LocalSocketMarkerTest, ARuntimeDirectoryNotThisUsersAloneIsPassedOver) {
  const std::string fallback = dir / ("zub97-" + std::to_string(::getuid()));
  const std::string own = dir / "own";
  const std::string open = dir / "open";
  const std::string theirs = dir / "theirs";
  for (const std::string& folder : {own, open, theirs}) {
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  }
  ASSERT_EQ(::chmod(open.c_str(), 0755), 0);
  EXPECT_EQ(LocalSocketMarker::DirectoryFor(own.c_str(), dir.Path().c_str()), own);
  EXPECT_EQ(LocalSocketMarker::DirectoryFor(open.c_str(), dir.Path().c_str()), fallback);
  EXPECT_EQ(LocalSocketMarker::DirectoryFor((dir / "gone").c_str(), dir.Path().c_str()), fallback);
  if (::geteuid() == 0) {  // after su: the first user's runtime directory
    ASSERT_EQ(::chown(theirs.c_str(), 12345, 12345), 0);
    EXPECT_EQ(LocalSocketMarker::DirectoryFor(theirs.c_str(), dir.Path().c_str()), fallback);
  }

  // Both copies passed over it meet in the fallback: the second finds the first.
  LocalSocketMarker first(LocalSocketMarker::DirectoryFor(open.c_str(), dir.Path().c_str()));
  LocalSocketMarker second(LocalSocketMarker::DirectoryFor(open.c_str(), dir.Path().c_str()));
  ASSERT_TRUE(first.Add(name));
  EXPECT_TRUE(second.Find(name));
  EXPECT_FALSE(second.Add(name));
}

TEST_F(LocalSocketMarkerTest, AFallbackThatIsNotThisUsersAloneIsRefusedWithAReason) {
  const std::string fallback = dir / ("zub97-" + std::to_string(::getuid()));
  std::string problem;
  const mode_t umask = ::umask(0277);  // the folder is private whatever the umask
  EXPECT_EQ(LocalSocketMarker::DirectoryFor(nullptr, dir.Path().c_str(), &problem), fallback);
  ::umask(umask);
  EXPECT_EQ(problem, "");
  struct stat info {};
  ASSERT_EQ(::lstat(fallback.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  const auto refusal = [&] {
    problem.clear();
    EXPECT_EQ(LocalSocketMarker::DirectoryFor(nullptr, dir.Path().c_str(), &problem), "");
    return problem;
  };
  ASSERT_EQ(::chmod(fallback.c_str(), 0703), 0);  // as if someone else had made it first
  EXPECT_EQ(refusal(), fallback + " has mode 0703, not 0700");
  if (::geteuid() == 0) {
    ASSERT_EQ(::chmod(fallback.c_str(), 0700), 0);
    ASSERT_EQ(::chown(fallback.c_str(), 12345, 12345), 0);
    EXPECT_EQ(refusal(), fallback + " belongs to another user");
  }
  // A link in its place is never followed, even to a private folder of this user.
  ASSERT_EQ(::rmdir(fallback.c_str()), 0);
  ASSERT_EQ(::mkdir((dir / "private").c_str(), 0700), 0);
  ASSERT_EQ(::symlink((dir / "private").c_str(), fallback.c_str()), 0);
  EXPECT_EQ(refusal(), fallback + " is a symbolic link");

  LocalSocketMarker marker(LocalSocketMarker::DirectoryFor(nullptr, dir.Path().c_str()));
  EXPECT_TRUE(marker.Add(name));  // no marker: this copy runs
  EXPECT_FALSE(marker.Find(name));
}

}  // namespace
}  // namespace zub
