// How long the process tree window takes to show a desktop of 500 processes
// and 50,000 module lines, and to expand all of it. Run on the offscreen
// platform; prints the median of several rounds in milliseconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "fakes/FakeProcessSource.h"
#include "inspect/TFmMemTree.h"

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zub::fakes::FakeProcessSource source;
  for (int p = 0; p < 500; ++p) {
    std::vector<zub::ModuleRecord> modules;
    for (int m = 0; m < 100; ++m) {
      modules.push_back(
          {"/usr/lib/x86_64-linux-gnu/libmodule-number-" + std::to_string(m) + ".so.6.4.2",
           static_cast<std::uint64_t>(4096 * (m + 1)), static_cast<std::uint32_t>(1 + p % 40)});
    }
    source.Add("/usr/bin/program-number-" + std::to_string(p), std::move(modules));
  }

  zub::MonitorSettings settings;
  std::vector<double> shows;
  std::vector<double> expands;
  std::vector<double> collapses;
  std::size_t lines = 0;
  for (int round = 0; round < 7; ++round) {
    zub::TFmMemTree window(settings, source, nullptr);
    QElapsedTimer clock;
    clock.start();
    window.show();  // activation builds the tree
    window.FormActivate();
    window.TreeView1()->repaint();
    QApplication::processEvents();
    shows.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    lines = window.Tree().Size();

    clock.restart();
    window.Button2()->click();
    window.TreeView1()->repaint();
    QApplication::processEvents();
    expands.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);

    clock.restart();
    window.Button2()->click();
    window.TreeView1()->repaint();
    QApplication::processEvents();
    collapses.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  std::printf("lines %zu\nshow and build: %.1f ms\nexpand all: %.1f ms\ncollapse all: %.1f ms\n",
              lines, Median(shows), Median(expands), Median(collapses));
  return 0;
}
