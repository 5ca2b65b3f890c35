// Runs a window's activation handler when it becomes the program's active
// window: when it is shown, and when the user comes back to it from another
// window of the program. Message boxes and dialogs do not count as windows
// here, and coming back from another application is no activation.
#pragma once

#include <QWidget>
#include <functional>

namespace zub {

// Calls `onActivate` on each activation of `window` (a top-level widget) for
// as long as the window lives.
void WatchActivation(QWidget* window, std::function<void()> onActivate);

}  // namespace zub
