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

class TLink : public Object {
public:
    ~TLink() override;

    Ref<Object> Value() const { return _value; }
    ///@{
    /// The next / previous link, or Null at the end of the list.
    Ref<TLink> NextLink() const;
    Ref<TLink> PrevLink() const;
    ///@}
    /// Unlinks the link: its value becomes Null, its neighbours are joined; the link keeps
    /// its own neighbours.
    void Remove();

    Ref<Object> _value;
    Ref<TLink> _succ;
    Ref<TLink> _pred;

private:
    bool IsSentinel() const { return _value.get() == this; }
    friend class TList;
    friend class TListEnum;
};

class TListEnum : public Object {
public:
    bool HasNext() const;
    /// The value of the current link, then moves on; raises "Assert failed" at the end.
    Ref<Object> NextObject();

    Ref<TLink> _link;
};

/// Orders two elements: negative, 0 or positive. Called with the earlier element first.
using CompareFunction = int (*)(Object* a, Object* b);

/// a's Compare with b (a must not be Null).
int CompareObjects(Object* a, Object* b);

class TList : public Object {
public:
    TList();
    ~TList() override;

    ///@{
    /// The list's data-type descriptor.
    Ref<Object> DataType() const;
    void Clear();
    bool IsEmpty() const;
    bool Contains(const Ref<Object>& value) const;
    Ref<TLink> AddFirst(Ref<Object> value);
    Ref<TLink> AddLast(Ref<Object> value);
    Ref<Object> First() const;
    Ref<Object> Last() const;
    Ref<Object> RemoveFirst();
    Ref<Object> RemoveLast();
    Ref<TLink> FirstLink() const;
    Ref<TLink> LastLink() const;
    Ref<TLink> InsertBeforeLink(Ref<Object> value, const Ref<TLink>& succ);
    Ref<TLink> InsertAfterLink(Ref<Object> value, const Ref<TLink>& pred);
    Ref<TLink> FindLink(const Ref<Object>& value) const;
    Ref<Object> ValueAtIndex(int index) const;
    int Count() const;
    bool Remove(const Ref<Object>& value);
    void Swap(TList& list);
    Ref<TList> Copy() const;
    void Reverse();
    Ref<TList> Reversed() const;
    ///@}
    ///@{
    /// Stable exchange sort that relinks the nodes in place and allocates nothing; a
    /// sorted list costs one pass of Count() - 1 comparisons.
    void Sort(bool ascending = true, CompareFunction compareFunc = CompareObjects);
    Ref<TListEnum> ObjectEnumerator() const;
    Array<Ref<Object>> ToArray() const;
    static Ref<TList> FromArray(const Array<Ref<Object>>& array);
    ///@}

    ///@{
    /// Range-for over the values, skipping Null values the way a for-each walk does;
    /// removing the value just returned is safe.
    class Iterator {
    public:
        explicit Iterator(Ref<TListEnum> e) : enum_(std::move(e)) { ++*this; }
        Iterator() = default;
        const Ref<Object>& operator*() const { return value_; }
        Iterator& operator++();
        bool operator!=(const Iterator&) const { return static_cast<bool>(value_); }

    private:
        Ref<TListEnum> enum_;
        Ref<Object> value_;
    };
    Iterator begin() const { return Iterator(ObjectEnumerator()); }
    Iterator end() const { return Iterator(); }
    ///@}

    Ref<TLink> _head;
};

/// The descriptor DataType returns; made when the module starts.
extern Ref<Object> ListDataType;

Ref<TList> CreateList();
void ClearList(const Ref<TList>& list);
int CountList(const Ref<TList>& list);
bool ListIsEmpty(const Ref<TList>& list);
bool ListContains(const Ref<TList>& list, const Ref<Object>& value);
void SortList(const Ref<TList>& list, bool ascending = true, CompareFunction compareFunc = CompareObjects);
Ref<TList> ListFromArray(const Array<Ref<Object>>& array);
Array<Ref<Object>> ListToArray(const Ref<TList>& list);
void SwapLists(const Ref<TList>& list_x, const Ref<TList>& list_y);
void ReverseList(const Ref<TList>& list);
Ref<TLink> ListFindLink(const Ref<TList>& list, const Ref<Object>& value);
Ref<TLink> ListAddLast(const Ref<TList>& list, Ref<Object> value);
Ref<TLink> ListAddFirst(const Ref<TList>& list, Ref<Object> value);
bool ListRemove(const Ref<TList>& list, const Ref<Object>& value);
void RemoveLink(const Ref<TLink>& link);

/// The module record of linkedlist (see InitModule).
extern Module linkedlist_module;

}  // namespace corvex
