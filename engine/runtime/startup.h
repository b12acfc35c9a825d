/// @file
/// Process entry, the process globals and the end of the process.
#pragma once

#include "runtime/array.h"
#include "runtime/exception.h"
#include "runtime/module.h"
#include "runtime/string.h"

namespace corvex {

/** @{ */
/// Set once by the start-up routine; empty before it.
extern String ApplicationDir;          ///< directory of the program file, no trailing slash but at the root
extern String ApplicationFile;         ///< full path of the program file
extern String ApplicationTitle;        ///< caption of graphics windows
extern Array<String> ApplicationArgs;  ///< the command line, program name first
extern String LaunchDirectory;         ///< working directory at launch
/** @} */

/// The module whose imports are the runtime, the debugger (when built in) and the
/// program's own module; the process entry starts the chain of initialisers through it.
extern Module appstub_module;
/// The program's own module; a program defines it with CORVEX_APPLICATION.
extern Module application_module;

/// Application entry: installs the fault handlers, records the program's path, runs the
/// start-up routine and then every module body. When the bodies return it runs the end
/// handlers and returns 0 (255 when an end handler failed). An exception out of a body is
/// reported as uncaught; one that is no C++ standard exception has the text
/// kUnknownExceptionText.
int ApplicationEntry(int argc, char** argv);

/// A small job a program hands to a copy of itself, so that it outlives the program: the
/// copy runs the helper's function (with the helper's own arguments) instead of the
/// program. A file-scope HelperRegistration registers one under a name.
using HelperFunction = int (*)(int argc, char** argv);
/// The registration of a helper (see HelperFunction).
struct HelperRegistration {
    /// Registers helperRun under helperName.
    HelperRegistration(const char* helperName, HelperFunction helperRun);
    const char* name;          ///< the helper's name
    HelperFunction run;        ///< its function
    HelperRegistration* next;  ///< the registration made before
};
/// Starts a copy of the program that runs the helper name with args, its standard input
/// reading from inputFd. False when the program was not entered through ApplicationEntry
/// (a test harness, say) or the copy could not be started.
bool StartHelper(const char* name, const char* const* args, int argCount, int inputFd);
/// For the process entry: when the command line asks for a helper, runs it and gives its
/// exit status; otherwise returns -1, and StartHelper can start helpers from then on.
int RunHelperIfAsked(int argc, char** argv);

/// The text reported for an uncaught exception that carries no text of its own.
inline constexpr const char* kUnknownExceptionText = "Unknown exception";

/// Start-up routine: fills the process globals, then makes the application directory the
/// working directory.
void StartUp(int argc, char** argv, const String& appDir, const String& appFile);

/// The directory part of a program path: cut at the last slash, keeping the slash when it
/// ends a root ("/" or a drive such as "C:/"). A path without a slash gives ".".
String ApplicationDirOf(const String& appFile);

/// Registers a handler to run when the process ends; the last registered runs first. An
/// exception out of a handler is reported like an uncaught error (its text on standard
/// error), the remaining handlers still run and the process ends with status 255.
void AddEndHandler(void (*handler)());
/// Ends the process at once with status 0; the end handlers run.
[[noreturn]] void EndProgram();
/// Ends the process the way an uncaught error does once it is reported: status 255, the
/// end handlers run.
[[noreturn]] void EndUncaught();
/// Runs the end handlers not yet run, for the process entry once the bodies return; gives
/// the status to end with: 0, or 255 when a handler let an exception out.
int EndOfBodies();

/** @{ */
/// Receives any exception that nothing caught. The default writes its text to standard
/// error and ends the process with status 255 (the end handlers still run).
using UnhandledExceptionHandler = void (*)(const TException& e);
void SetUnhandledExceptionHandler(UnhandledExceptionHandler handler);
/** @} */
/// Hands e to the unhandled-exception handler.
[[noreturn]] void ReportUncaught(const TException& e);
/// Reports the exception in flight (in a catch block, or in a terminate handler when
/// nothing caught it) as uncaught; one that is no TException has the text of its what(),
/// or kUnknownExceptionText.
[[noreturn]] void ReportCurrentUncaught();

/** @{ */
/// Write text to standard output / error (as UTF-8) and flush the stream.
void WriteStdout(const String& text);
void WriteStderr(const String& text);
/** @} */

/// Installs the signal handlers: a fault ends the process at once with "signal!:N" on
/// standard output and "Received Signal" on standard error (status 255, no end handlers);
/// a request to end (SIGTERM, SIGINT, SIGHUP, SIGQUIT) is recorded for the main thread.
void InstallSignalHandlers();
/// True when a request to end waits for the main thread.
bool SignalPending();
/// On the main thread: when a request to end waits, writes "signal!:N" on standard output
/// and raises "Received Signal" (so the end handlers run). The pumps, Delay and Flip call
/// it; a request still waiting a few seconds later, or a second one, ends the process at
/// once as a fault does.
void RaisePendingSignal();
/// A descriptor the request handler writes a byte to, to wake a main thread that blocks.
void SetSignalWakeFd(int fd);

}  // namespace corvex

/// Defines the program's module and opens its body, which is the program itself:
/// @code
/// CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, ...) { ... }
/// @endcode
#define CORVEX_APPLICATION(...)                                                                                       \
    static void corvex_application_body();                                                                            \
    static ::corvex::Module* const corvex_application_imports[] = {__VA_ARGS__};                                      \
    ::corvex::Module corvex::application_module{"application", corvex_application_imports, &corvex_application_body}; \
    static void corvex_application_body()
