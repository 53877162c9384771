// Byte-for-byte comparison of two open files, the last word on whether a
// duplicate may go.
#pragma once

#include <cstdint>

namespace wordlap::act {

enum class Comparison { kSame, kDifferent, kReadError };

// Compares the whole content of `a` and `b` from their first byte, read
// with pread so that no file offset matters. Files of different length are
// different.
Comparison CompareBytes(int a, int b);

// Whether the first bytes of `whole` are all of `part` (a copy cut short is
// a prefix of its source).
Comparison CompareAsPrefix(int part, int whole);

}  // namespace wordlap::act
