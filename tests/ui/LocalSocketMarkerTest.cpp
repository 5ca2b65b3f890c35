#include "ui/LocalSocketMarker.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>

namespace zub {
namespace {

// Runs the event loop until `done` holds or five seconds pass.
template <typename Predicate>
bool SpinUntil(Predicate done) {
  QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

class LocalSocketMarkerTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  const std::string name = "OnlyOneZub 97 for Windows";
};

TEST_F(LocalSocketMarkerTest, ASecondCopyFindsTheFirstAndItsRequestArrives) {
  LocalSocketMarker first(dir.path());
  LocalSocketMarker second(dir.path());
  EXPECT_FALSE(second.Find(name));
  first.Add(name);
  EXPECT_TRUE(second.Find(name));

  std::vector<std::string> requests;
  first.OnRaiseRequest([&](const std::string& title) { requests.push_back(title); });
  second.AskToRaise(name, "Zub 97 for Windows 95");
  ASSERT_TRUE(SpinUntil([&] { return !requests.empty(); }));
  EXPECT_EQ(requests[0], "Zub 97 for Windows 95");

  // The second copy's Add and Remove leave the first copy's marker alone.
  second.Add(name);
  second.Remove(name);
  EXPECT_TRUE(second.Find(name));
  first.Remove(name);
  EXPECT_FALSE(second.Find(name));
}

TEST_F(LocalSocketMarkerTest, ASocketLeftByACrashedCopyIsReplaced) {
  const std::string path = (dir.path() + "/").toStdString() + name;
  {
    // Bind and drop the socket without removing its file, as a killed copy does.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    listen(fd, 1);
    close(fd);
  }
  LocalSocketMarker restarted(dir.path());
  EXPECT_FALSE(restarted.Find(name));
  restarted.Add(name);
  LocalSocketMarker later(dir.path());
  EXPECT_TRUE(later.Find(name));
}

TEST_F(LocalSocketMarkerTest, TheMarkerDiesWithItsOwner) {
  {
    LocalSocketMarker first(dir.path());
    first.Add(name);
  }
  LocalSocketMarker next(dir.path());
  EXPECT_FALSE(next.Find(name));
  EXPECT_FALSE(QFile::exists(dir.path() + "/" + QString::fromStdString(name)));
}

TEST_F(LocalSocketMarkerTest, AFallbackFolderOthersCouldEnterIsNotUsed) {
  const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
  const QByteArray savedTmp = qgetenv("TMPDIR");
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", dir.path().toLocal8Bit());

  const QString fallback = LocalSocketMarker::DefaultDirectory();
  EXPECT_EQ(fallback, dir.path() + QStringLiteral("/zub97-%1").arg(getuid()));
  EXPECT_EQ(QFile::permissions(fallback) & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther |
                                            QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup),
            QFile::Permissions());

  // Opened up to others (as if someone else had made it first): refused.
  QFile::setPermissions(fallback,
                        QFile::permissions(fallback) | QFile::WriteOther | QFile::ExeOther);
  EXPECT_TRUE(LocalSocketMarker::DefaultDirectory().isEmpty());
  LocalSocketMarker marker(LocalSocketMarker::DefaultDirectory());
  marker.Add(name);
  EXPECT_FALSE(marker.Find(name));

  qputenv("XDG_RUNTIME_DIR", savedRuntime);
  if (savedTmp.isNull()) {
    qunsetenv("TMPDIR");
  } else {
    qputenv("TMPDIR", savedTmp);
  }
}

}  // namespace
}  // namespace zub
