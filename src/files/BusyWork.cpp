#include "files/BusyWork.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <atomic>
#include <memory>
#include <thread>

namespace zub {
namespace {

// Drops every input event of the program while installed; Escape and a
// close of the window are handed to their callbacks.
class InputGate : public QObject {
 public:
  InputGate(QWidget* window, const BusyOptions& options) : window_(window), options_(options) {
    qApp->installEventFilter(this);
  }
  ~InputGate() override { qApp->removeEventFilter(this); }
  InputGate(const InputGate&) = delete;
  InputGate& operator=(const InputGate&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat() && options_.onEscape) {
          options_.onEscape();
        }
        return true;
      }
      case QEvent::Close:
        // A close reaches the window's QWindow first, then the widget.
        if (watched == window_ || watched == window_->windowHandle()) {
          event->ignore();
          if (options_.onClose) {
            options_.onClose();
          }
        }
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
  QWidget* window_;
  const BusyOptions& options_;
};

}  // namespace

BusyOutcome RunBusy(QWidget* window, std::function<void()> work, const BusyOptions& options) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread worker([work = std::move(work), done] {
    work();
    *done = true;
  });
  BusyOutcome outcome;
  {
    const InputGate gate(window, options);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    auto last = std::chrono::steady_clock::now();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      const auto now = std::chrono::steady_clock::now();
      outcome.longestGap = std::max(
          outcome.longestGap, std::chrono::duration_cast<std::chrono::milliseconds>(now - last));
      last = now;
      if (*done) {
        loop.quit();
      } else if (options.giveUp && options.giveUp()) {
        outcome.finished = false;
        loop.quit();
      }
    });
    poll.start();
    if (!*done) {
      loop.exec();
    }
  }
  if (outcome.finished) {
    worker.join();
  } else {
    worker.detach();
  }
  return outcome;
}

}  // namespace zub
