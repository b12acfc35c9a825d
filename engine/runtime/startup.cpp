#include "runtime/startup.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace corvex {

String ApplicationDir;
String ApplicationFile;
String ApplicationTitle;
Array<String> ApplicationArgs;
String LaunchDirectory;

namespace {

void DefaultUnhandled(const TException& e) {
    WriteStderr(e.ToString());
    std::exit(-1);
}

UnhandledExceptionHandler _unhandledExceptionHandler = &DefaultUnhandled;

String CurrentDirectory() {
    char buf[PATH_MAX];
    return getcwd(buf, sizeof buf) ? String(buf) : String();
}

}  // namespace

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
    if (!handler) throw TNullFunctionException();  // the C runtime would abort on it
    std::atexit(handler);
}

void EndProgram() { std::exit(0); }

void SetUnhandledExceptionHandler(UnhandledExceptionHandler handler) {
    _unhandledExceptionHandler = handler ? handler : &DefaultUnhandled;
}

void ReportUncaught(const TException& e) {
    _unhandledExceptionHandler(e);
    std::exit(-1);  // a replacement handler that returns still ends the process
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
