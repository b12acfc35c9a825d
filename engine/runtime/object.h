/// @file
/// The object model: intrusively reference-counted objects and the Ref<T> handle.
///
/// Every engine object derives from Object. A Ref<T> holds one reference; the object is
/// deleted when the last Ref goes. Because the count lives inside the object, a
/// constructor may hand out `this` (wrap it in a Ref) safely. Dereferencing a Null Ref
/// throws TNullObjectException, so Null misuse is a runtime error rather than a crash.
#pragma once

#include <atomic>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace corvex {

class String;
class Object;

/// Told of every object made and of every object gone, while set (a debugger sets it, to
/// tell the address of a live object from any other number).
struct ObjectWatch {
    void (*born)(const Object* o) noexcept;  ///< an object was made
    void (*died)(const Object* o) noexcept;  ///< an object is being deleted
};
/// The watch in force, or null for none.
inline const ObjectWatch* object_watch = nullptr;

/// The base of every engine object: a reference count and the two virtual functions
/// every object has.
class Object {
public:
    /** @{ */
    /// A new object with no references; a copy is a new object too, its count 0.
    Object() {
        if (object_watch) object_watch->born(this);
    }
    Object(const Object&) : Object() {}
    /** @} */
    /// Assignment leaves the count alone.
    Object& operator=(const Object&) { return *this; }
    virtual ~Object() {
        if (object_watch) object_watch->died(this);
    }

    /// Text of the object; the default names its address.
    virtual String ToString() const;
    /// Order relative to another object: negative, 0 or positive. The default compares
    /// identity, so distinct objects are never equal.
    virtual int Compare(const Object* other) const;

    /// Adds a reference (Ref does it).
    void Retain() const { refs_.fetch_add(1, std::memory_order_relaxed); }
    /// Drops a reference; the last one deletes the object.
    void Release() const {
        if (refs_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
    }
    /// The number of references.
    int RefCount() const { return refs_.load(std::memory_order_relaxed); }

private:
    mutable std::atomic<int> refs_{0};
};

/// Throws TNullObjectException.
[[noreturn]] void ThrowNullObject();

/// A counted reference to a T, or Null.
template <class T>
class Ref {
public:
    /** @{ */
    /// Null, or a new reference to p (which may be null), to o's object, or to the object
    /// of a Ref of a derived type; a move takes o's reference over and leaves o Null.
    constexpr Ref() noexcept = default;
    constexpr Ref(std::nullptr_t) noexcept {}
    Ref(T* p) noexcept : p_(p) {
        if (p_) p_->Retain();
    }
    Ref(const Ref& o) noexcept : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(const Ref<U>& o) noexcept : Ref(o.get()) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Ref(Ref<U>&& o) noexcept : p_(o.release()) {}
    /** @} */
    ~Ref() {
        if (p_) p_->Release();
    }

    /// Refers to o's object, releasing the object referred to before.
    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    /** @{ */
    /// The object; throws TNullObjectException when Null.
    T* operator->() const {
        if (!p_) ThrowNullObject();
        return p_;
    }
    T& operator*() const {
        if (!p_) ThrowNullObject();
        return *p_;
    }
    /** @} */
    /// The object, or null.
    T* get() const noexcept { return p_; }
    /// Whether the Ref is not Null.
    explicit operator bool() const noexcept { return p_ != nullptr; }
    /// Gives up the reference without releasing it (for moves between Ref types).
    T* release() noexcept { return std::exchange(p_, nullptr); }

    /** @{ */
    /// Identity: whether both name the same object (or both Null).
    template <class U>
    bool operator==(const Ref<U>& o) const noexcept {
        return p_ == o.get();
    }
    bool operator==(const T* o) const noexcept { return p_ == o; }
    bool operator==(std::nullptr_t) const noexcept { return p_ == nullptr; }
    /** @} */

private:
    T* p_ = nullptr;
};

/// Makes a new object and returns the first reference to it.
template <class T, class... Args>
Ref<T> New(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

/// Downcast: Null when the object is not a T (or is Null).
template <class T, class U>
Ref<T> Cast(const Ref<U>& r) {
    return Ref<T>(dynamic_cast<T*>(r.get()));
}

/// A reference to any object.
using ObjectRef = Ref<Object>;

}  // namespace corvex
