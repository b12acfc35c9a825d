#include <gtest/gtest.h>

#include <vector>

#include "event/event.h"

using namespace corvex;

namespace {

std::vector<Ref<TEvent>> seen;

Ref<Object> Record(int, Ref<Object> data, Ref<Object>) {
    seen.push_back(Cast<TEvent>(data));
    return data;
}

}  // namespace

TEST(Event, NewEventIsEmpty) {
    auto e = New<TEvent>();
    EXPECT_EQ(0, e->id);
    EXPECT_FALSE(e->source);
    EXPECT_FALSE(e->extra);
    EXPECT_EQ(0, e->data + e->mods + e->x + e->y);
}

TEST(Event, ToStringTexts) {
    EXPECT_EQ("KeyDown: data=27, mods=0, x=0, y=0, extra=\"\"",
              CreateEvent(EVENT_KEYDOWN, nullptr, 27)->ToString().ToUtf8());
    EXPECT_EQ("MouseMove: data=1, mods=3, x=-4, y=700, extra=\"hi\"",
              CreateEvent(EVENT_MOUSEMOVE, nullptr, 1, 3, -4, 700, String("hi").AsObject())->ToString().ToUtf8());
    EXPECT_EQ("UserEvent5: data=0, mods=0, x=0, y=0, extra=\"\"",
              CreateEvent(EVENT_USEREVENTMASK + 5)->ToString().ToUtf8());
    EXPECT_EQ("Unknown Event, id=12345: data=0, mods=0, x=0, y=0, extra=\"\"", CreateEvent(12345)->ToString().ToUtf8());
    EXPECT_EQ("Unknown Event, id=256: data=0, mods=0, x=0, y=0, extra=\"\"",
              CreateEvent(EVENT_APPMASK)->ToString().ToUtf8())
        << "masks are not events";
    EXPECT_EQ("AppTerminate: data=0, mods=0, x=0, y=0, extra=\"\"",
              CreateEvent(EVENT_APPTERMINATE, New<Object>(), 0, 0, 0, 0, New<Object>())->ToString().ToUtf8())
        << "an extra that is not a string shows as empty";
}

TEST(Event, UserIdsCountUpFromTheMask) {
    int first = AllocUserEventId();
    EXPECT_EQ(static_cast<int>(0x80000001u), first);
    EXPECT_EQ(first + 1, TEvent::AllocUserId());
}

TEST(Event, EmitRunsTheEmitEventHookChain) {
    InitModule(event_module);
    AddHook(EmitEventHook, Record);
    auto e = CreateEvent(EVENT_MOUSEDOWN, nullptr, 1, 0, 10, 20);
    EmitEvent(e);
    e->Emit();
    RemoveHook(EmitEventHook, Record);
    EmitEvent(e);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(e, seen[0]);
    EXPECT_EQ(1025, seen[1]->id);
    seen.clear();
}

namespace {

Ref<Object> MarkSeen(int, Ref<Object> data, Ref<Object>) {
    Cast<TEvent>(data)->mods = 99;
    return data;
}

}  // namespace

TEST(Event, EmittingAnEventOnTheStackLeavesItAlone) {
    InitModule(event_module);
    AddHook(EmitEventHook, Record);
    AddHook(EmitEventHook, MarkSeen);
    {
        TEvent e;
        e.id = EVENT_KEYDOWN;
        e.data = 27;
        e.Emit();
        e.Emit();
        EXPECT_EQ(EVENT_KEYDOWN, e.id);
        EXPECT_EQ(27, e.data);
        EXPECT_EQ(99, e.mods) << "what the hooks change shows in the event emitted";
        EXPECT_EQ(0, e.RefCount()) << "emitting takes no hold of it";
    }
    RemoveHook(EmitEventHook, MarkSeen);
    RemoveHook(EmitEventHook, Record);
    ASSERT_EQ(2u, seen.size());
    for (const Ref<TEvent>& kept : seen) {
        // What a hook kept outlives the event on the stack.
        EXPECT_EQ(EVENT_KEYDOWN, kept->id);
        EXPECT_EQ(27, kept->data);
    }
    seen.clear();
}
