#include "tests/win32/trace_fault_checks.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "tests/cases/compare_cases.h"
#include "tests/cases/trace_room_cases.h"
#include "tests/win32/checks.h"
#include "tests/win32/trace_import_patch.h"
#include "tests/win32/trace_log.h"

namespace wordlap::win32_host {
namespace {

constexpr char kEarlier[] = "an earlier line\r\n";
constexpr char kTheirs[] = "a line of another process\r\nand its next\r\n";

std::string FileOrMissing() {
  return ReadTraceFile().value_or("<no trace file>");
}

// What the replacements below act on. The checks run one at a time on this
// thread, and the DLL calls back on it.
LONGLONG disk_limit = 0;
std::string_view appears;  // what is still to appear; empty once it has
bool appeared = false;     // whether it was made
HANDLE other_writer = INVALID_HANDLE_VALUE;

// WriteFile on a disk with room for the log up to `disk_limit` bytes: a write
// that does not fit writes what fits and fails as a full disk does.
BOOL WINAPI WriteUpToLimit(HANDLE file, LPCVOID data, DWORD size,
                           LPDWORD written, LPOVERLAPPED overlapped) {
  LARGE_INTEGER position = {};
  if (overlapped != nullptr ||
      !SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT) ||
      position.QuadPart + size <= disk_limit) {
    return WriteFile(file, data, size, written, overlapped);
  }
  DWORD part = 0;
  if (position.QuadPart < disk_limit) {
    WriteFile(file, data, static_cast<DWORD>(disk_limit - position.QuadPart),
              &part, nullptr);
  }
  if (written != nullptr) *written = part;
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

// Another process creates the log right after the DLL found none: `what`
// tells what it leaves there.
void MakeAppear(std::string_view what) {
  if (what == "directory") {
    appeared = CreateDirectoryA(kTraceFile, nullptr) != 0;
    return;
  }
  const HANDLE file =
      CreateFileA(kTraceFile, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  appeared = WriteFile(file, kTheirs, sizeof kTheirs - 1, &written, nullptr) &&
             written == sizeof kTheirs - 1;
  if (what == "held lines") {
    other_writer = file;  // closed once the comparison is over
  } else {
    CloseHandle(file);
  }
}

// GetFileAttributesA that answers for the moment of the call, and then lets
// the log appear, once.
DWORD WINAPI AttributesThenAppear(LPCSTR path) {
  const DWORD attributes = GetFileAttributesA(path);
  const DWORD error = GetLastError();
  if (!appears.empty() && lstrcmpiA(path, kTraceFile) == 0) {
    MakeAppear(appears);
    appears = {};
  }
  SetLastError(error);
  return attributes;
}

void CheckFullDisk(const PluginModule& traced, HMODULE module) {
  constexpr std::size_t kRoom = 1000;
  for (const cases::RoomCase& row : cases::kRoomCases) {
    const std::string what = " (" + std::string(row.what) + ")";
    ResetTraceDirectory();
    WriteTraceFile(kEarlier);
    const cases::PaddedComparison comparison =
        cases::PadFirstLine(kRoom + row.overshoot);
    disk_limit = static_cast<LONGLONG>(sizeof kEarlier - 1 + kRoom);
    bool match = false;
    {
      const ImportPatch patch(module, "WriteFile",
                              reinterpret_cast<const void*>(&WriteUpToLimit));
      if (!Expect(patch.Patched(), "the tracing DLL imports WriteFile")) return;
      match = traced.PluginCompare(comparison.path_a.c_str(),
                                   comparison.path_b.c_str());
    }
    Expect(match == comparison.match, "verdict with the disk full" + what);
    ExpectText(FileOrMissing(),
               kEarlier + cases::WhatFits(kRoom, comparison.lines),
               "a full disk keeps only whole lines" + what);
  }
}

void CheckFileAppearsMeanwhile(const PluginModule& traced, HMODULE module) {
  const cases::TraceCase& first = cases::kTraceCases.at(0);
  const struct {
    std::string_view appears;
    std::string log;  // empty for a directory
  } kCases[] = {
      {"lines", kTheirs + FileLines(first.block)},
      // The other process still writes the log: every line of ours is lost.
      {"held lines", kTheirs},
      {"directory", ""},
  };
  for (const auto& c : kCases) {
    const std::string what = " (" + std::string(c.appears) + ")";
    ResetTraceDirectory();
    appears = c.appears;
    appeared = false;
    bool match = false;
    {
      const ImportPatch patch(
          module, "GetFileAttributesA",
          reinterpret_cast<const void*>(&AttributesThenAppear));
      if (!Expect(patch.Patched(),
                  "the tracing DLL imports GetFileAttributesA")) {
        return;
      }
      const std::string a(first.path_a), b(first.path_b);
      match = traced.PluginCompare(a.c_str(), b.c_str());
    }
    appears = {};
    if (other_writer != INVALID_HANDLE_VALUE) {
      CloseHandle(other_writer);
      other_writer = INVALID_HANDLE_VALUE;
    }
    Expect(appeared,
           "the log appears between the test and the creation" + what);
    Expect(match == first.match, "verdict when the log appears" + what);
    if (c.appears == "directory") {
      const DWORD attributes = GetFileAttributesA(kTraceFile);
      Expect(attributes != INVALID_FILE_ATTRIBUTES &&
                 (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
             "a directory that appears is left alone");
    } else {
      ExpectText(FileOrMissing(), c.log,
                 "a log that appears is appended to, not emptied" + what);
    }
  }
}

}  // namespace

void CheckTraceFileFaults(const PluginModule& traced) {
  const HMODULE module = ModuleHolding(traced.GetTrovixVersion());
  if (!Expect(module != nullptr, "the tracing DLL is found by its constants")) {
    return;
  }
  CheckFullDisk(traced, module);
  CheckFileAppearsMeanwhile(traced, module);
  ResetTraceDirectory();
}

}  // namespace wordlap::win32_host
