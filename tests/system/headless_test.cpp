#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "event/event.h"
#include "headless/headless.h"
#include "headless/input.h"
#include "system/system.h"
#include "runtime/exception.h"
#include "system/system.h"

using namespace corvex;

namespace {

std::vector<std::string> _seen;
int _loadedAt = 0;

Ref<Object> Note(int, Ref<Object> data, Ref<Object>) {
    auto e = Cast<TEvent>(data);
    _seen.push_back(e->ToString().ToUtf8().substr(0, e->ToString().ToUtf8().find(", extra")) + " @" +
                    std::to_string(HeadlessPresentations() - _loadedAt));
    return data;
}

class Script : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(system_module);
        AddHook(EmitEventHook, Note);
        _seen.clear();
        path = testing::TempDir() + "input_script.txt";
    }
    void TearDown() override { RemoveHook(EmitEventHook, Note); }

    void Load(const std::string& text) {
        std::ofstream(path) << text;
        HeadlessInputScript(String(path));
        _loadedAt = HeadlessPresentations();
    }
    std::string ErrorOf(const std::string& text) {
        try {
            Load(text);
        } catch (const TRuntimeException& e) {
            return e.ToString().ToUtf8();
        }
        return "no error";
    }
    // Pumps, then presents once, n times.
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            PollSystem();
            HeadlessPresented();
        }
    }
    std::string path;
};

}  // namespace

TEST_F(Script, EventsArriveAtTheFirstPumpAfterTheirPresentation) {
    HeadlessPresented();
    Load("# a comment line\n"
         "0 move 10 20\n"
         "\n"
         "0 down 1   # at the pointer\n"
         "2 up 1\n"
         "2 keydown 27\n"
         "3 keyup 27\n"
         "3 char 97\n"
         "5 close\n");
    Frames(6);
    EXPECT_EQ((std::vector<std::string>{
                  "MouseMove: data=0, mods=0, x=10, y=20 @0",
                  "MouseDown: data=1, mods=0, x=10, y=20 @0",
                  "MouseUp: data=1, mods=0, x=10, y=20 @2",
                  "KeyDown: data=27, mods=0, x=0, y=0 @2",
                  "KeyUp: data=27, mods=0, x=0, y=0 @3",
                  "KeyChar: data=97, mods=0, x=0, y=0 @3",
                  "AppTerminate: data=0, mods=0, x=0, y=0 @5",
              }),
              _seen);
}

TEST_F(Script, PointerStartsAtTheOriginAndEventsKeepFileOrder) {
    Load("4 down 2\n1 move 3 4\n");
    Frames(5);
    EXPECT_EQ(
        (std::vector<std::string>{"MouseDown: data=2, mods=0, x=0, y=0 @4", "MouseMove: data=0, mods=0, x=3, y=4 @4"}),
        _seen);
}

TEST_F(Script, WaitingReleasesTheNextEventAtOnce) {
    Load("100 keydown 65\n");
    WaitSystem();
    EXPECT_EQ((std::vector<std::string>{"KeyDown: data=65, mods=0, x=0, y=0 @0"}), _seen);
}

TEST_F(Script, MovingTheMouseGivesAMoveAtTheNextPump) {
    Load("");
    MoveMouse(7, 8);
    EXPECT_TRUE(_seen.empty());
    PollSystem();
    EXPECT_EQ((std::vector<std::string>{"MouseMove: data=0, mods=0, x=7, y=8 @0"}), _seen);
}

TEST_F(Script, MalformedLinesNameTheFileTheLineAndTheFault) {
    EXPECT_EQ(path + ":2: unknown event 'jump'", ErrorOf("0 close\n0 jump\n"));
    EXPECT_EQ(path + ":1: 'move' takes 2 argument(s), not 1", ErrorOf("0 move 5\n"));
    EXPECT_EQ(path + ":1: presentation count 'x' is not a whole number", ErrorOf("x close\n"));
    EXPECT_EQ(path + ":1: presentation count -1 is outside 0 to 2147483647", ErrorOf("-1 close\n"));
    EXPECT_EQ(path + ":3: argument 4 is outside 1 to 3", ErrorOf("\n# c\n1 down 4\n"));
    EXPECT_EQ(path + ":1: argument 256 is outside 1 to 255", ErrorOf("1 keydown 256\n"));
    EXPECT_EQ(path + ":1: argument 'a' is not a whole number", ErrorOf("1 char a\n"));
    EXPECT_EQ(path + ":1: expected a presentation count and an event", ErrorOf("7\n"));
    EXPECT_EQ(path + ":1: 'close' takes 0 argument(s), not 1", ErrorOf("0 close now\n"));
    auto loadError = [](const std::string& where) {
        try {
            HeadlessInputScript(String(where));
        } catch (const TRuntimeException& e) {
            return e.ToString().ToUtf8();
        }
        return std::string("no error");
    };
    EXPECT_EQ("/nonexistent/script: cannot read the input script", loadError("/nonexistent/script"));
    EXPECT_EQ("/tmp: cannot read the input script", loadError("/tmp")) << "a folder opens but has no lines";
}

TEST(VirtualClock, AdvancesOnlyBySleepingAndByExactlyTheSleep) {
    InitModule(system_module);
    HeadlessSetClock(0);
    EXPECT_EQ(0, MilliSecs());
    for (int i = 0; i < 100; ++i) PollSystem();
    HeadlessPresented();
    EXPECT_EQ(0, MilliSecs()) << "pumping and presenting take no virtual time";
    Delay(16);
    EXPECT_EQ(16, MilliSecs());
    Delay(0);
    Delay(-5);
    EXPECT_EQ(16, MilliSecs());
    Delay(1000);
    EXPECT_EQ(1016, MilliSecs());
}
