// Window activation in widget tests, the same on every Qt the program builds with.
#pragma once

#include <QApplication>
#include <QWidget>

namespace zub::test_support {

// Asks for `window` to become the active window, as a click on it would.
// Qt 6.4's offscreen platform does not activate a window shown again that it
// still counts as focused (a real desktop does), so there the application is
// told directly; later Qt deprecates that call and needs none.
inline void RequestActivation(QWidget& window) {
  window.activateWindow();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
  QApplication::setActiveWindow(&window);
#endif
}

}  // namespace zub::test_support
