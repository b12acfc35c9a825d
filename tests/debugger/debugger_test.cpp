// Drives the instrumented probe program as a controlling program would: commands on its
// standard input, the debugger's lines read from its standard error.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "support/debug_session.h"

namespace {

using corvex::testing::DebugSession;

// The address that a line "~>Local name:...=$ADDRESS" of a stack trace shows.
std::string AddressOf(const std::string& trace, const std::string& name) {
    std::smatch m;
    EXPECT_TRUE(std::regex_search(trace, m, std::regex("~>Local " + name + ":[^=]*=\\$([0-9A-F]+)\n"))) << name;
    return m.size() > 1 ? m[1].str() : "";
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Debugger, StopHelpTraceAndStepping) {
    DebugSession p(DEBUG_PROBE);
    EXPECT_EQ("~>DebugStop:\n~>\n", p.UntilPrompt());
    EXPECT_EQ("~>T - Stack trace\n~>R - Run from here\n~>S - Step through source code\n~>E - Step into function call\n"
              "~>L - Leave function or local block\n~>Q - Quit\n~>H - This text\n"
              "~>Dxxxxxxxx - Dump object at hex address xxxxxxxx\n~>\n",
              p.Send("h"));
    EXPECT_EQ("~>\n", p.Send("x"));
    EXPECT_EQ("~>\n", p.Send(""));

    const std::string trace = p.Send("T");
    EXPECT_TRUE(std::regex_match(trace, std::regex("~>StackTrace\\{\n~>@[^\n]*debug_probe.cpp<[0-9]+,[0-9]+>\n"
                                                   "~>Function Probe\n(~>[^\n]*\n)*~>\\}\n~>\n")))
        << trace;
    for (const char* line : {
             "~>Global counter:Int=3\n",
             "~>Local text:String=\"a~tb~q\"\n",
             "~>Local f:Float=1.50000000\n",
             "~>Local d:Double=1.5000000000000000\n",
             "~>Local b:Byte=200\n",
             "~>Local s:Short=60000\n",
             "~>Local l:Long=-5000000000\n",
             "~>Local z:CString=\"c~r~n\"\n",
             "~>Local w:WString=Null\n",
             "~>Local none:Int[]=Null\n",
             "~>Local nobody:TPoint=Null\n",
             "~>Local empty:Object=Null$\n",
         })
        EXPECT_TRUE(Has(trace, line)) << line << trace;
    for (const char* name : {"fn", "squares", "point", "boxed", "plain"}) EXPECT_NE("", AddressOf(trace, name));
    EXPECT_TRUE(Has(trace, "~>Local fn:Int(Int)=$")) << trace;

    // s: the next statement of the same function; the call ran through (stage is 2).
    EXPECT_EQ("~>Debug:\n~>\n", p.Send("s"));
    EXPECT_TRUE(Has(p.Send("t"), "~>Local stage:Int=1\n"));
    std::string after_call = (p.Send("s"), p.Send("t"));
    EXPECT_TRUE(Has(after_call, "~>Local stage:Int=2\n")) << after_call;
    EXPECT_FALSE(Has(after_call, "Twice")) << after_call;
    // e: the first statement inside the block; l: the first one after it (stage is 4).
    p.Send("e");
    std::string in_block = p.Send("t");
    EXPECT_TRUE(Has(in_block, "~>Local <local>\n~>Local inner:Int=3\n~>}\n")) << in_block;
    p.Send("l");
    std::string after_block = p.Send("t");
    EXPECT_FALSE(Has(after_block, "<local>")) << after_block;
    EXPECT_TRUE(Has(after_block, "~>Local stage:Int=4\n")) << after_block;

    EXPECT_EQ("", p.Send("r"));
    EXPECT_EQ(0, p.End());
    EXPECT_EQ("DebugLog:stage 4\nend handler\n", p.Stdout());
}

TEST(Debugger, StepIntoAndLeaveAFunction) {
    DebugSession p(DEBUG_PROBE);
    p.UntilPrompt();
    p.Send("s");
    p.Send("e");
    std::string inside = p.Send("t");
    EXPECT_TRUE(std::regex_search(inside, std::regex("~>Function Probe\n(~>[^\n]*\n)*~>@[^\n]*<[0-9]+,[0-9]+>\n"
                                                     "~>Function Twice\n~>Local n:Int=1\n~>\\}")))
        << inside;
    p.Send("l");
    std::string left = p.Send("t");
    EXPECT_FALSE(Has(left, "Twice")) << left;
    EXPECT_TRUE(Has(left, "~>Local stage:Int=2\n")) << "stops at the statement after the call: " << left;
    p.Send("q");
    EXPECT_EQ(0, p.End());
    EXPECT_EQ("end handler\n", p.Stdout());
}

TEST(Debugger, ObjectDumps) {
    DebugSession p(DEBUG_PROBE);
    p.UntilPrompt();
    const std::string trace = p.Send("t");
    const std::string squares = AddressOf(trace, "squares");
    std::string page;
    for (int i = 0; i < 10; ++i) page += "~>[" + std::to_string(i) + "]=" + std::to_string(i * i) + "\n";
    EXPECT_EQ("~>ObjectDump@" + squares + "{\n" + page + "~>...=$" + squares + ":10\n~>}\n~>\n",
              p.Send("d$" + squares));
    std::string second = p.Send("D " + squares + ":10");
    EXPECT_TRUE(Has(second, "~>ObjectDump@" + squares + ":10{\n~>[10]=100\n")) << second;
    EXPECT_TRUE(Has(second, "~>[19]=361\n~>...=$" + squares + ":20\n~>}\n")) << second;
    std::string last = p.Send("d0x" + squares + ":20");
    EXPECT_TRUE(Has(last, "~>[20]=400\n~>[21]=441\n~>[22]=484\n~>[23]=529\n~>[24]=576\n~>}\n")) << last;
    EXPECT_FALSE(Has(last, "...")) << last;

    EXPECT_EQ("~>ObjectDump@" + AddressOf(trace, "point") +
                  "{\n~>Type TShape\n~>Field sides:Int=4\n~>Type TPoint\n~>Field fx:Float=1.50000000\n"
                  "~>Field dx:Double=1.5000000000000000\n~>Field label:String=\"p\"\n~>Field next:TPoint=Null\n"
                  "~>Global made:Int=1\n~>}\n~>\n",
              p.Send("d$" + AddressOf(trace, "point")));
    EXPECT_EQ("~>ObjectDump@" + AddressOf(trace, "boxed") + "{\n~>\"a\tb\"\"\n~>}\n~>\n",
              p.Send("d" + AddressOf(trace, "boxed")));
    EXPECT_EQ("~>ObjectDump@" + AddressOf(trace, "plain") + "{\n~>Object\n~>}\n~>\n",
              p.Send("d" + AddressOf(trace, "plain")));

    std::smatch gone;
    ASSERT_TRUE(std::regex_search(trace, gone, std::regex("~>Local gone:Long=([0-9]+)\n")));
    char dead[32];
    std::snprintf(dead, sizeof dead, "%llX", std::stoull(gone[1].str()));
    for (std::string request :
         {std::string("d") + dead, std::string("d12345678"), std::string("d0"), std::string("dzz"), std::string("d")})
        EXPECT_EQ("~>\n", p.Send(request)) << request;
    p.Send("r");
    EXPECT_EQ(0, p.End());
}

TEST(Debugger, UnhandledErrorsEndOfInputAndDebuggerErrors) {
    struct Case {
        const char* mode;
        const char* command;  // then the end of input
        const char* first;    // the debugger's first stop
        int status;
    };
    const Case cases[] = {
        {"throw", "r", "~>Unhandled Exception:Broken\tdown\n~>\n", 255},
        {"throw", "s", "~>Unhandled Exception:Broken\tdown\n~>\n", 255},
        {"throw", "e", "~>Unhandled Exception:Broken\tdown\n~>\n", 255},
        {"throw", "l", "~>Unhandled Exception:Broken\tdown\n~>\n", 255},
        {"throw", "q", "~>Unhandled Exception:Broken\tdown\n~>\n", 0},
        {"", "t", "~>DebugStop:\n~>\n", 255},
        {"underflow", "", "~>Debugger Error:scope stack underflow\n", 255},
        {"exceptions", "", "~>Debugger Error:exception stack underflow\n", 255},
        {"badtag", "t", "~>DebugStop:\n~>\n", 255},
    };
    for (const Case& c : cases) {
        DebugSession p(DEBUG_PROBE, {c.mode});
        EXPECT_EQ(c.first, p.UntilPrompt()) << c.mode << " " << c.command;
        if (std::string(c.mode) == "throw") {
            std::string trace = p.Send("t");
            EXPECT_TRUE(Has(trace, "~>Function Probe\n")) << trace;
            EXPECT_TRUE(Has(trace, "~>Function Thrower\n~>Local why:String=\"Broken~tdown\"\n~>}\n")) << trace;
        }
        std::string reply = *c.command ? p.Send(c.command) : "";
        EXPECT_EQ(std::string(c.mode) == "badtag", Has(reply, "~>Debugger Error:Invalid debug typetag:#\n")) << reply;
        EXPECT_EQ(c.status, p.End()) << c.mode << " " << c.command;
        EXPECT_EQ("end handler\n", p.Stdout()) << c.mode << " " << c.command;
    }
}

}  // namespace
