// The systemdriver module. Operations handed to the main thread: a locked queue drained by the pump, and a pipe
// that stays readable while the queue is not empty so that a blocked pump wakes up.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

#include "runtime/exception.h"
#include "runtime/startup.h"
#include "platform/api/systemdriver.h"

namespace corvex {

namespace {

struct MainThreadOp {
    MainThreadFunction func;
    Ref<Object> object;
    intptr_t value;
};

std::mutex _opsLock;
std::deque<MainThreadOp> _ops;
std::atomic<int> _opsWaiting{0};
std::once_flag _wakePipeOnce;
int _wakePipe[2] = {-1, -1};

void OpenWakePipe() {
    std::call_once(_wakePipeOnce, [] {
        if (pipe2(_wakePipe, O_NONBLOCK | O_CLOEXEC) != 0) RaiseRuntimeError("Unable to create wake pipe");
    });
}

void Wake() {
    char wake = 1;
    // A full pipe is already readable, so a failed write loses nothing.
    [[maybe_unused]] ssize_t written = write(_wakePipe[1], &wake, 1);
}

void DrainWakePipe() {
    char buffer[64];
    while (read(_wakePipe[0], buffer, sizeof buffer) > 0) {
    }
}

}  // namespace

CORVEX_MODULE(systemdriver, &runtime_module) {
    OpenWakePipe();
    // A request to end then wakes a pump that blocks.
    SetSignalWakeFd(_wakePipe[1]);
}

void PostMainThreadOp(MainThreadFunction func, Ref<Object> object, intptr_t value) {
    OpenWakePipe();
    {
        std::lock_guard<std::mutex> lock(_opsLock);
        _ops.push_back({func, std::move(object), value});
        _opsWaiting.fetch_add(1, std::memory_order_release);
    }
    Wake();
}

void RunOnNewThread(MainThreadFunction func, Ref<Object> object, ThreadFunction threadFunc, intptr_t threadArg) {
    std::thread([=] { PostMainThreadOp(func, object, threadFunc(threadArg)); }).detach();
}

int RunMainThreadOps() {
    if (SignalPending()) {
        DrainWakePipe();
        if (_opsWaiting.load(std::memory_order_acquire)) Wake();
        RaisePendingSignal();
    }
    int count = _opsWaiting.load(std::memory_order_acquire);
    if (count == 0) return 0;
    DrainWakePipe();
    // Whatever is left (posted meanwhile, or not run because an operation threw) keeps
    // the pipe readable, so that a waiting pump still wakes up for it.
    struct Rewake {
        ~Rewake() {
            if (_opsWaiting.load(std::memory_order_acquire)) Wake();
        }
    } rewake;
    // Only the operations already queued run now; those they post wait for the next
    // pump, so an operation that re-posts itself cannot hold the pump.
    for (int i = 0; i < count; ++i) {
        MainThreadOp op;
        {
            std::lock_guard<std::mutex> lock(_opsLock);
            op = std::move(_ops.front());
            _ops.pop_front();
            _opsWaiting.fetch_sub(1, std::memory_order_relaxed);
        }
        op.func(std::move(op.object), op.value);
    }
    return count;
}

int MainThreadWakeFd() {
    OpenWakePipe();
    return _wakePipe[0];
}

}  // namespace corvex
