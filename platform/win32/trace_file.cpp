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

// Sharing only reading keeps a second writer out: it fails to open the file
// and loses its line, so lines never interleave.
HANDLE Open(const char* path, DWORD disposition) {
  return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                     nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Opens the existing file, or creates it when there is none. When another
// process creates it between the test and the creation, that file is opened
// as it is: emptying it would erase the lines it has already written.
HANDLE OpenOrCreate(const char* path) {
  if (IsExistingFile(path)) return Open(path, OPEN_EXISTING);
  const HANDLE file = Open(path, CREATE_NEW);
  if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
    return file;
  }
  return Open(path, OPEN_EXISTING);
}

}  // namespace

TraceFile::TraceFile(const char* path) noexcept {
  const HANDLE file = OpenOrCreate(path);
  if (file == INVALID_HANDLE_VALUE) return;
  // The end is where this line begins, and what a failed write cuts the file
  // back to.
  LARGE_INTEGER end = {};
  if (!SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END)) {
    CloseHandle(file);
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  start_ = end.QuadPart;
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
      CutBack();
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

void TraceFile::CutBack() noexcept {
  // No other handle can write the file meanwhile (it is shared for reading
  // only), so only bytes of this line are cut. Truncating frees space and
  // works on a full disk.
  const HANDLE file = AsHandle(handle_);
  LARGE_INTEGER start = {};
  start.QuadPart = start_;
  if (SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) SetEndOfFile(file);
  CloseHandle(file);
  handle_ = kClosed;
}

}  // namespace wordlap::platform
