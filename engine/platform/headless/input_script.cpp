// The input script parser: one event per line, every fault reported with its place.
#include "headless/input_script.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <string>

#include "event/event.h"
#include "runtime/exception.h"

namespace corvex::headless {

namespace {

struct EventSyntax {
    const char* name;
    int id;
    int argCount;
    int minValue, maxValue;  // range of a single argument
};

constexpr EventSyntax kSyntax[] = {
    {"move", EVENT_MOUSEMOVE, 2, -32768, 32767},
    {"down", EVENT_MOUSEDOWN, 1, 1, 3},
    {"up", EVENT_MOUSEUP, 1, 1, 3},
    {"keydown", EVENT_KEYDOWN, 1, 1, 255},
    {"keyup", EVENT_KEYUP, 1, 1, 255},
    {"char", EVENT_KEYCHAR, 1, 1, 65535},
    {"close", EVENT_APPTERMINATE, 0, 0, 0},
};

class LineParser {
public:
    LineParser(const String& path, int line) : path_(path), line_(line) {}

    [[noreturn]] void Fail(const std::string& what) const {
        RaiseRuntimeError(path_ + ":" + String::FromInt(line_) + ": " + String(what));
    }

    int Number(const std::string& token, int min, int max, const char* what) const {
        int value = 0;
        auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
        if (ec != std::errc() || end != token.data() + token.size())
            Fail(std::string(what) + " '" + token + "' is not a whole number");
        if (value < min || value > max)
            Fail(std::string(what) + " " + token + " is outside " + std::to_string(min) + " to " + std::to_string(max));
        return value;
    }

    ScriptedEvent Parse(const std::vector<std::string>& tokens) const {
        if (tokens.size() < 2) Fail("expected a presentation count and an event");
        ScriptedEvent e;
        e.presentation = Number(tokens[0], 0, 0x7fffffff, "presentation count");
        const EventSyntax* syntax = Find(tokens[1]);
        int args = static_cast<int>(tokens.size()) - 2;
        if (args != syntax->argCount)
            Fail("'" + tokens[1] + "' takes " + std::to_string(syntax->argCount) + " argument(s), not " +
                 std::to_string(args));
        e.id = syntax->id;
        if (e.id == EVENT_MOUSEMOVE) {
            e.x = Number(tokens[2], syntax->minValue, syntax->maxValue, "x");
            e.y = Number(tokens[3], syntax->minValue, syntax->maxValue, "y");
        } else if (args == 1) {
            e.data = Number(tokens[2], syntax->minValue, syntax->maxValue, "argument");
        }
        return e;
    }

private:
    const EventSyntax* Find(const std::string& name) const {
        for (const auto& s : kSyntax) {
            if (name == s.name) return &s;
        }
        Fail("unknown event '" + name + "'");
    }

    String path_;
    int line_;
};

std::vector<std::string> Tokens(std::string line) {
    if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::vector<std::string> tokens;
    for (std::string word; words >> word;) tokens.push_back(word);
    return tokens;
}

}  // namespace

std::vector<ScriptedEvent> ParseInputScript(const String& path) {
    std::ifstream file(path.ToUtf8());
    if (!file) RaiseRuntimeError(path + ": cannot read the input script");
    std::vector<ScriptedEvent> events;
    int lineNumber = 0;
    for (std::string line; std::getline(file, line);) {
        ++lineNumber;
        auto tokens = Tokens(line);
        if (!tokens.empty()) events.push_back(LineParser(path, lineNumber).Parse(tokens));
    }
    // A folder, for one, opens but cannot be read: no silent empty script.
    if (file.bad()) RaiseRuntimeError(path + ": cannot read the input script");
    return events;
}

}  // namespace corvex::headless
