#include "linkedlist/linkedlist.h"

#include <utility>

#include "runtime/exception.h"
#include "runtime/string.h"

namespace corvex {

Ref<Object> ListDataType;

namespace {

class TListDataType : public Object {
public:
    String ToString() const override { return "TList"; }
};

}  // namespace

CORVEX_MODULE(linkedlist, &runtime_module) { ListDataType = New<TListDataType>(); }

// ---- TLink

namespace {

// Frees, one after the other, the links along dir that nothing but the previous one holds.
void FreeChain(Ref<TLink> link, Ref<TLink> TLink::*dir) {
    while (link && link->RefCount() == 1) link = std::move((*link).*dir);
}

}  // namespace

// Removed links keep their neighbours, so clearing a list under a walk leaves a chain of
// links, each held only by the one before it; freeing it by plain recursion could take as
// many stack frames as the list had elements.
TLink::~TLink() {
    FreeChain(std::move(_succ), &TLink::_succ);
    FreeChain(std::move(_pred), &TLink::_pred);
}

Ref<TLink> TLink::NextLink() const { return _succ->IsSentinel() ? nullptr : _succ; }

Ref<TLink> TLink::PrevLink() const { return _pred->IsSentinel() ? nullptr : _pred; }

void TLink::Remove() {
    Ref<TLink> keep(this);  // the last reference may be the one a neighbour drops below
    _value = nullptr;
    _succ->_pred = _pred;
    _pred->_succ = _succ;
}

// ---- TListEnum

bool TListEnum::HasNext() const { return !_link->IsSentinel(); }

Ref<Object> TListEnum::NextObject() {
    Ref<Object> value = _link->_value;
    if (value.get() == _link.get()) RaiseRuntimeError("Assert failed");
    _link = _link->_succ;
    return value;
}

TList::Iterator& TList::Iterator::operator++() {
    value_ = nullptr;
    while (!value_ && enum_ && enum_->HasNext()) value_ = enum_->NextObject();
    return *this;
}

// ---- TList

int CompareObjects(Object* a, Object* b) {
    if (!a) ThrowNullObject();
    return a->Compare(b);
}

TList::TList() : _head(New<TLink>()) {
    _head->_succ = _head;
    _head->_pred = _head;
    _head->_value = _head;
}

TList::~TList() {
    Clear();
    _head->_value = nullptr;
    _head->_succ = nullptr;
    _head->_pred = nullptr;
}

Ref<Object> TList::DataType() const { return ListDataType; }

void TList::Clear() {
    while (_head->_succ != _head) _head->_succ->Remove();
}

bool TList::IsEmpty() const { return _head->_succ == _head; }

bool TList::Contains(const Ref<Object>& value) const { return static_cast<bool>(FindLink(value)); }

Ref<TLink> TList::AddFirst(Ref<Object> value) { return InsertAfterLink(std::move(value), _head); }

Ref<TLink> TList::AddLast(Ref<Object> value) { return InsertBeforeLink(std::move(value), _head); }

Ref<Object> TList::First() const {
    if (IsEmpty()) RaiseRuntimeError("Illegal operation on empty list");
    return _head->_succ->_value;
}

Ref<Object> TList::Last() const {
    if (IsEmpty()) RaiseRuntimeError("Illegal operation on empty list");
    return _head->_pred->_value;
}

Ref<Object> TList::RemoveFirst() {
    Ref<Object> value = First();
    _head->_succ->Remove();
    return value;
}

Ref<Object> TList::RemoveLast() {
    Ref<Object> value = Last();
    _head->_pred->Remove();
    return value;
}

Ref<TLink> TList::FirstLink() const { return IsEmpty() ? nullptr : _head->_succ; }

Ref<TLink> TList::LastLink() const { return IsEmpty() ? nullptr : _head->_pred; }

Ref<TLink> TList::InsertBeforeLink(Ref<Object> value, const Ref<TLink>& succ) {
    auto link = New<TLink>();
    link->_value = std::move(value);
    link->_succ = succ;
    link->_pred = succ->_pred;
    link->_pred->_succ = link;
    succ->_pred = link;
    return link;
}

Ref<TLink> TList::InsertAfterLink(Ref<Object> value, const Ref<TLink>& pred) {
    auto link = New<TLink>();
    link->_value = std::move(value);
    link->_pred = pred;
    link->_succ = pred->_succ;
    link->_succ->_pred = link;
    pred->_succ = link;
    return link;
}

Ref<TLink> TList::FindLink(const Ref<Object>& value) const {
    for (TLink* link = _head->_succ.get(); link != _head.get(); link = link->_succ.get())
        if (CompareObjects(link->_value.get(), value.get()) == 0) return link;
    return nullptr;
}

Ref<Object> TList::ValueAtIndex(int index) const {
    if (index < 0) RaiseRuntimeError("Object index must be positive");
    for (TLink* link = _head->_succ.get(); link != _head.get(); link = link->_succ.get())
        if (index-- == 0) return link->_value;
    RaiseRuntimeError("List index out of range");
}

int TList::Count() const {
    int n = 0;
    for (TLink* link = _head->_succ.get(); link != _head.get(); link = link->_succ.get()) ++n;
    return n;
}

bool TList::Remove(const Ref<Object>& value) {
    Ref<TLink> link = FindLink(value);
    if (!link) return false;
    link->Remove();
    return true;
}

void TList::Swap(TList& list) { std::swap(_head, list._head); }

Ref<TList> TList::Copy() const {
    auto list = New<TList>();
    for (TLink* link = _head->_succ.get(); link != _head.get(); link = link->_succ.get()) list->AddLast(link->_value);
    return list;
}

void TList::Reverse() {
    // Every link, the sentinel included, exchanges its two neighbours.
    TLink* at = _head.get();
    do {
        TLink* next = at->_succ.get();
        std::swap(at->_succ, at->_pred);
        at = next;
    } while (at != _head.get());
}

Ref<TList> TList::Reversed() const {
    auto list = New<TList>();
    for (TLink* link = _head->_succ.get(); link != _head.get(); link = link->_succ.get()) list->AddFirst(link->_value);
    return list;
}

void TList::Sort(bool ascending, CompareFunction compareFunc) {
    if (!compareFunc) throw TNullFunctionException();
    TLink* term = _head.get();
    for (;;) {
        TLink* link = _head->_succ.get();
        bool sorted = true;
        for (;;) {
            TLink* succ = link->_succ.get();
            if (succ == term) break;
            int cc = compareFunc(link->_value.get(), succ->_value.get());
            if ((cc > 0 && ascending) || (cc < 0 && !ascending)) {
                // pred, link, succ, next becomes pred, succ, link, next. Exchanging the
                // references moves them without touching any count.
                TLink* pred = link->_pred.get();
                TLink* next = succ->_succ.get();
                std::swap(pred->_succ, link->_succ);
                std::swap(link->_succ, succ->_succ);
                std::swap(next->_pred, succ->_pred);
                std::swap(succ->_pred, link->_pred);
                sorted = false;
            } else {
                link = succ;
            }
        }
        if (sorted) return;
        term = link;
    }
}

Ref<TListEnum> TList::ObjectEnumerator() const {
    auto e = New<TListEnum>();
    e->_link = _head->_succ;
    return e;
}

Array<Ref<Object>> TList::ToArray() const {
    Array<Ref<Object>> array(Count());
    int i = 0;
    for (TLink* link = _head->_succ.get(); link != _head.get(); link = link->_succ.get()) array[i++] = link->_value;
    return array;
}

Ref<TList> TList::FromArray(const Array<Ref<Object>>& array) {
    auto list = New<TList>();
    for (const Ref<Object>& value : array) list->AddLast(value);
    return list;
}

// ---- free functions

Ref<TList> CreateList() { return New<TList>(); }
void ClearList(const Ref<TList>& list) { list->Clear(); }
int CountList(const Ref<TList>& list) { return list->Count(); }
bool ListIsEmpty(const Ref<TList>& list) { return list->IsEmpty(); }
bool ListContains(const Ref<TList>& list, const Ref<Object>& value) { return list->Contains(value); }
void SortList(const Ref<TList>& list, bool ascending, CompareFunction compareFunc) {
    list->Sort(ascending, compareFunc);
}
Ref<TList> ListFromArray(const Array<Ref<Object>>& array) { return TList::FromArray(array); }
Array<Ref<Object>> ListToArray(const Ref<TList>& list) { return list->ToArray(); }
void SwapLists(const Ref<TList>& list_x, const Ref<TList>& list_y) { list_x->Swap(*list_y); }
void ReverseList(const Ref<TList>& list) { list->Reverse(); }
Ref<TLink> ListFindLink(const Ref<TList>& list, const Ref<Object>& value) { return list->FindLink(value); }
Ref<TLink> ListAddLast(const Ref<TList>& list, Ref<Object> value) { return list->AddLast(std::move(value)); }
Ref<TLink> ListAddFirst(const Ref<TList>& list, Ref<Object> value) { return list->AddFirst(std::move(value)); }
bool ListRemove(const Ref<TList>& list, const Ref<Object>& value) { return list->Remove(value); }
void RemoveLink(const Ref<TLink>& link) { link->Remove(); }

}  // namespace corvex
