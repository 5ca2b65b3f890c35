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

TEST_F(LocalSocketMarkerTest, AFallbackFolderOthersCouldEnterIsNotUsed) {
  const std::string fallback = LocalSocketMarker::DirectoryFor(nullptr, dir.Path().c_str());
  EXPECT_EQ(fallback, dir / ("zub97-" + std::to_string(::getuid())));
  struct stat info {};
  ASSERT_EQ(::stat(fallback.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0077, 0u);
  // A runtime directory that is not there is no runtime directory.
  EXPECT_EQ(LocalSocketMarker::DirectoryFor((dir / "gone").c_str(), dir.Path().c_str()), fallback);

  // Opened up to others (as if someone else had made it first): refused.
  ASSERT_EQ(::chmod(fallback.c_str(), 0703), 0);
  EXPECT_TRUE(LocalSocketMarker::DirectoryFor(nullptr, dir.Path().c_str()).empty());
  LocalSocketMarker marker(LocalSocketMarker::DirectoryFor("", dir.Path().c_str()));
  EXPECT_TRUE(marker.Add(name));  // no marker: this copy runs
  EXPECT_FALSE(marker.Find(name));
}

}  // namespace
}  // namespace zub
