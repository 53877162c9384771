#include "platform/trace_file.h"

#include <windows.h>

#include <cstdint>

namespace wordlap::platform {
namespace {

HANDLE AsHandle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

bool IsExistingFile(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

TraceFile::TraceFile(const char* path) noexcept {
  // Sharing only reading keeps a second writer out: it fails to open the file
  // and loses its line, so lines never interleave. A file that appears
  // between the test and the creation is emptied.
  const DWORD disposition =
      IsExistingFile(path) ? OPEN_EXISTING : CREATE_ALWAYS;
  const HANDLE file =
      CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER end = {};
  if (!SetFilePointerEx(file, end, nullptr, FILE_END)) {
    CloseHandle(file);
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
}

TraceFile::~TraceFile() {
  if (IsOpen()) CloseHandle(AsHandle(handle_));
}

bool TraceFile::Write(const char* data, std::size_t size) noexcept {
  if (!IsOpen()) return false;
  while (size > 0) {
    const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), data, chunk, &written, nullptr) ||
        written == 0) {
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace wordlap::platform
