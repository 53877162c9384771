#include "tests/win32/register_call.h"

#include <cstddef>

extern "C" void WordlapRegisterCall(wordlap::win32_host::RegisterCall* call);

namespace wordlap::win32_host {

// The thunk below addresses the fields by these offsets.
static_assert(offsetof(RegisterCall, function) == 0);
static_assert(offsetof(RegisterCall, eax) == 4);
static_assert(offsetof(RegisterCall, edx) == 8);
static_assert(offsetof(RegisterCall, stack_decoy) == 12);
static_assert(offsetof(RegisterCall, result) == 16);
static_assert(offsetof(RegisterCall, ebx) == 20);
static_assert(offsetof(RegisterCall, esi) == 24);
static_assert(offsetof(RegisterCall, edi) == 28);
static_assert(offsetof(RegisterCall, ebp) == 32);
static_assert(offsetof(RegisterCall, esp_before) == 36);
static_assert(offsetof(RegisterCall, esp_after) == 40);
static_assert(kEbxSentinel == 0x1B1B1B1B && kEsiSentinel == 0x5151C0DE &&
              kEdiSentinel == 0xD1D1FACE && kEbpSentinel == 0xB0B0CAFE);

// The call and our own stack pointer are kept in memory rather than on the
// stack, so they survive a callee that leaves ESP or EBP wrong. The host is
// single-threaded.
asm(R"(
    .bss
    .balign 4
wordlap_thunk_call:  .space 4
wordlap_thunk_esp:   .space 4
    .text
    .globl _WordlapRegisterCall
    .def _WordlapRegisterCall; .scl 2; .type 32; .endef
_WordlapRegisterCall:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 20(%esp), %ecx
    movl %ecx, wordlap_thunk_call
    movl %esp, wordlap_thunk_esp
    pushl 12(%ecx)
    pushl 12(%ecx)
    movl $0x1B1B1B1B, %ebx
    movl $0x5151C0DE, %esi
    movl $0xD1D1FACE, %edi
    movl $0xB0B0CAFE, %ebp
    movl 4(%ecx), %eax
    movl 8(%ecx), %edx
    movl %esp, 36(%ecx)
    call *(%ecx)
    movl wordlap_thunk_call, %ecx
    movl %eax, 16(%ecx)
    movl %ebx, 20(%ecx)
    movl %esi, 24(%ecx)
    movl %edi, 28(%ecx)
    movl %ebp, 32(%ecx)
    movl %esp, 40(%ecx)
    movl wordlap_thunk_esp, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

void Invoke(RegisterCall& call) { WordlapRegisterCall(&call); }

bool KeptRegisters(const RegisterCall& call) {
  return call.ebx == kEbxSentinel && call.esi == kEsiSentinel &&
         call.edi == kEdiSentinel && call.ebp == kEbpSentinel &&
         call.esp_after == call.esp_before;
}

}  // namespace wordlap::win32_host
