#include "ui/Activation.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>

namespace zub {
namespace {

// One filter on the application object sees every window of the program
// become active, so it knows which one was active last.
class ActivationFilter : public QObject {
  Q_OBJECT  // findChild below needs the type's own meta-object

 public:
  explicit ActivationFilter(QObject* app) : QObject(app) { app->installEventFilter(this); }

  static ActivationFilter& Instance() {
    auto* app = QCoreApplication::instance();
    auto* existing = app->findChild<ActivationFilter*>(QString(), Qt::FindDirectChildrenOnly);
    return existing != nullptr ? *existing : *new ActivationFilter(app);  // owned by the app
  }

  void Watch(QWidget* window, std::function<void()> onActivate) {
    handlers_.insert(window, std::move(onActivate));
    connect(window, &QObject::destroyed, this, [this, window] { handlers_.remove(window); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !widget->isWindow()) {
      return false;
    }
    // Only the program's own windows count: message boxes and dialogs come
    // and go without making the window under them activate again.
    auto it = handlers_.find(widget);
    if (it == handlers_.end()) {
      return false;
    }
    if (event->type() == QEvent::WindowActivate && last_ != widget) {
      last_ = widget;
      const auto handler = it.value();  // the handler may open windows
      handler();
    } else if (event->type() == QEvent::Hide && last_ == widget) {
      last_ = nullptr;  // shown again later, it is activated anew
    }
    return false;
  }

 private:
  QPointer<QWidget> last_;
  QHash<QWidget*, std::function<void()>> handlers_;
};

}  // namespace

void WatchActivation(QWidget* window, std::function<void()> onActivate) {
  ActivationFilter::Instance().Watch(window, std::move(onActivate));
}

}  // namespace zub

#include "Activation.moc"
