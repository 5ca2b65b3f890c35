// The top-level windows of an X display through xcb: the window manager's
// stacking list when one keeps it, else the root's children.
#pragma once

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
  // is no X display (a console, a Wayland session without Xwayland).
  explicit XcbWindowSource(std::string displayName);
  ~XcbWindowSource() override;
  XcbWindowSource(const XcbWindowSource&) = delete;
  XcbWindowSource& operator=(const XcbWindowSource&) = delete;

  std::vector<WindowHandle> TopLevelWindows() override;
  std::string Title(WindowHandle window) override;

 private:
  struct Connection;
  // A working connection, made again when the last one broke (the server
  // went away and maybe came back); null when the display cannot be reached.
  Connection* Connect();
  // Forgets a connection whose server has gone.
  void DropIfBroken();

  std::string displayName_;
  std::unique_ptr<Connection> connection_;
};

}  // namespace zub
