/// @file
/// Events: records of one happening (a key, a button, a move, a request to quit),
/// delivered by running the chain of EmitEventHook with the event as its data.
#pragma once

#include "hook/hook.h"
#include "runtime/module.h"
#include "runtime/string.h"

namespace corvex {

/// Event ids: each class of events has a mask bit (EVENT_APPMASK, EVENT_KEYMASK, ...)
/// that every id of the class carries; ids allocated for user events carry
/// EVENT_USEREVENTMASK.
enum : int {
    EVENT_APPMASK = 0x100,
    EVENT_APPSUSPEND = 0x101,
    EVENT_APPRESUME = 0x102,
    EVENT_APPTERMINATE = 0x103,
    EVENT_APPOPENFILE = 0x104,
    EVENT_APPIDLE = 0x105,
    EVENT_KEYMASK = 0x200,
    EVENT_KEYDOWN = 0x201,
    EVENT_KEYUP = 0x202,
    EVENT_KEYCHAR = 0x203,
    EVENT_KEYREPEAT = 0x204,
    EVENT_MOUSEMASK = 0x400,
    EVENT_MOUSEDOWN = 0x401,
    EVENT_MOUSEUP = 0x402,
    EVENT_MOUSEMOVE = 0x403,
    EVENT_MOUSEWHEEL = 0x404,
    EVENT_MOUSEENTER = 0x405,
    EVENT_MOUSELEAVE = 0x406,
    EVENT_TIMERMASK = 0x800,
    EVENT_TIMERTICK = 0x801,
    EVENT_HOTKEYMASK = 0x1000,
    EVENT_HOTKEYHIT = 0x1001,
    EVENT_GADGETMASK = 0x2000,
    EVENT_GADGETACTION = 0x2001,
    EVENT_GADGETPAINT = 0x2002,
    EVENT_GADGETSELECT = 0x2003,
    EVENT_GADGETMENU = 0x2004,
    EVENT_GADGETOPEN = 0x2005,
    EVENT_GADGETCLOSE = 0x2006,
    EVENT_GADGETDONE = 0x2007,
    EVENT_GADGETLOSTFOCUS = 0x2008,
    EVENT_GADGETSHAPE = 0x2009,
    EVENT_WINDOWMASK = 0x4000,
    EVENT_WINDOWMOVE = 0x4001,
    EVENT_WINDOWSIZE = 0x4002,
    EVENT_WINDOWCLOSE = 0x4003,
    EVENT_WINDOWACTIVATE = 0x4004,
    EVENT_WINDOWACCEPT = 0x4005,
    EVENT_MENUMASK = 0x8000,
    EVENT_MENUACTION = 0x8001,
    EVENT_STREAMMASK = 0x10000,
    EVENT_STREAMEOF = 0x10001,
    EVENT_STREAMAVAIL = 0x10002,
    EVENT_PROCESSMASK = 0x20000,
    EVENT_PROCESSEXIT = 0x20001,
    EVENT_USEREVENTMASK = static_cast<int>(0x80000000u),
};

/// One event: what happened (id), to what (source), and its details.
class TEvent : public Object {
public:
    int id = 0;          ///< an EVENT_ id
    Ref<Object> source;  ///< the object the event concerns, or Null
    int data = 0;        ///< the key code, mouse button, wheel steps, ... of the event
    int mods = 0;        ///< the MODIFIER_ bits held
    int x = 0;           ///< the pointer position, for mouse events
    int y = 0;           ///< the pointer position, for mouse events
    Ref<Object> extra;   ///< anything else, such as a file name

    /// A new event with these fields.
    static Ref<TEvent> Create(int id, Ref<Object> source = nullptr, int data = 0, int mods = 0, int x = 0, int y = 0,
                              Ref<Object> extra = nullptr);
    /// A new user event id, EVENT_USEREVENTMASK + 1 and on.
    static int AllocUserId();
    /// Runs EmitEventHook with this event; the result is discarded. An event that no Ref
    /// holds (one on the stack) is never freed by emitting it: the hooks get a copy, and
    /// their changes to it are copied back into this event.
    void Emit();
    /// The event's name (or its user-event number) followed by data, mods, x, y and extra.
    String ToString() const override;
};

/// The hook id of emitted events, allocated when the event module starts.
extern int EmitEventHook;

/// Same as `TEvent::Create(id, source, data, mods, x, y, extra)`.
Ref<TEvent> CreateEvent(int id, Ref<Object> source = nullptr, int data = 0, int mods = 0, int x = 0, int y = 0,
                        Ref<Object> extra = nullptr);
/// Same as `event->Emit()`.
void EmitEvent(const Ref<TEvent>& event);
/// Same as `TEvent::AllocUserId()`.
int AllocUserEventId();

/// The module record of event (see InitModule).
extern Module event_module;

}  // namespace corvex
