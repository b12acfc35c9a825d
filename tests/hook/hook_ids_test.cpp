#include <gtest/gtest.h>

#include "event/event.h"
#include "runtime/exception.h"

using namespace corvex;

TEST(HookIds, TheEventHookIsTheFirstAndThe257thIdThrows) {
    InitModule(event_module);
    EXPECT_EQ(0, EmitEventHook);
    for (int expected = 1; expected <= 255; ++expected) EXPECT_EQ(expected, AllocHookId());
    for (int again = 0; again < 3; ++again) {
        try {
            AllocHookId();
            FAIL() << "an id beyond 255 was handed out";
        } catch (const TStringException& e) {
            EXPECT_EQ("Too many hook ids", e.ToString().ToUtf8());
        }
    }
}
