#include "tests/robustness/failing_new.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace wordlap::test {
namespace {

// Plain globals: the tests that arm the failure run on one thread, and other
// threads only ever see "disarmed".
bool armed = false;
std::size_t generation = 0;  // one per arming; 0 is never armed
std::size_t fail_at = 0;
std::size_t attempts = 0;
long live = 0;

// A header holds the arming a block was made under, so that releasing a
// block made before (a cache, a test fixture) does not upset the live count.
// It is as wide as the default alignment to keep the payload aligned.
constexpr std::size_t kHeader = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
static_assert(kHeader >= sizeof(std::size_t));

void* Allocate(std::size_t size) noexcept {
  if (armed && ++attempts == fail_at) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) return nullptr;
  const std::size_t made_under = armed ? generation : 0;
  std::memcpy(block, &made_under, sizeof made_under);
  if (armed) ++live;
  return block + kHeader;
}

void Release(void* pointer) noexcept {
  if (pointer == nullptr) return;
  auto* block = static_cast<unsigned char*>(pointer) - kHeader;
  std::size_t made_under;
  std::memcpy(&made_under, block, sizeof made_under);
  if (armed && made_under == generation) --live;
  std::free(block);
}

void* AllocateOrThrow(std::size_t size) {
  void* pointer = Allocate(size);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

}  // namespace

void ArmAllocationFailure(std::size_t at) noexcept {
  fail_at = at;
  attempts = 0;
  live = 0;
  ++generation;
  armed = true;
}

void DisarmAllocationFailure() noexcept { armed = false; }

std::size_t AllocationsSinceArmed() noexcept { return attempts; }

long LiveAllocationsSinceArmed() noexcept { return live; }

}  // namespace wordlap::test

// Every form the program could use, so that no block is released by an
// allocator other than the one that made it. The aligned forms are not
// replaced: nothing here asks for more than the default alignment.
void* operator new(std::size_t size) {
  return wordlap::test::AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
  return wordlap::test::AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return wordlap::test::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return wordlap::test::Allocate(size);
}
void operator delete(void* pointer) noexcept {
  wordlap::test::Release(pointer);
}
void operator delete[](void* pointer) noexcept {
  wordlap::test::Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
  wordlap::test::Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  wordlap::test::Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
  wordlap::test::Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
  wordlap::test::Release(pointer);
}
