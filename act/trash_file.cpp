#include <gio/gio.h>

#include <memory>

#include "act/file_actions.h"

namespace wordlap::act {

std::string TrashDuplicate(const OpenedFile& duplicate,
                           const std::string& path) {
  // GIO works by path: the path must still lead to the checked file.
  struct stat now {};
  if (::lstat(path.c_str(), &now) != 0 || !SameInode(now, duplicate.stat) ||
      !duplicate.StillThere()) {
    return "it changed while it was checked";
  }
  const std::unique_ptr<GFile, decltype(&g_object_unref)> file(
      g_file_new_for_path(path.c_str()), g_object_unref);
  GError* error = nullptr;
  if (g_file_trash(file.get(), nullptr, &error)) return {};
  std::string why = "no trash: ";
  why += error != nullptr ? error->message : "unknown error";
  if (error != nullptr) g_error_free(error);
  return why;
}

}  // namespace wordlap::act
