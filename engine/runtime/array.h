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
    /// The number of elements.
    virtual int Count() const = 0;
    /// The type tag of the elements (empty when the debugger cannot show them).
    virtual const char* ElementTag() const = 0;
    /// The address of the element at index.
    virtual const void* ElementAt(int index) const = 0;
};

/// The object that holds an array's elements.
template <class T>
class TArrayObject final : public TArrayBase {
public:
    /// An object holding v.
    explicit TArrayObject(std::vector<T> v) : items(std::move(v)) {}
    int Count() const override { return static_cast<int>(items.size()); }
    const char* ElementTag() const override { return DebugTagOf<T>(); }
    const void* ElementAt(int index) const override { return &items[index]; }
    /// The elements.
    std::vector<T> items;
};

/// A shared, bounds-checked array of T; the empty array holds no object.
template <class T>
class Array {
public:
    /** @{ */
    /// The empty array, length value-initialised elements, or the given elements.
    constexpr Array() noexcept = default;
    explicit Array(int length) {
        if (length > 0) a_ = New<TArrayObject<T>>(std::vector<T>(length));
    }
    Array(std::initializer_list<T> items) : a_(New<TArrayObject<T>>(std::vector<T>(items))) {}
    explicit Array(std::vector<T> items) : a_(New<TArrayObject<T>>(std::move(items))) {}
    /** @} */

    /// The number of elements.
    int Length() const noexcept { return a_ ? static_cast<int>(a_.get()->items.size()) : 0; }
    /// The element at index; outside the array it throws TArrayBoundsException.
    T& operator[](int index) const {
        if (index < 0 || index >= Length()) throw TArrayBoundsException();
        return a_.get()->items[index];
    }
    /** @{ */
    /// The elements as a range of pointers (null when the array is empty).
    T* begin() const noexcept { return a_ ? a_.get()->items.data() : nullptr; }
    T* end() const noexcept { return begin() + Length(); }
    T* Data() const noexcept { return begin(); }
    /** @} */
    /// A new array with the same elements.
    Array Copy() const { return a_ ? Array(a_.get()->items) : Array(); }
    /// Whether both share the same elements.
    bool SameAs(const Array& o) const noexcept { return a_ == o.a_; }

private:
    Ref<TArrayObject<T>> a_;
};

}  // namespace corvex
