// A replacement of the global allocation functions that can be told to fail
// at a chosen allocation, and that keeps count of what is still allocated, so
// that a test can walk a failure along every allocation of a call.
#pragma once

#include <cstddef>

namespace wordlap::test {

// From now on, count allocations; the `fail_at`-th one (1-based) throws
// std::bad_alloc (or returns null for the nothrow forms). 0 counts without
// failing.
void ArmAllocationFailure(std::size_t fail_at) noexcept;

// Stops counting and failing.
void DisarmAllocationFailure() noexcept;

// Allocations attempted since the last arming, the failed one included.
std::size_t AllocationsSinceArmed() noexcept;

// Blocks allocated and not yet released since the last arming; what a call
// leaves behind when it should have released everything.
long LiveAllocationsSinceArmed() noexcept;

}  // namespace wordlap::test
