/// @file
/// Array<T>: a shared, bounds-checked array. Copies of an Array refer to the same
/// elements, as arrays are objects; an index outside raises the array-bounds error.
#pragma once

#include <initializer_list>
#include <vector>

#include "runtime/debug.h"
#include "runtime/exception.h"
#include "runtime/object.h"

namespace corvex {

/// What the debugger reads of an array of any element type.
class TArrayBase : public Object {
public:
    virtual int Count() const = 0;
    ///@{
    /// The type tag of the elements (empty when the debugger cannot show them).
    virtual const char* ElementTag() const = 0;
    virtual const void* ElementAt(int index) const = 0;
    ///@}
};

template <class T>
class TArrayObject final : public TArrayBase {
public:
    explicit TArrayObject(std::vector<T> v) : items(std::move(v)) {}
    int Count() const override { return static_cast<int>(items.size()); }
    const char* ElementTag() const override { return DebugTagOf<T>(); }
    const void* ElementAt(int index) const override { return &items[index]; }
    std::vector<T> items;
};

template <class T>
class Array {
public:
    constexpr Array() noexcept = default;
    explicit Array(int length) {
        if (length > 0) a_ = New<TArrayObject<T>>(std::vector<T>(length));
    }
    Array(std::initializer_list<T> items) : a_(New<TArrayObject<T>>(std::vector<T>(items))) {}
    explicit Array(std::vector<T> items) : a_(New<TArrayObject<T>>(std::move(items))) {}

    int Length() const noexcept { return a_ ? static_cast<int>(a_.get()->items.size()) : 0; }
    T& operator[](int index) const {
        if (index < 0 || index >= Length()) throw TArrayBoundsException();
        return a_.get()->items[index];
    }
    T* begin() const noexcept { return a_ ? a_.get()->items.data() : nullptr; }
    T* end() const noexcept { return begin() + Length(); }
    T* Data() const noexcept { return begin(); }
    ///@{
    /// A new array with the same elements.
    Array Copy() const { return a_ ? Array(a_.get()->items) : Array(); }
    bool SameAs(const Array& o) const noexcept { return a_ == o.a_; }
    ///@}

private:
    Ref<TArrayObject<T>> a_;
};

}  // namespace corvex
