#include "graphics/graphics.h"

#include "graphics/state.h"
#include "hook/hook.h"
#include "polledinput/polledinput.h"
#include "system/system.h"

namespace corvex {

using namespace graphics_state;

namespace graphics_state {
int _defaultFlags = 0;
Ref<TGraphicsDriver> _driver;
GraphicsModeList _graphicsModes;
Ref<TGraphics> _graphics;
int _gWidth = 0, _gHeight = 0, _gDepth = 0, _gHertz = 0, _gFlags = 0;
Ref<TGraphics> _exGraphics;
}  // namespace graphics_state

int FlipHook = 0;

String TGraphicsMode::ToString() const {
    return String::FromInt(width) + "," + String::FromInt(height) + "," + String::FromInt(depth) + " " +
           String::FromInt(hertz) + "Hz";
}

namespace {

void ClearSettings() { _gWidth = _gHeight = _gDepth = _gHertz = _gFlags = 0; }

// Tells the current driver it has no current context any more, then adopts driver.
void ChangeDriver(const Ref<TGraphicsDriver>& driver) {
    if (_driver && _graphics) _driver->SetGraphics(nullptr);
    _graphicsModes = GraphicsModeList();
    _driver = driver;
}

}  // namespace

void SetGraphicsDriver(Ref<TGraphicsDriver> driver, int defaultFlags) {
    if (driver != _driver) ChangeDriver(driver);
    _defaultFlags = defaultFlags;
    _graphics = nullptr;
    ClearSettings();
}

int DefaultGraphicsFlags() { return _defaultFlags; }

Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    flags |= _defaultFlags;
    try {
        return _driver->CreateGraphics(width, height, depth, hertz, flags);
    } catch (...) {
        return nullptr;
    }
}

Ref<TGraphics> AttachGraphics(GraphicsWidget widget, int flags) {
    flags |= _defaultFlags;
    try {
        return _driver->AttachGraphics(widget, flags);
    } catch (...) {
        return nullptr;
    }
}

void CloseGraphics(Ref<TGraphics> g) {
    if (g == _exGraphics) _exGraphics = nullptr;
    if (g == _graphics) SetGraphics(nullptr);
    g->Close();
}

void SetGraphics(Ref<TGraphics> g) {
    if (!g) {
        if (_driver && _graphics) _driver->SetGraphics(nullptr);
        _graphics = nullptr;
        ClearSettings();
        return;
    }
    Ref<TGraphicsDriver> d = g->Driver();
    if (d != _driver) ChangeDriver(d);
    g->GetSettings(_gWidth, _gHeight, _gDepth, _gHertz, _gFlags);
    d->SetGraphics(g);
    _graphics = g;
}

int GraphicsWidth() { return _gWidth; }
int GraphicsHeight() { return _gHeight; }
int GraphicsDepth() { return _gDepth; }
int GraphicsHertz() { return _gHertz; }
int GraphicsFlags() { return _gFlags; }

CORVEX_MODULE(graphics, &runtime_module, &hook_module, &system_module, &polledinput_module) {
    FlipHook = AllocHookId();
}

}  // namespace corvex
