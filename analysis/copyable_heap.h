#pragma once

// Heap parts that copy what they own, so that an analyser holding them can be copied whole:
// the live analysis finishes a copy for each snapshot while the original reads on.

#include <algorithm>
#include <cstddef>
#include <memory>

namespace kestrel::analysis {

// An array made uninitialised (only what is written is ever read), copied element by element.
template <class T>
class copyable_array {
  public:
    copyable_array() = default;
    explicit copyable_array(std::size_t size)
        : data_(std::make_unique_for_overwrite<T[]>(size)), size_(size) {}
    copyable_array(const copyable_array& other) : copyable_array(other.size_) {
        std::copy_n(other.data_.get(), size_, data_.get());
    }
    copyable_array& operator=(const copyable_array& other) {
        if (this != &other) *this = copyable_array(other);
        return *this;
    }
    copyable_array(copyable_array&&) noexcept = default;
    copyable_array& operator=(copyable_array&&) noexcept = default;

    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

  private:
    std::unique_ptr<T[]> data_;
    std::size_t size_ = 0;
};

// One object on the heap, copied by value.
template <class T>
class copyable_ptr {
  public:
    copyable_ptr(std::unique_ptr<T> owned) : owned_(std::move(owned)) {}  // converts as unique_ptr does
    copyable_ptr(const copyable_ptr& other)
        : owned_(other.owned_ ? std::make_unique<T>(*other.owned_) : nullptr) {}
    copyable_ptr& operator=(const copyable_ptr& other) {
        if (this != &other) *this = copyable_ptr(other);
        return *this;
    }
    copyable_ptr(copyable_ptr&&) noexcept = default;
    copyable_ptr& operator=(copyable_ptr&&) noexcept = default;

    T* operator->() const { return owned_.get(); }
    T& operator*() const { return *owned_; }

  private:
    std::unique_ptr<T> owned_;
};

}  // namespace kestrel::analysis
