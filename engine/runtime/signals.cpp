// Fatal signals.
//
// A C++ exception must not be thrown from an asynchronous signal handler, so the handler
// reports the fault the way an uncaught "Received Signal" error would be reported and
// ends the process itself, using only async-signal-safe calls: the line "signal!:N" on
// standard output, the error text on standard error, exit status -1. End handlers do not
// run here: the interrupted code may hold any lock or be half-way through any update.
#include <csignal>
#include <cstring>
#include <unistd.h>

#include "runtime/startup.h"

namespace corvex {

namespace {

void WriteAll(int fd, const char* text, size_t n) {
    while (n > 0) {
        ssize_t w = write(fd, text, n);
        if (w <= 0) return;
        text += w;
        n -= static_cast<size_t>(w);
    }
}

void OnFatalSignal(int sig) {
    char line[32] = "signal!:";
    char digits[12];
    int n = 0;
    for (unsigned v = static_cast<unsigned>(sig); n == 0 || v; v /= 10) digits[n++] = static_cast<char>('0' + v % 10);
    size_t len = std::strlen(line);
    while (n) line[len++] = digits[--n];
    line[len++] = '\n';
    WriteAll(STDOUT_FILENO, line, len);
    static const char error[] = "Received Signal";
    WriteAll(STDERR_FILENO, error, sizeof error - 1);
    _exit(255);
}

void OnMemoryFault(int) {
    static const char error[] = "Unhandled Memory Exception Error";
    WriteAll(STDERR_FILENO, error, sizeof error - 1);
    _exit(255);
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
    // The handlers run on their own stack so that a stack overflow is reported too.
    static char altStack[64 * 1024];
    stack_t ss{};
    ss.ss_sp = altStack;
    ss.ss_size = sizeof altStack;
    sigaltstack(&ss, nullptr);
    for (int sig : {SIGILL, SIGSEGV, SIGABRT, SIGTERM}) Install(sig, &OnFatalSignal);
    // Faults of the machine rather than requests to end: a bad memory access beyond the
    // mapping and an arithmetic trap such as an integer division by zero.
    for (int sig : {SIGBUS, SIGFPE}) Install(sig, &OnMemoryFault);
}

}  // namespace corvex
