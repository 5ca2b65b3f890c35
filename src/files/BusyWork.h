// Runs a started flow of a file window to its end in a local loop: the
// window keeps painting and its timers run, Escape pressed in it goes to the
// flow, closing it asks the flow to end, and every other input to the window
// waits until the flow is over. Other windows (a message box the flow shows)
// take their input as usual.
#pragma once

#include <chrono>
#include <functional>

class QWidget;

namespace zub {

class Flow;

struct FlowRun {
  bool closed = false;  // the window was asked to close meanwhile
  // The longest the interface thread went without handling its events.
  std::chrono::milliseconds longestGap{0};
};

// `eachTick`, when given, runs on every tick (tests act while a flow runs).
FlowRun RunFlow(QWidget* window, Flow& flow, const std::function<void()>& eachTick = {});

}  // namespace zub
