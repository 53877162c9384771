#include "tests/win32/trace_log.h"

#include <windows.h>

#include "tests/win32/checks.h"

namespace wordlap::win32_host {
namespace {

bool IsDirectory(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveLogFile() {
  if (IsDirectory(kTraceFile)) {
    RemoveDirectoryA(kTraceFile);
  } else {
    DeleteFileA(kTraceFile);
  }
  Expect(GetFileAttributesA(kTraceFile) == INVALID_FILE_ATTRIBUTES,
         "the test can remove the old trace file");
}

}  // namespace

void ResetTraceDirectory() {
  CreateDirectoryA(kTraceDirectory, nullptr);
  RemoveLogFile();
}

void RemoveTraceDirectory() {
  RemoveLogFile();
  RemoveDirectoryA(kTraceDirectory);
  Expect(GetFileAttributesA(kTraceDirectory) == INVALID_FILE_ATTRIBUTES,
         "the test can remove c:\\tmp");
}

std::optional<std::string> ReadTraceFile() {
  const HANDLE file =
      CreateFileA(kTraceFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) {
    bytes.append(chunk, read);
  }
  CloseHandle(file);
  return bytes;
}

void WriteTraceFile(std::string_view bytes) {
  const HANDLE file =
      CreateFileA(kTraceFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool ok =
      file != INVALID_HANDLE_VALUE &&
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                nullptr) &&
      written == bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  Expect(ok, "the test can write the trace file");
}

std::string FileLines(std::string_view block) {
  std::string lines;
  for (const char c : block) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  return lines;
}

}  // namespace wordlap::win32_host
