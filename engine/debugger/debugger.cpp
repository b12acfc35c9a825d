#include "debugger/debugger.h"

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "debugger/dump.h"
#include "runtime/debug.h"
#include "runtime/startup.h"

namespace corvex {

namespace {

using debugger::WriteLine;

enum class Mode { kRun, kStep, kStepIn, kLeave };

struct ScopeEntry {
    const DebugScope* scope;
    bool at_statement = false;
    DebugSource statement{};
};

// The debugger state; the hooks and the command loop run on the main thread only.
std::vector<ScopeEntry> scopes;
size_t function_depth = 0;
std::vector<size_t> exception_depths;
Mode mode = Mode::kRun;
size_t stop_depth = 0;
bool busy = false;

constexpr size_t kTraceEntries = 100;

void StackTrace() {
    WriteLine("StackTrace{\n");
    size_t first = scopes.size() > kTraceEntries ? scopes.size() - kTraceEntries : 0;
    for (size_t i = first; i < scopes.size(); ++i) {
        const ScopeEntry& e = scopes[i];
        if (!e.at_statement) continue;
        WriteLine("@" + std::string(e.statement.file) + "<" + std::to_string(e.statement.line) + "," +
                  std::to_string(e.statement.column) + ">\n");
        debugger::DumpScope(e.scope->Kind(), e.scope->Name(), e.scope->Decls(), 0);
    }
    WriteLine("}\n");
}

void Help() {
    for (const char* line : {"T - Stack trace\n", "R - Run from here\n", "S - Step through source code\n",
                             "E - Step into function call\n", "L - Leave function or local block\n", "Q - Quit\n",
                             "H - This text\n", "Dxxxxxxxx - Dump object at hex address xxxxxxxx\n"})
        WriteLine(line);
}

// One line of standard input without its line ending; false at the end of input.
bool ReadLine(std::string& line) {
    line.clear();
    for (int c; (c = std::getchar()) != '\n';) {
        if (c == EOF) return !line.empty();
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// Blocks the program until a command lets it go on. At the end of input the controlling
// program has gone and nothing can let it go on: the program ends as an uncaught error.
void CommandLoop(const std::string& message) {
    if (busy) return;
    busy = true;
    WriteLine(message);
    for (bool resumed = false; !resumed;) {
        WriteLine("\n");
        std::string line;
        if (!ReadLine(line)) EndUncaught();
        resumed = true;
        switch (line.empty() ? 0 : std::tolower(static_cast<unsigned char>(line[0]))) {
            case 'r': mode = Mode::kRun; break;
            case 's':
                mode = Mode::kStep;
                stop_depth = function_depth;
                break;
            case 'e': mode = Mode::kStepIn; break;
            case 'l':
                mode = Mode::kLeave;
                stop_depth = scopes.size() - 1;
                break;
            case 'q': EndProgram();
            case 't':
                StackTrace();
                resumed = false;
                break;
            case 'd':
                debugger::DumpObject(std::string_view(line).substr(1));
                resumed = false;
                break;
            case 'h':
                Help();
                resumed = false;
                break;
            default: resumed = false;
        }
    }
    busy = false;
}

void OnStop() { CommandLoop("DebugStop:\n"); }

void OnLog(const String& text) { WriteStdout("DebugLog:" + text + "\n"); }

void OnStatement(DebugSource where) {
    if (scopes.empty()) return;
    scopes.back().at_statement = true;
    scopes.back().statement = where;
    bool stop = false;
    switch (mode) {
        case Mode::kRun: return;
        case Mode::kStep: stop = stop_depth >= function_depth; break;
        case Mode::kLeave: stop = stop_depth >= scopes.size(); break;
        case Mode::kStepIn: stop = true; break;
    }
    if (stop) CommandLoop("Debug:\n");
}

void OnEnterScope(const DebugScope& scope) {
    scopes.push_back({&scope, false, {}});
    if (scope.Kind() == kFunctionScope) ++function_depth;
}

void PopScope() {
    if (scopes.back().scope->Kind() == kFunctionScope) --function_depth;
    scopes.pop_back();
}

void OnLeaveScope() {
    if (scopes.empty()) debugger::DebuggerError("scope stack underflow");
    PopScope();
}

void OnPushExceptionState() { exception_depths.push_back(scopes.size()); }

void OnPopExceptionState() {
    if (exception_depths.empty()) debugger::DebuggerError("exception stack underflow");
    const size_t depth = exception_depths.back();
    exception_depths.pop_back();
    while (scopes.size() > depth) PopScope();
}

void OnUnhandled(const TException& e) { CommandLoop("Unhandled Exception:" + e.ToString().ToUtf8() + "\n"); }

}  // namespace

CORVEX_MODULE(debugger, &runtime_module) {
    debugger::WatchObjects();
    debug_hooks = {
        &OnStop, &OnLog, &OnStatement, &OnEnterScope, &OnLeaveScope, &OnPushExceptionState, &OnPopExceptionState};
    SetUnhandledExceptionHandler(&OnUnhandled);
}

}  // namespace corvex
