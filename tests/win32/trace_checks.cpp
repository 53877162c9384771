#include <windows.h>

#include <string>

#include "tests/cases/compare_cases.h"
#include "tests/win32/checks.h"
#include "tests/win32/suites.h"
#include "tests/win32/trace_fault_checks.h"
#include "tests/win32/trace_log.h"

namespace wordlap::win32_host {
namespace {

const cases::TraceCase& First() { return cases::kTraceCases.at(0); }
const cases::TraceCase& Second() { return cases::kTraceCases.at(1); }

// Runs a shared trace case and checks its verdict.
void Compare(const PluginModule& traced, const cases::TraceCase& row,
             const std::string& when) {
  const std::string a(row.path_a), b(row.path_b);
  Expect(traced.PluginCompare(a.c_str(), b.c_str()) == row.match,
         "verdict of \"" + Escaped(a) + "\" to \"" + Escaped(b) + "\" " + when);
}

std::string FileOrMissing() {
  return ReadTraceFile().value_or("<no trace file>");
}

// Another program that has the log open for writing keeps the plug-in out:
// every line written meanwhile is lost, and none is half written.
void CheckWriterHoldsFile(const PluginModule& traced) {
  ResetTraceDirectory();
  Compare(traced, First(), "before another writer");
  const HANDLE writer =
      CreateFileA(kTraceFile, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (!Expect(writer != INVALID_HANDLE_VALUE,
              "another handle opens the log for writing")) {
    return;
  }
  Compare(traced, Second(), "while another handle writes the log");
  ExpectText(FileOrMissing(), FileLines(First().block),
             "lines are lost while another handle writes the log");
  CloseHandle(writer);
  Compare(traced, Second(), "after the other writer closed the log");
  ExpectText(FileOrMissing(),
             FileLines(First().block) + FileLines(Second().block),
             "the next block is appended once the writer is gone");
}

// Readers do not keep the plug-in out.
void CheckReaderHoldsFile(const PluginModule& traced) {
  ResetTraceDirectory();
  Compare(traced, First(), "before a reader");
  const HANDLE reader =
      CreateFileA(kTraceFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  Expect(reader != INVALID_HANDLE_VALUE, "a reader opens the log");
  Compare(traced, Second(), "while a reader holds the log");
  ExpectText(FileOrMissing(),
             FileLines(First().block) + FileLines(Second().block),
             "lines are appended while a reader holds the log");
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
}

// Nothing usable at the log's path: the comparison goes on unchanged.
void CheckUnwritableLog(const PluginModule& traced) {
  ResetTraceDirectory();
  CreateDirectoryA(kTraceFile, nullptr);
  Compare(traced, First(), "with a directory in place of the log");
  const DWORD attributes = GetFileAttributesA(kTraceFile);
  Expect(attributes != INVALID_FILE_ATTRIBUTES &&
             (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
         "a directory in place of the log is left alone");

  RemoveTraceDirectory();
  Compare(traced, First(), "without c:\\tmp");
  Expect(GetFileAttributesA(kTraceDirectory) == INVALID_FILE_ATTRIBUTES,
         "c:\\tmp is not created");
}

}  // namespace

void CheckTraceFile(const PluginModule& traced) {
  for (const cases::TraceCase& row : cases::kTraceCases) {
    ResetTraceDirectory();
    Compare(traced, row, "with the trace on");
    ExpectText(FileOrMissing(), FileLines(row.block),
               "trace block of \"" + Escaped(row.path_a) + "\" to \"" +
                   Escaped(row.path_b) + "\"");
  }

  // An existing file is appended to, never emptied.
  ResetTraceDirectory();
  WriteTraceFile("earlier line\r\n");
  Compare(traced, First(), "after an earlier line");
  Compare(traced, Second(), "as a second block");
  ExpectText(
      FileOrMissing(),
      "earlier line\r\n" + FileLines(First().block) + FileLines(Second().block),
      "blocks are appended to an existing log");

  CheckWriterHoldsFile(traced);
  CheckReaderHoldsFile(traced);
  CheckUnwritableLog(traced);
  CheckTraceFileFaults(traced);
  ResetTraceDirectory();
}

void CheckNoTraceFile(const PluginModule& plain) {
  ResetTraceDirectory();
  for (const cases::TraceCase& row : cases::kTraceCases) {
    const std::string a(row.path_a), b(row.path_b);
    plain.PluginCompare(a.c_str(), b.c_str());
  }
  Expect(!ReadTraceFile().has_value(),
         "the plug-in without the trace creates no log");
}

}  // namespace wordlap::win32_host
