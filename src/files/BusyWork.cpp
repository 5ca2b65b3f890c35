#include "files/BusyWork.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "files/FileFlow.h"
#include "ui/WaitCursor.h"

namespace zub {
namespace {

// How often a running flow is ticked: its work's end and its batches are
// seen within this, and the window never waits longer for its events.
constexpr int kTickMs = 15;

// Drops every input event meant for the window while installed; Escape and
// a close of the window go to the flow.
class InputGate : public QObject {
 public:
  InputGate(QWidget* window, Flow& flow, FlowRun& run) : window_(window), flow_(flow), run_(run) {
    qApp->installEventFilter(this);
  }
  ~InputGate() override { qApp->removeEventFilter(this); }
  InputGate(const InputGate&) = delete;
  InputGate& operator=(const InputGate&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!Inside(watched)) {
      return false;
    }
    switch (event->type()) {
      case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
          flow_.Escape();
        }
        return true;
      }
      case QEvent::Close:
        event->ignore();
        run_.closed = true;
        flow_.Close();
        return true;
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::DragEnter:
      case QEvent::Drop:
      case QEvent::InputMethod:
        return true;
      default:
        return false;
    }
  }

 private:
  // A close reaches the window's QWindow first, then the widget.
  bool Inside(QObject* watched) const {
    if (watched == window_->windowHandle()) {
      return true;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && widget->window() == window_;
  }

  QWidget* window_;
  Flow& flow_;
  FlowRun& run_;
};

}  // namespace

FlowRun RunFlow(QWidget* window, Flow& flow, const std::function<void()>& eachTick) {
  FlowRun run;
  const WaitCursor hourglass;
  const InputGate gate(window, flow, run);
  QEventLoop loop;
  QTimer tick;
  tick.setInterval(kTickMs);
  auto last = std::chrono::steady_clock::now();
  bool ticking = false;
  bool running = true;
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    const auto now = std::chrono::steady_clock::now();
    run.longestGap =
        std::max(run.longestGap, std::chrono::duration_cast<std::chrono::milliseconds>(now - last));
    last = now;
    // A message box the flow shows runs a loop of its own: no tick inside a tick.
    if (ticking) {
      return;
    }
    ticking = true;
    if (eachTick) {
      eachTick();
    }
    running = flow.Tick();
    ticking = false;
    if (!running) {
      loop.quit();
    }
  });
  tick.start();
  if (flow.Tick()) {
    loop.exec();
  } else {
    running = false;
  }
  if (running) {
    // The application is quitting under the loop: the flow ends on its own.
    flow.Close();
  }
  return run;
}

}  // namespace zub
