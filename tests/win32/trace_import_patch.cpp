#include "tests/win32/trace_import_patch.h"

#include <cstring>

namespace wordlap::win32_host {
namespace {

// The import address table entry through which `module` calls `function`.
const void** FindImportSlot(HMODULE module, const char* function) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (entry.VirtualAddress == 0) return nullptr;
  for (const auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
           base + entry.VirtualAddress);
       import->Name != 0; ++import) {
    // The names are in the lookup table; the loader wrote the addresses it
    // resolved into the address table, entry for entry.
    if (import->OriginalFirstThunk == 0) continue;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA32*>(
        base + import->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA32*>(
        const_cast<BYTE*>(base) + import->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal)) continue;
      const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(
          base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function) ==
          0) {
        return reinterpret_cast<const void**>(&addresses->u1.Function);
      }
    }
  }
  return nullptr;
}

void Store(const void** slot, const void* value) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
}

}  // namespace

ImportPatch::ImportPatch(HMODULE module, const char* function,
                         const void* replacement) {
  if (module == nullptr) return;
  slot_ = FindImportSlot(module, function);
  if (slot_ == nullptr) return;
  original_ = *slot_;
  Store(slot_, replacement);
}

ImportPatch::~ImportPatch() {
  if (slot_ != nullptr) Store(slot_, original_);
}

HMODULE ModuleHolding(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const char*>(address), &module)) {
    return nullptr;
  }
  return module;
}

}  // namespace wordlap::win32_host
