// SmallVector: a vector of plain values whose first N elements live inside
// the object, so that the words and keys of a file name of usual length need
// no heap allocation; longer contents move to the heap and grow
// geometrically, so long names still cost linear time.
//
// It lives in platform/, the lowest layer of the core, because both the word
// lists of compare/ and the word matchers of platform/ keep their texts in
// it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <type_traits>

namespace wordlap {

template <typename T, std::size_t N>
class SmallVector {
  static_assert(std::is_trivially_copyable_v<T>,
                "elements are copied as bytes");

 public:
  SmallVector() noexcept {}
  SmallVector(const SmallVector& other) { append(other.data(), other.size()); }
  SmallVector& operator=(const SmallVector& other) {
    if (this != &other) {
      clear();
      append(other.data(), other.size());
    }
    return *this;
  }
  // Heap contents are handed over; inline ones are copied.
  SmallVector(SmallVector&& other) noexcept { TakeFrom(other); }
  SmallVector& operator=(SmallVector&& other) noexcept {
    if (this != &other) TakeFrom(other);
    return *this;
  }
  ~SmallVector() = default;

  T* data() noexcept { return data_; }
  const T* data() const noexcept { return data_; }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  T& operator[](std::size_t i) noexcept { return data_[i]; }
  const T& operator[](std::size_t i) const noexcept { return data_[i]; }
  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + size_; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + size_; }
  T& back() noexcept { return data_[size_ - 1]; }

  // A text held in a SmallVector of characters reads as a string_view.
  operator std::basic_string_view<T>() const noexcept requires
      std::is_same_v<T, char> || std::is_same_v<T, char16_t> {
    return {data_, size_};
  }

  void clear() noexcept { size_ = 0; }

  void push_back(const T& value) {
    if (size_ == capacity_) Grow(size_ + 1);
    data_[size_++] = value;
  }

  void append(const T* values, std::size_t count) {
    if (count == 0) return;
    if (count > capacity_ - size_) Grow(size_ + count);
    std::memcpy(data_ + size_, values, count * sizeof(T));
    size_ += count;
  }

  // Sets the size to `count`; new elements are left unset, for a caller that
  // writes them next.
  void resize_for_overwrite(std::size_t count) {
    if (count > capacity_) Grow(count);
    size_ = count;
  }

 private:
  void TakeFrom(SmallVector& other) noexcept {
    if (other.heap_) {
      heap_ = std::move(other.heap_);
      data_ = heap_.get();
      capacity_ = other.capacity_;
    } else {
      heap_.reset();
      data_ = inline_;
      capacity_ = N;
      std::memcpy(inline_, other.inline_, other.size_ * sizeof(T));
    }
    size_ = other.size_;
    other.data_ = other.inline_;
    other.capacity_ = N;
    other.size_ = 0;
  }

  // Kept out of line: it runs once for a name of usual length, and the
  // appends that call it stay small enough to be inlined.
  [[gnu::noinline]] void Grow(std::size_t needed) {
    const std::size_t capacity = std::max(needed, 2 * capacity_);
    auto heap = std::make_unique_for_overwrite<T[]>(capacity);
    std::memcpy(heap.get(), data_, size_ * sizeof(T));
    heap_ = std::move(heap);
    data_ = heap_.get();
    capacity_ = capacity;
  }

  // A union leaves the elements unset until they are written, so an empty
  // SmallVector costs nothing to make however large N is.
  union {
    T inline_[N];
  };
  std::unique_ptr<T[]> heap_;
  T* data_ = inline_;
  std::size_t size_ = 0;
  std::size_t capacity_ = N;
};

}  // namespace wordlap
