// The exclusive context and frame pacing.
//
// Flip(-1) on the exclusive context presents frames on a millisecond schedule that
// spreads the remainder of 1000 / hertz over the frames (16, 17, 17 ms at 60 Hz), so a
// second holds exactly hertz frames. A late frame moves the schedule rather than letting
// the following frames run early to catch up.
#include "graphics/graphics.h"
#include "graphics/state.h"
#include "hook/hook.h"
#include "polledinput/polledinput.h"
#include "runtime/startup.h"
#include "system/system.h"

namespace corvex {

using namespace graphics_state;

int GraphicsSeq = 1;

namespace {

int _softSync = 0;
int _syncRate = 0;
int _syncPeriod = 0;
int _syncFrac = 0;
int _syncAccum = 0;
int _syncTime = 0;
int _onEnd = 0;

void NextGraphicsSeq() {
    GraphicsSeq = WrapAdd(GraphicsSeq, 1);
    if (GraphicsSeq == 0) GraphicsSeq = 1;
}

// A second of vertically synchronised flips: three running flips that each last the
// requested period within a millisecond show that the hardware already paces at hertz.
bool HardwareRunsAt(int hertz) {
    const int end = WrapAdd(MilliSecs(), 1000);
    int n = 0;
    while (WrapSub(end, MilliSecs()) > 0) {
        const int t = MilliSecs();
        _driver->Flip(1);
        const int off = WrapSub(WrapSub(MilliSecs(), t), 1000 / hertz);
        if (off < -1 || off > 1) {
            n = 0;
        } else if (++n == 3) {
            return true;
        }
    }
    return false;
}

void StartSchedule(int hertz) {
    _syncRate = hertz;
    _syncPeriod = _syncRate ? 1000 / _syncRate : 0;
    _syncFrac = 1000 - _syncPeriod * _syncRate;
    _syncAccum = 0;
    _syncTime = MilliSecs();
}

// Waits for the next slot of the schedule.
void WaitForSlot() {
    _syncTime = WrapAdd(_syncTime, _syncPeriod);
    _syncAccum += _syncFrac;
    if (_syncAccum >= _syncRate) {
        _syncAccum -= _syncRate;
        _syncTime = WrapAdd(_syncTime, 1);
    }
    const int dt = WrapSub(_syncTime, MilliSecs());
    if (dt > 0) {
        Delay(dt);
    } else {
        _syncTime = WrapSub(_syncTime, dt);
    }
}

}  // namespace

Ref<TGraphics> Graphics(int width, int height, int depth, int hertz, int flags) {
    EndGraphics();
    flags |= _defaultFlags;
    Ref<TGraphics> g = CreateGraphics(width, height, depth, hertz, flags);
    if (!g) return nullptr;
    NextGraphicsSeq();
    SetGraphics(g);

    // A rate below zero has no period to pace or measure against: it counts as none.
    _softSync = 1;
    if (hertz <= 0) {
        _softSync = 0;
    } else if (depth != 0 && HardwareRunsAt(hertz)) {
        _softSync = 0;
    }
    StartSchedule(hertz);
    _exGraphics = g;

    if (depth != 0) MoveMouse(width / 2, height / 2);
    EnablePolledInput(nullptr);
    if (!_onEnd) {
        _onEnd = 1;
        AddEndHandler(EndGraphics);
    }
    return g;
}

void EndGraphics() {
    if (!_exGraphics) return;
    NextGraphicsSeq();
    DisablePolledInput();
    CloseGraphics(_exGraphics);
}

void Flip(int sync) {
    RaisePendingSignal();
    RunHooks(FlipHook, nullptr);
    if (sync != -1) {
        _driver->Flip(sync);
        return;
    }
    if (_graphics != _exGraphics || _softSync == 0) {
        _driver->Flip(_gDepth != 0 ? 1 : 0);
        return;
    }
    WaitForSlot();
    _driver->Flip(0);
}

}  // namespace corvex
