// The top-level windows of an X display through xcb: the window manager's
// stacking list when one keeps it, else the root's children.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "platform/WindowSource.h"

namespace zub {

// ISO 8859-1 bytes (a WM_NAME of type STRING) as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

class XcbWindowSource : public WindowSource {
 public:
  // `displayName` as $DISPLAY gives it (":0", "host:1.0"); empty means there
  // is no X display (a console, a Wayland session without Xwayland). A server
  // that has not answered within `wait` (the connection, or one reply) counts
  // as gone.
  explicit XcbWindowSource(std::string displayName,
                           std::chrono::milliseconds wait = std::chrono::seconds(1));
  ~XcbWindowSource() override;
  XcbWindowSource(const XcbWindowSource&) = delete;
  XcbWindowSource& operator=(const XcbWindowSource&) = delete;

  std::vector<WindowHandle> TopLevelWindows() override;
  std::string Title(WindowHandle window) override;

 private:
  struct Connection;
  struct Attempt;
  // A working connection, made again when the last one broke (the server
  // went away and maybe came back); null when the display cannot be reached
  // by `deadline`, or an earlier attempt to reach it still hangs.
  Connection* Connect(std::chrono::steady_clock::time_point deadline);
  // Forgets a connection whose server has gone.
  void DropIfBroken();

  std::string displayName_;
  std::chrono::milliseconds wait_;
  std::unique_ptr<Connection> connection_;
  // A connect that has not finished; it runs on a worker of its own, since
  // xcb waits for the server's greeting without a time limit.
  std::shared_ptr<Attempt> attempt_;
};

}  // namespace zub
