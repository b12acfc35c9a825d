#include "system/system.h"

#include <ctime>

#include "event/event.h"
#include "filesystem/filesystem.h"
#include "hook/hook.h"
#include "platform/api/clock.h"
#include "runtime/startup.h"

namespace corvex {

Ref<TSystemDriver> Driver;
int _busy = 0;

CORVEX_MODULE(system, &runtime_module, &filesystem_module, &hook_module, &event_module, &systemdriver_module) {
    Driver = CreatePlatformSystemDriver();
}

namespace {

// Runs one pump of the driver unless one is already running further up the stack. The
// flag is cleared however the pump ends, so an exception from a hook cannot leave every
// later pump refused.
void Pump(void (TSystemDriver::*pump)()) {
    if (_busy) return;
    _busy = 1;
    struct Clear {
        ~Clear() { _busy = 0; }
    } clear;
    ((*Driver).*pump)();
}

String FormatNow(const char* format) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    size_t n = std::strftime(text, sizeof text, format, &local);
    return String(std::string_view(text, n));
}

}  // namespace

void PollSystem() { Pump(&TSystemDriver::Poll); }
void WaitSystem() { Pump(&TSystemDriver::Wait); }

void MoveMouse(int x, int y) { Driver->MoveMouse(x, y); }
void ShowMouse() { Driver->SetMouseVisible(1); }
void HideMouse() { Driver->SetMouseVisible(0); }

void Notify(const String& text, int serious) { Driver->Notify(text, serious); }
int Confirm(const String& text, int serious) { return Driver->Confirm(text, serious); }
int Proceed(const String& text, int serious) { return Driver->Proceed(text, serious); }

String RequestFile(const String& text, const String& extensions, int save, const String& path) {
    return Driver->RequestFile(text, extensions, save, path);
}

String RequestDir(const String& text, const String& path) { return Driver->RequestDir(text, path); }

int OpenURL(const String& url) { return Driver->OpenURL(ExpandURL(url)); }

String ExpandURL(const String& url) {
    String lower = url.ToLower();
    if (lower.StartsWith("http:") || lower.StartsWith("file:")) return url;
    int hash = url.Find("#");
    String anchor = hash >= 0 ? url.Mid(hash) : String();
    String path = hash >= 0 ? url.Left(hash) : url;
    String full = RealPath(path);
    if (FileType(full) != FILETYPE_NONE) return String("file:") + full + anchor;
    return String("http:") + url;
}

String CurrentDate() { return FormatNow("%d %b %Y"); }
String CurrentTime() { return FormatNow("%H:%M:%S"); }

int MilliSecs() { return PlatformMilliSecs(); }

void Delay(int ms) {
    PlatformDelay(ms);
    RaisePendingSignal();
}

}  // namespace corvex
