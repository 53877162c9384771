#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/win32/checks.h"
#include "tests/win32/suites.h"

namespace wordlap::win32_host {
namespace {

// Ends the child with the code of an exception nobody handled, so the parent
// can tell which exception left the plug-in. A continuable one ends it with 1.
LONG WINAPI ExitWithExceptionCode(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  ExitProcess((record.ExceptionFlags & EXCEPTION_NONCONTINUABLE) != 0
                  ? record.ExceptionCode
                  : 1);
}

// Reserves (without committing) every free range of the address space, so
// the next large allocation fails at once without using any real memory.
void ReserveAddressSpace() {
  for (SIZE_T size = SIZE_T{1} << 30; size >= 0x10000; size /= 2) {
    while (VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS) != nullptr) {
    }
  }
}

}  // namespace

int RunOutOfMemoryChild(const std::string& plain_path) {
  const std::string path(32 << 20, 'w');  // one word of 32 MiB
  const PluginModule plain(plain_path);
  if (!plain.Loaded()) return 2;
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(ExitWithExceptionCode);
  ReserveAddressSpace();
  plain.PluginCompare(path.c_str(), path.c_str());
  return 0;  // the call came back although its copies could not fit
}

void CheckOutOfMemory(const std::string& host_path,
                      const std::string& plain_path) {
  std::string command = "\"" + host_path + "\" out-of-memory \"" + plain_path +
                        "\" \"" + plain_path + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!Expect(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE,
                             0, nullptr, nullptr, &startup, &process) != FALSE,
              "start the out-of-memory child")) {
    return;
  }
  const bool ended =
      WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0;
  DWORD exit_code = 0;
  if (!ended) TerminateProcess(process.hProcess, 1);
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  char details[64];
  std::snprintf(details, sizeof details, "child ended with %08lX",
                static_cast<unsigned long>(exit_code));
  Expect(ended && exit_code == static_cast<DWORD>(STATUS_NO_MEMORY),
         "memory exhaustion in PluginCompare leaves it as a non-continuable "
         "STATUS_NO_MEMORY exception",
         details);
}

}  // namespace wordlap::win32_host
