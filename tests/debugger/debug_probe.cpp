// An instrumented program for the debugger's tests: its first argument picks what it
// does; a controlling test talks to it over standard input and standard error.
#include "runtime/debug.h"
#include "runtime/startup.h"

using namespace corvex;

namespace {

class TShape : public Object {
public:
    int sides = 4;
};

class TPoint : public TShape {
public:
    float fx = 1.5f;
    double dx = 1.5;
    String label = "p";
    Ref<TPoint> next;
    static inline int made = 1;
};

int counter = 3;

int Twice(int n) {
    CORVEX_FUNCTION("Twice");
    CORVEX_LOCAL(n);
    CORVEX_STMT;
    int twice = n * 2;
    CORVEX_LOCAL(twice);
    CORVEX_STMT;
    return twice;
}

void Thrower(const String& why) {
    CORVEX_FUNCTION("Thrower");
    CORVEX_LOCAL(why);
    CORVEX_STMT;
    RaiseRuntimeError(why);
}

// Every kind of variable the debugger shows, then the stepping course: a stop, a call,
// a block, the statement after it.
void Probe(const String& mode) {
    CORVEX_FUNCTION("Probe");
    CORVEX_GLOBAL(counter);
    String text = "a\tb\"";
    CORVEX_LOCAL(text);
    float f = 1.5f;
    double d = 1.5;
    uint8_t b = 200;
    uint16_t s = 60000;
    int64_t l = -5000000000;
    const char* z = "c\r\n";
    const char16_t* w = nullptr;
    int (*fn)(int) = &Twice;
    CORVEX_LOCAL(f);
    CORVEX_LOCAL(d);
    CORVEX_LOCAL(b);
    CORVEX_LOCAL(s);
    CORVEX_LOCAL(l);
    CORVEX_LOCAL(z);
    CORVEX_LOCAL(w);
    CORVEX_LOCAL(fn);
    Array<int> squares(25);
    for (int i = 0; i < squares.Length(); ++i) squares[i] = i * i;
    Array<int> none;
    Ref<TPoint> point = New<TPoint>();
    Ref<TPoint> nobody;
    Ref<Object> boxed = text.AsObject();
    Ref<Object> empty = String().AsObject();
    Ref<Object> plain = New<Object>();
    CORVEX_LOCAL(squares);
    CORVEX_LOCAL(none);
    CORVEX_LOCAL(point);
    CORVEX_LOCAL(nobody);
    CORVEX_LOCAL(boxed);
    CORVEX_LOCAL(empty);
    CORVEX_LOCAL(plain);
    // The address of an object that is gone, for a dump that must show nothing.
    int64_t gone = reinterpret_cast<intptr_t>(New<TPoint>().get());
    CORVEX_LOCAL(gone);
    if (mode == "throw") {
        CORVEX_STMT;
        Thrower("Broken\tdown");
    }
    if (mode == "badtag") {
        DebugVar bad({kLocalDecl, "bad", "#", 0});
        CORVEX_STMT;
        DebugStop();
    }
    CORVEX_STMT;
    DebugStop();
    int stage = 1;
    CORVEX_LOCAL(stage);
    CORVEX_STMT;
    stage = Twice(stage);
    CORVEX_STMT;
    {
        CORVEX_BLOCK();
        int inner = stage + 1;
        CORVEX_LOCAL(inner);
        CORVEX_STMT;
        stage = inner;
        CORVEX_STMT;
        stage += 1;
    }
    CORVEX_STMT;
    DebugLog("stage " + String::FromInt(stage));
}

void EndNote() { WriteStdout("end handler\n"); }

}  // namespace

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module) {
    CORVEX_DEBUG_TYPE(TShape, Object, CORVEX_FIELD(TShape, sides));
    CORVEX_DEBUG_TYPE(TPoint, TShape, CORVEX_FIELD(TPoint, fx), CORVEX_FIELD(TPoint, dx), CORVEX_FIELD(TPoint, label),
                      CORVEX_FIELD(TPoint, next), CORVEX_TYPE_GLOBAL(TPoint, made));
    AddEndHandler(&EndNote);
    String mode = ApplicationArgs.Length() > 1 ? ApplicationArgs[1] : String();
    if (mode == "underflow") debug_hooks.leave_scope();
    if (mode == "exceptions") debug_hooks.pop_exception_state();
    Probe(mode);
}
