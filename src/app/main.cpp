// zub97: start-up. Sets the program's identity, creates the main window (whose
// single-copy guard may ask this copy to end) and runs the event loop.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <iostream>
#include <mutex>
#include <stop_token>
#include <thread>

#include "app/Application.h"
#include "app/LinuxServices.h"
#include "app/WindowHub.h"
#include "monitor/TfmZub.h"
#include "platform/linux/LocalSocketMarker.h"
#include "ui/QtPrompts.h"

namespace {

// The manual lies where the program's own folder says, installed or built.
std::string ManualPath() {
  return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/" ZUB97_MANUAL_FROM_BIN "/index.html"))
      .toStdString();
}

// A signal handler may only write to a descriptor; the event loop reads it.
// The pair must be global because a signal handler has no other way in.
int quitPipe[2] = {-1, -1};

void OnQuitSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = write(quitPipe[1], &byte, 1);
}

// A close asked for by a signal ends the process within this time, whatever
// the save does (a dead network home can hold fsync for minutes). The save
// replaces the file atomically, so ending in the middle of it loses nothing.
constexpr auto kSignalCloseLimit = std::chrono::milliseconds(750);

std::jthread Watchdog(std::chrono::milliseconds limit) {
  return std::jthread([limit](const std::stop_token& stop) {
    std::mutex mutex;
    std::condition_variable_any stopped;
    std::unique_lock lock(mutex);
    stopped.wait_for(lock, stop, limit, [] { return false; });
    if (!stop.stop_requested()) {
      constexpr char kText[] = "zub97: the close did not finish in time; ending\n";
      [[maybe_unused]] const auto written = write(STDERR_FILENO, kText, sizeof kText - 1);
      _exit(1);
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zub97"));
  QApplication::setDesktopFileName(QStringLiteral("zub97"));

  // Caught from the start, so a signal that comes while the window is being
  // made still closes it once the event loop runs.
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, quitPipe) == 0) {
    std::signal(SIGTERM, OnQuitSignal);
    std::signal(SIGINT, OnQuitSignal);
    std::signal(SIGHUP, OnQuitSignal);
  }

  zub::Application application;
  application.SetTitle(zub::kStartupTitle);
  application.SetHelpFile(ManualPath());

  zub::LinuxServices platform;
  std::string markerProblem;
  zub::LocalSocketMarker marker(zub::LocalSocketMarker::DefaultDirectory(&markerProblem));
  if (!markerProblem.empty()) {
    std::cerr << "zub97: " << markerProblem
              << ": running without the check for a copy already running\n";
  }
  zub::QtPrompts prompts([&application] { return application.Title(); });

  const zub::MonitorServices services{application,
                                      platform.drives,
                                      platform.disk,
                                      platform.memory,
                                      platform.resources,
                                      platform.settings,
                                      marker,
                                      prompts,
                                      {}};
  zub::WindowHub hub({platform.drives,
                      platform.disk,
                      prompts,
                      platform.processes,
                      {platform.versionBlocks, platform.elf, platform.packages},
                      QCoreApplication::applicationFilePath().toStdString(),
                      platform.machineSettings,
                      platform.systemFacts,
                      platform.windows,
                      platform.files,
                      platform.trash});
  // Made before the window, so it also covers the window's destruction.
  std::jthread watchdog;
  zub::TfmZub window(services, hub);
  hub.SetMainWindow(&window, &window.Settings(),
                    [&window] { return window.SelectedDriveLetter(); });
  if (application.Terminated()) {
    return 0;  // another copy runs
  }
  prompts.SetParent(&window);

  // A second copy's request to raise the window arrives on the marker's socket.
  std::unique_ptr<QSocketNotifier> raiseNotifier;
  if (marker.RequestDescriptor() >= 0) {
    raiseNotifier =
        std::make_unique<QSocketNotifier>(marker.RequestDescriptor(), QSocketNotifier::Read);
    QObject::connect(raiseNotifier.get(), &QSocketNotifier::activated, &window,
                     [&marker] { marker.DeliverRequests(); });
  }

  // A logout or `kill` closes the window as the user would: the settings are
  // saved and the single-copy marker is given up.
  std::unique_ptr<QSocketNotifier> quitNotifier;
  if (quitPipe[0] >= 0) {
    quitNotifier = std::make_unique<QSocketNotifier>(quitPipe[0], QSocketNotifier::Read);
    QObject::connect(quitNotifier.get(), &QSocketNotifier::activated, &window, [&] {
      char byte = 0;
      [[maybe_unused]] const auto got = read(quitPipe[0], &byte, 1);
      if (!watchdog.joinable()) {
        watchdog = Watchdog(kSignalCloseLimit);
      }
      window.ReportCloseErrorsTo(
          [](const std::string& text) { std::cerr << "zub97: " << text << std::endl; });
      window.close();
      QApplication::quit();
    });
  }

  window.show();
  return QApplication::exec();
}
