#include "runtime/startup.h"

#include <spawn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <vector>

namespace corvex {

String ApplicationDir;
String ApplicationFile;
String ApplicationTitle;
Array<String> ApplicationArgs;
String LaunchDirectory;

namespace {

constexpr int kUncaughtStatus = 255;

// The end handlers, first registered first; each is taken off before it runs, so a
// handler that ends the process again does not run twice.
std::vector<void (*)()>& EndHandlers() {
    static std::vector<void (*)()> handlers;
    return handlers;
}

// Set when an end handler let an exception out: the process then ends with 255.
bool end_handler_failed = false;

void ReportEndHandlerError(const char* text) {
    WriteStderr(text);
    end_handler_failed = true;
}

// Runs the end handlers left, last registered first. An exception out of one is reported
// the way an uncaught error is and the rest still run.
void RunEndHandlers() {
    std::vector<void (*)()>& handlers = EndHandlers();
    while (!handlers.empty()) {
        void (*handler)() = handlers.back();
        handlers.pop_back();
        try {
            handler();
        } catch (const TException& e) {
            ReportEndHandlerError(e.ToString().ToUtf8().c_str());
        } catch (const std::exception& e) {
            ReportEndHandlerError(e.what());
        } catch (...) {
            ReportEndHandlerError(kUnknownExceptionText);
        }
    }
}

// Runs at exit for the ways out that did not go through EndWith (a plain exit, or main
// returning); the exit already under way cannot change its status, so a failed end
// handler ends the process here.
void RunEndHandlersAtExit() {
    RunEndHandlers();
    if (end_handler_failed) {
        std::fflush(nullptr);
        _exit(kUncaughtStatus);
    }
}

[[noreturn]] void EndWith(int status) {
    RunEndHandlers();
    std::exit(end_handler_failed ? kUncaughtStatus : status);
}

void DefaultUnhandled(const TException& e) {
    WriteStderr(e.ToString());
    EndWith(kUncaughtStatus);
}

UnhandledExceptionHandler _unhandledExceptionHandler = &DefaultUnhandled;

String CurrentDirectory() {
    char buf[PATH_MAX];
    return getcwd(buf, sizeof buf) ? String(buf) : String();
}

// The first argument of a copy of the program started as a helper; the helper's name
// follows it.
constexpr const char* kHelperFlag = "--corvex-helper";
HelperRegistration* _helpers = nullptr;
bool _helpersCanStart = false;  // the program started through its process entry

}  // namespace

HelperRegistration::HelperRegistration(const char* helperName, HelperFunction helperRun)
    : name(helperName), run(helperRun), next(_helpers) {
    _helpers = this;
}

bool StartHelper(const char* name, const char* const* args, int argCount, int inputFd) {
    if (!_helpersCanStart) return false;
    std::vector<char*> argv = {const_cast<char*>("corvex-helper"), const_cast<char*>(kHelperFlag),
                               const_cast<char*>(name)};
    for (int i = 0; i < argCount; ++i) argv.push_back(const_cast<char*>(args[i]));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputFd, STDIN_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    pid_t pid;
    const bool started = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started;
}

int RunHelperIfAsked(int argc, char** argv) {
    if (argc < 3 || std::strcmp(argv[1], kHelperFlag) != 0) {
        _helpersCanStart = true;
        return -1;
    }
    for (HelperRegistration* h = _helpers; h; h = h->next) {
        if (std::strcmp(h->name, argv[2]) == 0) return h->run(argc - 3, argv + 3);
    }
    return 1;
}

String ApplicationDirOf(const String& appFile) {
    int slash = appFile.FindLast("/");
    if (slash < 0) return ".";
    if (slash == 0) return "/";
    if (appFile[slash - 1] == u':') return appFile.Left(slash + 1);
    return appFile.Left(slash);
}

void StartUp(int argc, char** argv, const String& appDir, const String& appFile) {
    LaunchDirectory = CurrentDirectory();
    ApplicationDir = appDir;
    ApplicationFile = appFile;
    ApplicationTitle = "Corvex Application";
    Array<String> args(argc);
    for (int i = 0; i < argc; ++i) args[i] = String(argv[i]);
    ApplicationArgs = args;
    if (chdir(appDir.ToUtf8().c_str()) != 0) {
        // The directory the system reported for our own file is gone; stay where we are.
    }
}

void AddEndHandler(void (*handler)()) {
    if (!handler) throw TNullFunctionException();  // it would only fail when the process ends
    std::vector<void (*)()>& handlers = EndHandlers();
    // Hooked after the list is made, so that the list is still there when the hook runs.
    static const bool hooked = std::atexit(&RunEndHandlersAtExit) == 0;
    (void)hooked;
    handlers.push_back(handler);
}

void EndProgram() { EndWith(0); }

int EndOfBodies() {
    RunEndHandlers();
    return end_handler_failed ? kUncaughtStatus : 0;
}

void SetUnhandledExceptionHandler(UnhandledExceptionHandler handler) {
    _unhandledExceptionHandler = handler ? handler : &DefaultUnhandled;
}

void ReportUncaught(const TException& e) {
    _unhandledExceptionHandler(e);
    EndWith(kUncaughtStatus);  // a replacement handler that returns still ends the process
}

void WriteStdout(const String& text) {
    std::fputs(text.ToUtf8().c_str(), stdout);
    std::fflush(stdout);
}

void WriteStderr(const String& text) {
    std::fputs(text.ToUtf8().c_str(), stderr);
    std::fflush(stderr);
}

}  // namespace corvex
