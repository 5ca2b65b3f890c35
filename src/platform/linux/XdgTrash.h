// The freedesktop.org trash through GIO: the home trash for files on the
// home's file system, the mount's own .Trash-$uid (or sticky .Trash/$uid)
// elsewhere, with the .trashinfo that names the original path.
#pragma once

#include "platform/Trash.h"

namespace zub {

class XdgTrash : public Trash {
 public:
  TrashResult Move(const std::string& path) override;
};

}  // namespace zub
