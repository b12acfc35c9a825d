// Helpers for the list tests: numbered elements and a readable picture of a list.
#pragma once

#include <string>

#include "linkedlist/linkedlist.h"
#include "runtime/string.h"

namespace corvex::testing {

// An element with a key (compared) and a tag (not compared), to see stability.
struct Item : Object {
    Item(int k, char t = ' ') : key(k), tag(t) {}
    int Compare(const Object* other) const override {
        auto o = dynamic_cast<const Item*>(other);
        return o ? key - o->key : Object::Compare(other);
    }
    int key;
    char tag;
};

inline Ref<Item> Make(int key, char tag = ' ') { return New<Item>(key, tag); }

inline int ByKey(Object* a, Object* b) { return static_cast<Item*>(a)->key - static_cast<Item*>(b)->key; }

// "1a 2b 3c": keys and tags in list order, walking both directions to check the ring.
inline std::string Picture(const TList& list) {
    std::string forward, backward;
    for (TLink* l = list._head->_succ.get(); l != list._head.get(); l = l->_succ.get()) {
        auto item = static_cast<Item*>(l->_value.get());
        forward += (forward.empty() ? "" : " ") + std::to_string(item->key) +
                   (item->tag == ' ' ? "" : std::string(1, item->tag));
    }
    for (TLink* l = list._head->_pred.get(); l != list._head.get(); l = l->_pred.get()) {
        auto item = static_cast<Item*>(l->_value.get());
        backward = std::to_string(item->key) + (item->tag == ' ' ? "" : std::string(1, item->tag)) +
                   (backward.empty() ? "" : " ") + backward;
    }
    return forward == backward ? forward : "broken ring: " + forward + " / " + backward;
}

}  // namespace corvex::testing
