// A graphics driver for tests: contexts are plain records; every call is logged, and
// presentation times are taken from the platform clock.
#pragma once

#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "system/system.h"
#include "runtime/exception.h"

namespace corvex::testing {

class FakeDriver;

class FakeGraphics : public TGraphics {
public:
    FakeGraphics(FakeDriver* driver, int w, int h, int d, int hz, int f)
        : driver_(driver), width(w), height(h), depth(d), hertz(hz), flags(f) {}
    Ref<TGraphicsDriver> Driver() override;
    void GetSettings(int& w, int& h, int& d, int& hz, int& f) override {
        w = width, h = height, d = depth, hz = hertz, f = flags;
    }
    void Close() override { ++closes; }

    FakeDriver* driver_;
    int width, height, depth, hertz, flags;
    int closes = 0;
};

class FakeDriver : public TGraphicsDriver {
public:
    GraphicsModeList GraphicsModes() override {
        ++modeQueries;
        GraphicsModeList list(static_cast<int>(modes.size()));
        for (int i = 0; i < list.Length(); ++i) {
            list[i] = New<TGraphicsMode>();
            list[i]->width = modes[i][0];
            list[i]->height = modes[i][1];
            list[i]->depth = modes[i][2];
            list[i]->hertz = modes[i][3];
        }
        return list;
    }
    Ref<TGraphics> AttachGraphics(GraphicsWidget, int f) override {
        if (failing) RaiseRuntimeError("no window");
        return New<FakeGraphics>(this, 320, 200, 0, 0, f);
    }
    Ref<TGraphics> CreateGraphics(int w, int h, int d, int hz, int f) override {
        if (failing) ThrowString("cannot");
        return New<FakeGraphics>(this, w, h, d, hz, f);
    }
    void SetGraphics(Ref<TGraphics> g) override {
        current = g;
        log.push_back(g ? "set" : "set null");
    }
    // A vertically synchronised flip lasts vsyncCost milliseconds.
    void Flip(int sync) override {
        if (sync == 1) Delay(vsyncCost);
        flips.push_back({sync, MilliSecs()});
    }

    struct Presentation {
        int sync;
        int at;
    };
    std::vector<std::vector<int>> modes;
    int modeQueries = 0;
    bool failing = false;
    int vsyncCost = 0;
    Ref<TGraphics> current;
    std::vector<std::string> log;
    std::vector<Presentation> flips;
};

inline Ref<TGraphicsDriver> FakeGraphics::Driver() { return Ref<TGraphicsDriver>(driver_); }

}  // namespace corvex::testing
