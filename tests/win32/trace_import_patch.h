// Replaces one function that a loaded DLL imports, in that DLL's import
// address table only, for as long as the patch lives. The checks use it to
// make the real trace DLL meet conditions that cannot be arranged from the
// outside at the exact moment they matter: a disk that fills up in the
// middle of a line, a file that appears between two calls.
#pragma once

#include <windows.h>

namespace wordlap::win32_host {

class ImportPatch {
 public:
  // Points `module`'s import of `function` (from any DLL, by name) at
  // `replacement`. Patched() is false when `module` does not import it.
  ImportPatch(HMODULE module, const char* function, const void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  bool Patched() const { return slot_ != nullptr; }

 private:
  const void** slot_ = nullptr;
  const void* original_ = nullptr;
};

// The module that holds `address`, for example a constant text that one of
// its entry points returned; null when there is none.
HMODULE ModuleHolding(const void* address);

}  // namespace wordlap::win32_host
