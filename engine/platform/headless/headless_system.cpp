// The system driver of runs without a display: the pump emits the scripted events that
// are due by presentation count, runs posted main-thread operations, and answers every
// requester with "no".
#include <poll.h>
#include <cstdlib>
#include <vector>

#include "event/event.h"
#include "headless/headless.h"
#include "headless/input.h"
#include "headless/input_script.h"
#include "runtime/startup.h"
#include "platform/api/systemdriver.h"

namespace corvex {

namespace {

using headless::ScriptedEvent;

class THeadlessSystemDriver : public TSystemDriver {
public:
    THeadlessSystemDriver() {
        if (const char* path = std::getenv("CORVEX_INPUT_SCRIPT"); path && *path) Load(FromLaunchDir(path));
    }

    void Load(const String& path) {
        script_ = headless::ParseInputScript(path);
        loadedAt_ = HeadlessPresentations();
        next_ = 0;
        x_ = y_ = 0;
    }

    void Poll() override {
        if (moved_) {
            moved_ = false;
            CreateEvent(EVENT_MOUSEMOVE, nullptr, 0, 0, x_, y_)->Emit();
        }
        while (Due()) EmitNext();
        RunMainThreadOps();
    }

    // Nothing else can happen while the program waits, so the next scripted event comes
    // at once; with the script used up only another thread can wake the program.
    void Wait() override {
        if (!Due() && !moved_) {
            if (next_ < script_.size()) EmitNext();
            else WaitForOps();
        }
        Poll();
    }

    // Like a real pointer warp, the move arrives with the next pump.
    void MoveMouse(int x, int y) override {
        x_ = x;
        y_ = y;
        moved_ = true;
    }

    void SetMouseVisible(int) override {}
    void Notify(const String&, int) override {}
    int Confirm(const String&, int) override { return 0; }
    int Proceed(const String&, int) override { return -1; }
    String RequestFile(const String&, const String&, int, const String&) override { return String(); }
    String RequestDir(const String&, const String&) override { return String(); }
    int OpenURL(const String&) override { return 0; }

private:
    static String FromLaunchDir(const String& path) {
        if (path.StartsWith("/") || LaunchDirectory.IsEmpty()) return path;
        return LaunchDirectory + "/" + path;
    }

    bool Due() const {
        return next_ < script_.size() && script_[next_].presentation <= HeadlessPresentations() - loadedAt_;
    }

    static void WaitForOps() {
        pollfd wake{MainThreadWakeFd(), POLLIN, 0};
        poll(&wake, 1, -1);
    }

    void EmitNext() {
        const ScriptedEvent& e = script_[next_++];
        if (e.id == EVENT_MOUSEMOVE) {
            x_ = e.x;
            y_ = e.y;
        }
        bool atPointer = e.id == EVENT_MOUSEMOVE || e.id == EVENT_MOUSEDOWN || e.id == EVENT_MOUSEUP;
        CreateEvent(e.id, nullptr, e.data, 0, atPointer ? x_ : 0, atPointer ? y_ : 0)->Emit();
    }

    std::vector<ScriptedEvent> script_;
    size_t next_ = 0;
    int loadedAt_ = 0;  // presentations before the script was loaded
    int x_ = 0, y_ = 0;
    bool moved_ = false;
};

THeadlessSystemDriver* _driver = nullptr;

}  // namespace

Ref<TSystemDriver> CreatePlatformSystemDriver() {
    Ref<THeadlessSystemDriver> driver = New<THeadlessSystemDriver>();
    _driver = driver.get();
    return driver;
}

void HeadlessInputScript(const String& path) {
    if (!_driver) RaiseRuntimeError("The system module has not started");
    _driver->Load(path);
}

}  // namespace corvex
