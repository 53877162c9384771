#include "tests/win32/plugin_module.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "tests/win32/checks.h"
#include "tests/win32/register_call.h"

namespace wordlap::win32_host {
namespace {

struct Export {
  const char* name;
  WORD ordinal;
  const void* PluginModule::*slot;
};

// A text the entry points must never see: the thunk leaves it on the stack
// where stack-passed arguments would be.
constexpr char kStackDecoy[] = "stack decoy.mp3";

// The export directory as the loader sees it: the module's own name and
// exactly four functions, all of them named.
void CheckExportDirectory(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (!Expect(entry.VirtualAddress != 0, "the DLL has an export directory")) {
    return;
  }
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
      base + entry.VirtualAddress);
  ExpectText(reinterpret_cast<const char*>(base + exports->Name), "Wordlap.dll",
             "module name in the export directory");
  Expect(exports->Base == 1 && exports->NumberOfFunctions == 4 &&
             exports->NumberOfNames == 4,
         "exactly four named exports from ordinal 1",
         "base " + std::to_string(exports->Base) + ", functions " +
             std::to_string(exports->NumberOfFunctions) + ", names " +
             std::to_string(exports->NumberOfNames));
}

RegisterCall Call(const void* function, const void* eax, const void* edx,
                  std::string_view name) {
  RegisterCall call;
  call.function = function;
  call.eax = reinterpret_cast<std::uintptr_t>(eax);
  call.edx = reinterpret_cast<std::uintptr_t>(edx);
  call.stack_decoy = reinterpret_cast<std::uintptr_t>(kStackDecoy);
  Invoke(call);
  if (!KeptRegisters(call)) {
    char details[160];
    std::snprintf(details, sizeof details,
                  "EBX %08lX ESI %08lX EDI %08lX EBP %08lX, ESP moved by %ld",
                  static_cast<unsigned long>(call.ebx),
                  static_cast<unsigned long>(call.esi),
                  static_cast<unsigned long>(call.edi),
                  static_cast<unsigned long>(call.ebp),
                  static_cast<long>(call.esp_after - call.esp_before));
    Expect(false, std::string(name) + " preserves EBX, ESI, EDI, EBP and ESP",
           details);
  }
  return call;
}

bool FlagFromAl(const RegisterCall& call, std::string_view name) {
  const std::uint32_t al = call.result & 0xFF;
  if (al > 1) Expect(false, std::string(name) + " returns 0 or 1 in AL");
  return al != 0;
}

const char* TextFromEax(const RegisterCall& call, std::string_view name) {
  const auto* text = reinterpret_cast<const char*>(call.result);
  if (text == nullptr) {
    Expect(false, std::string(name) + " never returns a null pointer");
    return "";
  }
  return text;
}

}  // namespace

PluginModule::PluginModule(const std::string& path) {
  module_ = LoadLibraryA(path.c_str());
  if (!Expect(module_ != nullptr, "LoadLibraryA " + path,
              "error " + std::to_string(GetLastError()))) {
    return;
  }
  CheckExportDirectory(module_);
  const Export exports[] = {
      {"GetTrovixVersion", 1, &PluginModule::get_trovix_version_},
      {"PluginCompare", 2, &PluginModule::plugin_compare_},
      {"GetPluginInfo", 3, &PluginModule::get_plugin_info_},
      {"TrovixPlugin", 4, &PluginModule::trovix_plugin_},
  };
  loaded_ = true;
  for (const Export& e : exports) {
    const auto by_name =
        reinterpret_cast<const void*>(GetProcAddress(module_, e.name));
    const auto by_ordinal = reinterpret_cast<const void*>(
        GetProcAddress(module_, MAKEINTRESOURCEA(e.ordinal)));
    const std::string what =
        std::string(e.name) + " at ordinal " + std::to_string(e.ordinal);
    if (!Expect(by_name != nullptr && by_name == by_ordinal, what)) {
      loaded_ = false;
      continue;
    }
    this->*e.slot = by_name;
  }
  Expect(GetProcAddress(module_, MAKEINTRESOURCEA(5)) == nullptr,
         "no export at ordinal 5");
}

PluginModule::~PluginModule() {
  if (module_ != nullptr) {
    Expect(FreeLibrary(module_) != FALSE, "FreeLibrary");
  }
}

bool PluginModule::TrovixPlugin() const {
  return FlagFromAl(
      Call(trovix_plugin_, kStackDecoy, kStackDecoy, "TrovixPlugin"),
      "TrovixPlugin");
}

const char* PluginModule::GetTrovixVersion() const {
  return TextFromEax(
      Call(get_trovix_version_, kStackDecoy, kStackDecoy, "GetTrovixVersion"),
      "GetTrovixVersion");
}

const char* PluginModule::GetPluginInfo(const char* key) const {
  return TextFromEax(Call(get_plugin_info_, key, kStackDecoy, "GetPluginInfo"),
                     "GetPluginInfo");
}

bool PluginModule::PluginCompare(const char* path_a, const char* path_b) const {
  return FlagFromAl(Call(plugin_compare_, path_a, path_b, "PluginCompare"),
                    "PluginCompare");
}

}  // namespace wordlap::win32_host
