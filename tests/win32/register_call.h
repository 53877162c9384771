// Calls an entry point the way the host does: first argument in EAX, second
// in EDX, nothing meant for it on the stack.
#pragma once

#include <cstdint>

namespace wordlap::win32_host {

struct RegisterCall {
  const void* function = nullptr;
  std::uint32_t eax = 0;
  std::uint32_t edx = 0;
  // Pushed twice just above the return address, where a callee that wrongly
  // took its arguments from the stack would find them.
  std::uint32_t stack_decoy = 0;
  // Filled in by the call.
  std::uint32_t result = 0;  // EAX after the call
  std::uint32_t ebx = 0, esi = 0, edi = 0, ebp = 0;
  std::uint32_t esp_before = 0, esp_after = 0;
};

// The values the thunk loads into the registers the callee must preserve.
inline constexpr std::uint32_t kEbxSentinel = 0x1B1B1B1B;
inline constexpr std::uint32_t kEsiSentinel = 0x5151C0DE;
inline constexpr std::uint32_t kEdiSentinel = 0xD1D1FACE;
inline constexpr std::uint32_t kEbpSentinel = 0xB0B0CAFE;

// Performs the call described by `call` and records the registers after it.
void Invoke(RegisterCall& call);

// True when EBX, ESI, EDI, EBP and ESP came back as they went in.
bool KeptRegisters(const RegisterCall& call);

}  // namespace wordlap::win32_host
