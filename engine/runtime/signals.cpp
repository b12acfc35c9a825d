// Signals.
//
// A C++ exception must not be thrown from an asynchronous signal handler. Requests to end
// (SIGTERM, SIGINT, SIGHUP, SIGQUIT) are only recorded by their handler, which wakes the
// main thread; the main thread raises "Received Signal" at its next pump, sleep or
// presentation, so the end handlers run as for any uncaught error. Faults (SIGSEGV,
// SIGBUS, SIGFPE, SIGILL, SIGABRT) end the process in the handler itself, with
// async-signal-safe calls only: the interrupted code may hold any lock or be half-way
// through any update, so no end handler runs then. A request that the main thread does
// not take up within a few seconds, or a second request, ends the process the same way.
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include "runtime/startup.h"

namespace corvex {

namespace {

constexpr unsigned kWatchdogSeconds = 3;
constexpr int kUncaughtStatus = 255;

volatile sig_atomic_t _pending = 0;  // the request waiting for the main thread
volatile sig_atomic_t _raised = 0;   // the request the main thread has raised
volatile sig_atomic_t _wakeFd = -1;
pid_t _mainThread = 0;

void WriteAll(int fd, const char* text, size_t n) {
    while (n > 0) {
        ssize_t w = write(fd, text, n);
        if (w <= 0) return;
        text += w;
        n -= static_cast<size_t>(w);
    }
}

// The line "signal!:N" (with its newline) in line; its length.
size_t SignalLine(int sig, char (&line)[32]) {
    std::strcpy(line, "signal!:");
    char digits[12];
    int n = 0;
    for (unsigned v = static_cast<unsigned>(sig); n == 0 || v; v /= 10) digits[n++] = static_cast<char>('0' + v % 10);
    size_t len = std::strlen(line);
    while (n) line[len++] = digits[--n];
    line[len++] = '\n';
    return len;
}

[[noreturn]] void EndAtOnce(int sig) {
    char line[32];
    WriteAll(STDOUT_FILENO, line, SignalLine(sig, line));
    static const char error[] = "Received Signal";
    WriteAll(STDERR_FILENO, error, sizeof error - 1);
    _exit(kUncaughtStatus);
}

void OnFatalSignal(int sig) { EndAtOnce(sig); }

void OnMemoryFault(int) {
    static const char error[] = "Unhandled Memory Exception Error";
    WriteAll(STDERR_FILENO, error, sizeof error - 1);
    _exit(kUncaughtStatus);
}

void OnRequest(int sig) {
    // Sent to the main thread, so that a sleep there is interrupted.
    if (static_cast<pid_t>(syscall(SYS_gettid)) != _mainThread) {
        syscall(SYS_tgkill, getpid(), _mainThread, sig);
        return;
    }
    if (_pending || _raised) EndAtOnce(sig);
    _pending = sig;
    if (_wakeFd >= 0) {
        const char wake = 1;
        [[maybe_unused]] ssize_t written = write(_wakeFd, &wake, 1);
    }
    alarm(kWatchdogSeconds);
}

// The main thread did not end the program in time (or an end handler hangs).
void OnWatchdog(int) {
    if (_raised) _exit(kUncaughtStatus);
    EndAtOnce(_pending);
}

void Install(int sig, void (*handler)(int)) {
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_ONSTACK;
    sigaction(sig, &sa, nullptr);
}

}  // namespace

void InstallSignalHandlers() {
    _mainThread = static_cast<pid_t>(syscall(SYS_gettid));
    // The handlers run on their own stack so that a stack overflow is reported too.
    static char altStack[64 * 1024];
    stack_t ss{};
    ss.ss_sp = altStack;
    ss.ss_size = sizeof altStack;
    sigaltstack(&ss, nullptr);
    for (int sig : {SIGILL, SIGSEGV, SIGABRT}) Install(sig, &OnFatalSignal);
    // Faults of the machine rather than requests to end: a bad memory access beyond the
    // mapping and an arithmetic trap such as an integer division by zero.
    for (int sig : {SIGBUS, SIGFPE}) Install(sig, &OnMemoryFault);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) Install(sig, &OnRequest);
    Install(SIGALRM, &OnWatchdog);
}

void SetSignalWakeFd(int fd) { _wakeFd = fd; }

bool SignalPending() { return _pending != 0; }

void RaisePendingSignal() {
    const int sig = _pending;
    if (!sig) return;
    _raised = sig;
    _pending = 0;
    char line[32];
    const size_t len = SignalLine(sig, line);
    WriteStdout(String(std::string_view(line, len)));
    RaiseRuntimeError("Received Signal");
}

}  // namespace corvex
