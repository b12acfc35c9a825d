/// @file
/// TList: a circular doubly linked list of object references with a sentinel link, its
/// links, its enumerator, a stable in-place sort, and free functions over them.
///
/// The sentinel is the link whose value is itself; every walk stops there. Links hold
/// their value and both neighbours strongly; a removed link keeps its neighbours, so a
/// walk standing on it can still move on. A list clears itself when it is freed, which
/// breaks the rings.
#pragma once

#include "runtime/array.h"
#include "runtime/module.h"
#include "runtime/object.h"

namespace corvex {

class TList;

/// One link of a list: a value and its two neighbours.
class TLink : public Object {
public:
    ~TLink() override;

    /// The link's value (Null once removed).
    Ref<Object> Value() const { return _value; }
    /** @{ */
    /// The next / previous link, or Null at the end of the list.
    Ref<TLink> NextLink() const;
    Ref<TLink> PrevLink() const;
    /** @} */
    /// Unlinks the link: its value becomes Null, its neighbours are joined; the link keeps
    /// its own neighbours.
    void Remove();

    /** @{ */
    /// The value and the next and previous links (the sentinel at either end).
    Ref<Object> _value;
    Ref<TLink> _succ;
    Ref<TLink> _pred;
    /** @} */

private:
    bool IsSentinel() const { return _value.get() == this; }
    friend class TList;
    friend class TListEnum;
};

/// Walks a list's values from the first link on.
class TListEnum : public Object {
public:
    /// Whether a value is left before the sentinel.
    bool HasNext() const;
    /// The value of the current link, then moves on; raises "Assert failed" at the end.
    Ref<Object> NextObject();

    /// The link whose value NextObject returns next.
    Ref<TLink> _link;
};

/// Orders two elements: negative, 0 or positive. Called with the earlier element first.
using CompareFunction = int (*)(Object* a, Object* b);

/// a's Compare with b (a must not be Null).
int CompareObjects(Object* a, Object* b);

/// A list of object references (Null values included).
class TList : public Object {
public:
    /// An empty list: the sentinel alone.
    TList();
    ~TList() override;

    /// The list's data-type descriptor.
    Ref<Object> DataType() const;
    /// Removes every link.
    void Clear();
    /// Whether the list has no links.
    bool IsEmpty() const;
    /// Whether a value compares equal (CompareObjects) to value.
    bool Contains(const Ref<Object>& value) const;
    /** @{ */
    /// Adds value at the front / the end; returns its new link.
    Ref<TLink> AddFirst(Ref<Object> value);
    Ref<TLink> AddLast(Ref<Object> value);
    /** @} */
    /** @{ */
    /// The first / last value; raises "Illegal operation on empty list" when empty.
    Ref<Object> First() const;
    Ref<Object> Last() const;
    /** @} */
    /** @{ */
    /// Removes the first / last link and returns its value; raises like First when empty.
    Ref<Object> RemoveFirst();
    Ref<Object> RemoveLast();
    /** @} */
    /** @{ */
    /// The first / last link, Null when the list is empty.
    Ref<TLink> FirstLink() const;
    Ref<TLink> LastLink() const;
    /** @} */
    /** @{ */
    /// Adds value before succ / after pred, a link of this list; returns its new link.
    Ref<TLink> InsertBeforeLink(Ref<Object> value, const Ref<TLink>& succ);
    Ref<TLink> InsertAfterLink(Ref<Object> value, const Ref<TLink>& pred);
    /** @} */
    /// The first link whose value compares equal (CompareObjects) to value, or Null.
    Ref<TLink> FindLink(const Ref<Object>& value) const;
    /// The value at index, counted from 0; raises a runtime error when it is negative or
    /// past the end.
    Ref<Object> ValueAtIndex(int index) const;
    /// The number of links, counted by a walk.
    int Count() const;
    /// Removes the first link FindLink finds; false when there is none.
    bool Remove(const Ref<Object>& value);
    /// Exchanges the contents of the two lists.
    void Swap(TList& list);
    /// A new list with the same values.
    Ref<TList> Copy() const;
    /// Reverses the order in place.
    void Reverse();
    /// A new list with the values in reverse order.
    Ref<TList> Reversed() const;
    /// Stable exchange sort that relinks the nodes in place and allocates nothing; a
    /// sorted list costs one pass of Count() - 1 comparisons.
    void Sort(bool ascending = true, CompareFunction compareFunc = CompareObjects);
    /// An enumerator standing on the first link.
    Ref<TListEnum> ObjectEnumerator() const;
    /** @{ */
    /// The values as an array, in order / a new list of an array's elements.
    Array<Ref<Object>> ToArray() const;
    static Ref<TList> FromArray(const Array<Ref<Object>>& array);
    /** @} */

    /// Range-for over the values, skipping Null values the way a for-each walk does;
    /// removing the value just returned is safe.
    class Iterator {
    public:
        /** @{ */
        /// An iterator on the first non-Null value of e's walk; the default one is the end.
        explicit Iterator(Ref<TListEnum> e) : enum_(std::move(e)) { ++*this; }
        Iterator() = default;
        /** @} */
        /** @{ */
        /// The current value; the next non-Null value; whether a value is left.
        const Ref<Object>& operator*() const { return value_; }
        Iterator& operator++();
        bool operator!=(const Iterator&) const { return static_cast<bool>(value_); }
        /** @} */

    private:
        Ref<TListEnum> enum_;
        Ref<Object> value_;
    };
    /** @{ */
    /// The range of a range-for over the values.
    Iterator begin() const { return Iterator(ObjectEnumerator()); }
    Iterator end() const { return Iterator(); }
    /** @} */

    /// The sentinel.
    Ref<TLink> _head;
};

/// The descriptor DataType returns; made when the module starts.
extern Ref<Object> ListDataType;

/// Same as `New<TList>()`.
Ref<TList> CreateList();
/// Same as `list->Clear()`.
void ClearList(const Ref<TList>& list);
/// Same as `list->Count()`.
int CountList(const Ref<TList>& list);
/// Same as `list->IsEmpty()`.
bool ListIsEmpty(const Ref<TList>& list);
/// Same as `list->Contains(value)`.
bool ListContains(const Ref<TList>& list, const Ref<Object>& value);
/// Same as `list->Sort(ascending, compareFunc)`.
void SortList(const Ref<TList>& list, bool ascending = true, CompareFunction compareFunc = CompareObjects);
/// Same as `TList::FromArray(array)`.
Ref<TList> ListFromArray(const Array<Ref<Object>>& array);
/// Same as `list->ToArray()`.
Array<Ref<Object>> ListToArray(const Ref<TList>& list);
/// Same as `list_x->Swap(*list_y)`.
void SwapLists(const Ref<TList>& list_x, const Ref<TList>& list_y);
/// Same as `list->Reverse()`.
void ReverseList(const Ref<TList>& list);
/// Same as `list->FindLink(value)`.
Ref<TLink> ListFindLink(const Ref<TList>& list, const Ref<Object>& value);
/// Same as `list->AddLast(value)`.
Ref<TLink> ListAddLast(const Ref<TList>& list, Ref<Object> value);
/// Same as `list->AddFirst(value)`.
Ref<TLink> ListAddFirst(const Ref<TList>& list, Ref<Object> value);
/// Same as `list->Remove(value)`.
bool ListRemove(const Ref<TList>& list, const Ref<Object>& value);
/// Same as `link->Remove()`.
void RemoveLink(const Ref<TLink>& link);

/// The module record of linkedlist (see InitModule).
extern Module linkedlist_module;

}  // namespace corvex
