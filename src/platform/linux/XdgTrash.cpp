#include "platform/linux/XdgTrash.h"

#include <gio/gio.h>

#include <memory>

namespace zub {
namespace {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
struct ErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};

}  // namespace

TrashResult XdgTrash::Move(const std::string& path) {
  // GLib file names are the bytes the kernel takes; no conversion happens.
  const std::unique_ptr<GFile, ObjectUnref> file(g_file_new_for_path(path.c_str()));
  GError* raw = nullptr;
  const bool moved = g_file_trash(file.get(), nullptr, &raw) != FALSE;
  const std::unique_ptr<GError, ErrorFree> error(raw);
  if (moved) {
    return {TrashResult::Outcome::Done, ""};
  }
  // GIO refuses system mounts and cross-device moves with NOT_SUPPORTED
  // rather than falling back to a copy.
  const bool refused = error && g_error_matches(error.get(), G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED);
  return {refused ? TrashResult::Outcome::Refused : TrashResult::Outcome::Failed,
          error ? error->message : "unknown failure"};
}

}  // namespace zub
