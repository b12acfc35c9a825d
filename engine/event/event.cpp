#include "event/event.h"

namespace corvex {

int EmitEventHook = 0;

namespace {

int _userEventId = static_cast<int>(0x80000000u);

const char* EventName(int id) {
    switch (id) {
        case EVENT_APPSUSPEND: return "AppSuspend";
        case EVENT_APPRESUME: return "AppResume";
        case EVENT_APPTERMINATE: return "AppTerminate";
        case EVENT_APPOPENFILE: return "AppOpenFile";
        case EVENT_APPIDLE: return "AppIdle";
        case EVENT_KEYDOWN: return "KeyDown";
        case EVENT_KEYUP: return "KeyUp";
        case EVENT_KEYCHAR: return "KeyChar";
        case EVENT_KEYREPEAT: return "KeyRepeat";
        case EVENT_MOUSEDOWN: return "MouseDown";
        case EVENT_MOUSEUP: return "MouseUp";
        case EVENT_MOUSEMOVE: return "MouseMove";
        case EVENT_MOUSEWHEEL: return "MouseWheel";
        case EVENT_MOUSEENTER: return "MouseEnter";
        case EVENT_MOUSELEAVE: return "MouseLeave";
        case EVENT_TIMERTICK: return "TimerTick";
        case EVENT_HOTKEYHIT: return "HotkeyHit";
        case EVENT_GADGETACTION: return "GadgetAction";
        case EVENT_GADGETPAINT: return "GadgetPaint";
        case EVENT_GADGETSELECT: return "GadgetSelect";
        case EVENT_GADGETMENU: return "GadgetMenu";
        case EVENT_GADGETOPEN: return "GadgetOpen";
        case EVENT_GADGETCLOSE: return "GadgetClose";
        case EVENT_GADGETDONE: return "GadgetDone";
        case EVENT_GADGETLOSTFOCUS: return "GadgetLostFocus";
        case EVENT_GADGETSHAPE: return "GadgetShape";
        case EVENT_WINDOWMOVE: return "WindowMove";
        case EVENT_WINDOWSIZE: return "WindowSize";
        case EVENT_WINDOWCLOSE: return "WindowClose";
        case EVENT_WINDOWACTIVATE: return "WindowActivate";
        case EVENT_WINDOWACCEPT: return "WindowAccept";
        case EVENT_MENUACTION: return "MenuAction";
        case EVENT_STREAMEOF: return "StreamEof";
        case EVENT_STREAMAVAIL: return "StreamAvail";
        case EVENT_PROCESSEXIT: return "ProcessExit";
        default: return nullptr;
    }
}

}  // namespace

CORVEX_MODULE(event, &runtime_module, &hook_module) { EmitEventHook = AllocHookId(); }

Ref<TEvent> TEvent::Create(int id, Ref<Object> source, int data, int mods, int x, int y, Ref<Object> extra) {
    auto e = New<TEvent>();
    e->id = id;
    e->source = std::move(source);
    e->data = data;
    e->mods = mods;
    e->x = x;
    e->y = y;
    e->extra = std::move(extra);
    return e;
}

int TEvent::AllocUserId() { return ++_userEventId; }

void TEvent::Emit() {
    if (RefCount() > 0) {
        RunHooks(EmitEventHook, Ref<Object>(this));
        return;
    }
    // No Ref holds this event (it lives on the stack or inside another object): wrapping
    // it in a Ref would delete it when the hooks are done. The hooks get a copy of their
    // own to keep, and what they change in it is copied back.
    Ref<TEvent> copy = New<TEvent>(*this);
    RunHooks(EmitEventHook, copy);
    *this = *copy;
}

String TEvent::ToString() const {
    String name;
    if (const char* known = EventName(id)) name = known;
    else if (id & EVENT_USEREVENTMASK)
        name = "UserEvent" + String::FromInt(static_cast<int64_t>(static_cast<uint32_t>(id)) - 0x80000000LL);
    else name = "Unknown Event, id=" + String::FromInt(id);
    return name + ": data=" + String::FromInt(data) + ", mods=" + String::FromInt(mods) + ", x=" + String::FromInt(x) +
           ", y=" + String::FromInt(y) + ", extra=\"" + String::FromObject(extra) + "\"";
}

Ref<TEvent> CreateEvent(int id, Ref<Object> source, int data, int mods, int x, int y, Ref<Object> extra) {
    return TEvent::Create(id, std::move(source), data, mods, x, y, std::move(extra));
}

void EmitEvent(const Ref<TEvent>& event) { event->Emit(); }

int AllocUserEventId() { return TEvent::AllocUserId(); }

}  // namespace corvex
