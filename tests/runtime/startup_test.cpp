// Runs the probe program as a separate process and checks what the process shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_program.h"

namespace {

using ProbeRun = corvex::testing::ProgramRun;

ProbeRun RunProbe(const std::string& mode, const std::string& cwd) {
    return corvex::testing::RunProgram(STARTUP_PROBE, mode, cwd);
}

std::string ProbeDir() { return std::filesystem::path(STARTUP_PROBE).parent_path().string(); }

}  // namespace

TEST(StartUp, GlobalsAndWorkingDirectoryWhenLaunchedElsewhere) {
    std::string elsewhere = std::filesystem::canonical(std::filesystem::temp_directory_path()).string();
    ProbeRun r = RunProbe("globals", elsewhere);
    EXPECT_EQ(0, r.status) << r.err;
    std::string dir = std::filesystem::canonical(ProbeDir()).string();
    EXPECT_NE(std::string::npos, r.out.find("dir=" + dir + "\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("file=" + dir + "/startup_probe\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("title=Corvex Application\n"));
    EXPECT_NE(std::string::npos, r.out.find("launch=" + elsewhere + "\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("cwd=" + dir + "\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("args=2\n"));
}

TEST(StartUp, ModuleBodiesRunOnceImportsFirst) {
    ProbeRun r = RunProbe("globals", "/");
    EXPECT_NE(std::string::npos, r.out.find("order=base left right top\n")) << r.out;
}

TEST(StartUp, EndHandlersRunLastRegisteredFirst) {
    ProbeRun normal = RunProbe("globals", "/");
    EXPECT_NE(std::string::npos, normal.out.find("end B\nend A\n")) << normal.out;
    ProbeRun ended = RunProbe("end", "/");
    EXPECT_EQ(0, ended.status);
    EXPECT_EQ(std::string::npos, ended.out.find("body returned"));
    EXPECT_NE(std::string::npos, ended.out.find("end B\nend A\n")) << ended.out;
}

TEST(StartUp, UncaughtErrorsEndWithStatus255AndTheirText) {
    ProbeRun r = RunProbe("error", "/");
    EXPECT_EQ(255, r.status);
    EXPECT_EQ("Something broke", r.err);
    EXPECT_NE(std::string::npos, r.out.find("end B\nend A\n")) << "end handlers still run";
    EXPECT_EQ(std::string::npos, r.out.find("body returned"));

    ProbeRun s = RunProbe("string", "/");
    EXPECT_EQ(255, s.status);
    EXPECT_EQ("Too many hook ids", s.err);

    ProbeRun n = RunProbe("null", "/");
    EXPECT_EQ(255, n.status);
    EXPECT_EQ("Attempt to access field or method of Null object", n.err);

    ProbeRun f = RunProbe("nullend", "/");
    EXPECT_EQ(255, f.status);
    EXPECT_EQ("Attempt to call uninitialized function pointer", f.err) << "refused when registered, not met at exit";
    EXPECT_NE(std::string::npos, f.out.find("end B\nend A\n")) << f.out;
}

TEST(StartUp, SignalsReportTheirNumberAndEndWith255) {
    struct Case {
        const char* mode;
        const char* out;
    };
    const Case cases[] = {
        {"signal", "body returned\nsignal!:15\nend B\nend A\n"},  // a request: the end handlers run
        {"signal-twice", "signal!:15\n"},                         // a second request ends at once
        {"signal-stuck", "signal!:15\n"},                         // so does one never taken up
        {"segv", "signal!:11\n"},                                 // and a fault
    };
    for (const Case& c : cases) {
        ProbeRun r = RunProbe(c.mode, "/");
        EXPECT_EQ(255, r.status) << c.mode;
        EXPECT_EQ(c.out, r.out) << c.mode;
        EXPECT_EQ("Received Signal", r.err) << c.mode;
    }
}

TEST(StartUp, MachineFaultsEndAsAnUnhandledMemoryException) {
    for (const char* mode : {"bus", "fpe"}) {
        ProbeRun r = RunProbe(mode, "/");
        EXPECT_EQ(255, r.status) << mode;
        EXPECT_EQ("Unhandled Memory Exception Error", r.err) << mode;
        EXPECT_EQ(std::string::npos, r.out.find("signal!")) << mode;
    }
}

TEST(StartUp, ExceptionsOfAnyTypeEndAsUncaughtErrors) {
    struct Case {
        const char* mode;
        const char* err;
    };
    for (const Case& c : {Case{"int", "Unknown exception"}, Case{"std", "Standard trouble"}}) {
        ProbeRun r = RunProbe(c.mode, "/");
        EXPECT_EQ(255, r.status) << c.mode;
        EXPECT_EQ(c.err, r.err) << c.mode;
        EXPECT_EQ("end B\nend A\n", r.out) << c.mode << ": no signal line, end handlers run, body stops";
    }
}

TEST(StartUp, AnEndHandlerThatThrowsIsReportedAndTheOthersStillRun) {
    struct Case {
        const char* mode;
        const char* err;
        const char* out;
    };
    const Case cases[] = {
        {"endthrow", "End handler broke", "end raising\nend B\nend A\n"},
        {"endthrow-int", "Unknown exception", "end throwing int\nend B\nend A\n"},
        {"endthrow-end", "End handler broke", "end raising\nend B\nend A\n"},
        {"endthrow-int-end", "Unknown exception", "end throwing int\nend B\nend A\n"},
        {"endthrow-error", "Something brokeEnd handler broke", "end raising\nend B\nend A\n"},
    };
    for (const Case& c : cases) {
        ProbeRun r = RunProbe(c.mode, "/");
        EXPECT_EQ(255, r.status) << c.mode;
        EXPECT_EQ(c.err, r.err) << c.mode;
        std::string out = r.out;
        if (out.rfind("body returned\n", 0) == 0) out.erase(0, 14);  // the body ends by returning
        EXPECT_EQ(c.out, out) << c.mode;
    }
}
