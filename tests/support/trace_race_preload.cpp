// Loaded with LD_PRELOAD into a process that traces. At the moment that
// process tries to create the file RACE_PROBE_PATH exclusively, the probe
// makes something else appear there first, as another process could between
// the existence test and the creation, and says so on standard error. What
// appears is chosen by RACE_PROBE_APPEARS:
//   lines         a file holding RACE_PROBE_TEXT
//   locked lines  the same, and the probe keeps it open and locked
//   link          a symbolic link to RACE_PROBE_PATH.target, which holds
//                 RACE_PROBE_TEXT
//   directory     an empty directory
// It acts once; every other call goes straight to the C library.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using OpenFn = int (*)(const char*, int, ...);

OpenFn RealOpen() {
  static const auto real = reinterpret_cast<OpenFn>(dlsym(RTLD_NEXT, "open"));
  return real;
}

std::atomic<bool> acted{false};

bool WriteText(const char* path, bool keep_locked) {
  const char* text = std::getenv("RACE_PROBE_TEXT");
  if (text == nullptr) text = "";
  const int fd = RealOpen()(path, O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return false;
  const std::size_t size = std::strlen(text);
  const bool ok = ::write(fd, text, size) == static_cast<ssize_t>(size) &&
                  (!keep_locked || ::flock(fd, LOCK_EX) == 0);
  if (!keep_locked) ::close(fd);  // a locked one stays open until exit
  return ok;
}

bool Appear(std::string_view what, const char* path) {
  if (what == "lines") return WriteText(path, false);
  if (what == "locked lines") return WriteText(path, true);
  if (what == "link") {
    const std::string target = std::string(path) + ".target";
    return WriteText(target.c_str(), false) &&
           ::symlink(target.c_str(), path) == 0;
  }
  if (what == "directory") return ::mkdir(path, 0700) == 0;
  return false;
}

void BeforeOpen(const char* path, int flags) {
  if ((flags & (O_CREAT | O_EXCL)) != (O_CREAT | O_EXCL)) return;
  const char* watched = std::getenv("RACE_PROBE_PATH");
  const char* what = std::getenv("RACE_PROBE_APPEARS");
  if (watched == nullptr || what == nullptr || std::strcmp(path, watched) != 0)
    return;
  if (acted.exchange(true)) return;
  const bool ok = Appear(what, path);
  std::fprintf(stderr, "race probe: %s %s\n", what,
               ok ? "appeared" : "could not be made");
}

mode_t ModeArgument(int flags, va_list arguments) {
  const bool has_mode =
      (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  return has_mode ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

}  // namespace

// Exported, against the build's hidden default, so that they come before the
// C library's.
extern "C" __attribute__((visibility("default"))) int open(const char* path,
                                                           int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  BeforeOpen(path, flags);
  return RealOpen()(path, flags, mode);
}

// The same function under the large-file name, which the C library also
// exports.
extern "C" __attribute__((visibility("default"), alias("open"))) int open64(
    const char* path, int flags, ...);
