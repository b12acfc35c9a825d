#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cctype>
#include <string>
#include <thread>
#include <vector>

#include "event/event.h"
#include "runtime/exception.h"
#include "system/system.h"

using namespace corvex;

namespace {

// A driver whose pump emits one key event and counts how often it was entered.
class CountingDriver : public TSystemDriver {
public:
    int polls = 0;
    bool fail = false;
    void Poll() override {
        ++polls;
        CreateEvent(EVENT_KEYDOWN, nullptr, KEY_A)->Emit();
        if (fail) RaiseRuntimeError("pump failed");
    }
    void Wait() override { Poll(); }
    void MoveMouse(int, int) override {}
    void SetMouseVisible(int) override {}
    void Notify(const String&, int) override {}
    int Confirm(const String&, int) override { return 0; }
    int Proceed(const String&, int) override { return 0; }
    String RequestFile(const String&, const String&, int, const String&) override { return String(); }
    String RequestDir(const String&, const String&) override { return String(); }
    int OpenURL(const String&) override { return 0; }
};

int _nestedBusy = -1;

Ref<Object> PumpAgain(int, Ref<Object> data, Ref<Object>) {
    _nestedBusy = _busy;
    PollSystem();
    WaitSystem();
    return data;
}

class SystemPump : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(system_module);
        platform = Driver;
        Driver = counting = New<CountingDriver>();
        AddHook(EmitEventHook, PumpAgain);
    }
    void TearDown() override {
        RemoveHook(EmitEventHook, PumpAgain);
        Driver = platform;
    }
    Ref<TSystemDriver> platform;
    Ref<CountingDriver> counting;
};

// Whether text has the shape of pattern: '0' a digit, 'A' an upper-case letter, 'a' a
// lower-case one, anything else itself. (Plain code: std::regex draws a false warning
// from GCC 12 in sanitizer builds.)
bool Fits(const std::string& text, const std::string& pattern) {
    if (text.size() != pattern.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool fits = pattern[i] == '0'   ? std::isdigit(c)
                    : pattern[i] == 'A' ? std::isupper(c)
                    : pattern[i] == 'a' ? std::islower(c)
                                        : text[i] == pattern[i];
        if (!fits) return false;
    }
    return true;
}

std::vector<int> _ran;

void Record(Ref<Object> object, intptr_t value) {
    _ran.push_back(static_cast<int>(value));
    if (object) _ran.push_back(-String::FromObject(object).ToInt());
}

}  // namespace

TEST_F(SystemPump, PumpingFromAHookDuringAPumpReturnsAtOnce) {
    PollSystem();
    EXPECT_EQ(1, counting->polls);
    EXPECT_EQ(1, _nestedBusy);
    EXPECT_EQ(0, _busy);
    WaitSystem();
    EXPECT_EQ(2, counting->polls);
}

TEST_F(SystemPump, AnExceptionFromThePumpDoesNotBlockLaterPumps) {
    counting->fail = true;
    EXPECT_THROW(PollSystem(), TRuntimeException);
    EXPECT_EQ(0, _busy);
    counting->fail = false;
    PollSystem();
    EXPECT_EQ(2, counting->polls);
}

TEST(MainThreadOps, PostedFromOtherThreadsRunInTheNextPumpInPostingOrder) {
    InitModule(system_module);
    _ran.clear();
    std::thread([] {
        for (int i = 1; i <= 5; ++i) PostMainThreadOp(Record, nullptr, i);
    }).join();
    EXPECT_TRUE(_ran.empty()) << "nothing runs outside a pump";
    PollSystem();
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), _ran);
    PollSystem();
    EXPECT_EQ(5u, _ran.size()) << "each runs once";
}

TEST(MainThreadOps, OperationsPostedWhileRunningWaitForTheNextPump) {
    InitModule(system_module);
    _ran.clear();
    PostMainThreadOp(
        [](Ref<Object>, intptr_t) {
        _ran.push_back(1);
        PostMainThreadOp(Record, nullptr, 2);
        },
        nullptr, 0);
    PollSystem();
    EXPECT_EQ((std::vector<int>{1}), _ran);
    PollSystem();
    EXPECT_EQ((std::vector<int>{1, 2}), _ran);
}

TEST(MainThreadOps, OperationsLeftByOneThatThrewStillWakeAWaitingPump) {
    InitModule(system_module);
    _ran.clear();
    PostMainThreadOp([](Ref<Object>, intptr_t) { RaiseRuntimeError("operation failed"); }, nullptr, 0);
    PostMainThreadOp(Record, nullptr, 2);
    EXPECT_THROW(PollSystem(), TRuntimeException);
    EXPECT_TRUE(_ran.empty());
    pollfd wake{MainThreadWakeFd(), POLLIN, 0};
    ASSERT_EQ(1, poll(&wake, 1, 0)) << "a waiting pump would sleep through the operation left over";
    WaitSystem();
    EXPECT_EQ((std::vector<int>{2}), _ran);
}

TEST(MainThreadOps, NewThreadResultIsDeliveredWithTheObjectOnTheMainThread) {
    InitModule(system_module);
    _ran.clear();
    auto object = String("7").AsObject();
    RunOnNewThread(
        Record, object, [](intptr_t arg) -> intptr_t { return arg * 2; }, 21);
    object = nullptr;  // the operation keeps its own reference
    for (int i = 0; i < 1000 && _ran.empty(); ++i) WaitSystem();
    EXPECT_EQ((std::vector<int>{42, -7}), _ran);
}

TEST(URLs, WebAndFileURLsPassUnchanged) {
    InitModule(system_module);
    EXPECT_EQ(String("http://example.org/#top"), ExpandURL("http://example.org/#top"));
    EXPECT_EQ(String("FILE:/tmp"), ExpandURL("FILE:/tmp"));
}

TEST(URLs, ExistingPathsBecomeFileURLsKeepingTheAnchorOthersBecomeWebURLs) {
    InitModule(system_module);
    char dir[] = "/tmp/urltestXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    std::string page = std::string(dir) + "/page.html";
    std::fclose(std::fopen(page.c_str(), "w"));
    EXPECT_EQ(String("file:") + String(page) + "#part", ExpandURL(String(dir) + "/./page.html#part"));
    EXPECT_EQ(String("file:") + String(dir), ExpandURL(String(dir)));
    EXPECT_EQ(String("http:www.example.org/a#b"), ExpandURL("www.example.org/a#b"));
    unlink(page.c_str());
    rmdir(dir);
}

TEST(Clock, CurrentDateAndTimeUseTheirFormats) {
    InitModule(system_module);
    EXPECT_TRUE(Fits(CurrentDate().ToUtf8(), "00 Aaa 0000")) << CurrentDate().ToUtf8();
    EXPECT_TRUE(Fits(CurrentTime().ToUtf8(), "00:00:00")) << CurrentTime().ToUtf8();
}
