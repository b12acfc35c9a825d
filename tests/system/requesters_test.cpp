// Requesters and URL opening through helper programs, checked with stand-ins for zenity,
// kdialog and xdg-open that record their arguments and give a chosen answer.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "runtime/startup.h"
#include "support/fake_programs.h"
#include "system/system.h"

using namespace corvex;

namespace {

class Requesters : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(system_module);
        ApplicationTitle = "Meadow";
    }

    // Puts a stand-in for program on the path that answers with status and reply.
    void Helper(const std::string& program, int status, const std::string& reply = "") {
        programs.Script(program, "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"${0%/*}/args\"\n"
                                 "printf '%s' \"$(/bin/cat \"${0%/*}/reply\")\"\n"
                                 "exit $(/bin/cat \"${0%/*}/status\")\n");
        Answer(status, reply);
    }
    // Puts a stand-in for zenity's question box on the path that behaves as the real one
    // when the button or key written by Press is used: OK ends with status 0; Cancel,
    // Escape and closing the box end with 1 and print nothing; an extra button
    // ("extra=LABEL") prints its label and ends with 1, and one the box lacks is an error.
    void ZenityQuestion() {
        programs.Script(
            "zenity", "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"${0%/*}/args\"\n"
                      "press=$(/bin/cat \"${0%/*}/press\")\n"
                      "case \"$press\" in\n"
                      "ok) exit 0 ;;\n"
                      "extra=*)\n"
                      "    label=${press#extra=}\n"
                      "    for a in \"$@\"; do\n"
                      "        if [ \"$a\" = \"--extra-button=$label\" ]; then printf '%s\\n' \"$label\"; exit 1; fi\n"
                      "    done\n"
                      "    exit 100 ;;\n"
                      "*) exit 1 ;;\n"
                      "esac\n");
    }
    void Press(const std::string& what) { programs.Write("press", what); }
    void Answer(int status, const std::string& reply = "") {
        programs.Write("status", std::to_string(status));
        programs.Write("reply", reply);
    }
    std::vector<std::string> Args() {
        std::ifstream in(programs / "args");
        std::vector<std::string> args;
        for (std::string line; std::getline(in, line);) args.push_back(line);
        return args;
    }
    bool Passed(const std::string& arg) {
        auto args = Args();
        return std::find(args.begin(), args.end(), arg) != args.end();
    }

    corvex::testing::FakePrograms programs;
};

}  // namespace

TEST_F(Requesters, WithoutAHelperEveryRequesterAnswersNo) {
    Notify("hello");
    EXPECT_EQ(0, Confirm("Sure?"));
    EXPECT_EQ(-1, Proceed("Save?"));
    EXPECT_EQ(String(), RequestFile("Open", "png"));
    EXPECT_EQ(String(), RequestDir("Folder"));
    EXPECT_EQ(0, OpenURL("http://example.org"));
}

TEST_F(Requesters, ZenityMessagesCarryTheTitleTextAndIcon) {
    Helper("zenity", 0);
    Notify("Careful", 1);
    EXPECT_TRUE(Passed("--warning"));
    EXPECT_TRUE(Passed("--title=Meadow"));
    EXPECT_TRUE(Passed("--text=Careful"));
    Notify("Fine");
    EXPECT_TRUE(Passed("--info"));
    EXPECT_EQ(1, Confirm("Sure?"));
    EXPECT_TRUE(Passed("--question"));
    Answer(1);
    EXPECT_EQ(0, Confirm("Sure?"));
}

TEST_F(Requesters, ZenityProceedTellsYesNoAndCancelApart) {
    ZenityQuestion();
    struct Case {
        const char* press;
        int answer;
    };
    const Case cases[] = {
        {"ok", 1}, {"extra=No", 0}, {"cancel", -1}, {"escape", -1}, {"close", -1},
    };
    for (const Case& c : cases) {
        Press(c.press);
        EXPECT_EQ(c.answer, Proceed("Save?")) << c.press;
        EXPECT_TRUE(Passed("--ok-label=Yes")) << c.press;
        EXPECT_TRUE(Passed("--extra-button=No")) << c.press;
    }
    Helper("zenity", 5);  // the dialog timed out
    EXPECT_EQ(-1, Proceed("Save?"));
}

TEST_F(Requesters, ZenityFileRequesterBuildsFiltersAndReturnsTheChoice) {
    Helper("zenity", 0, "/tmp/chosen.png\n");
    EXPECT_EQ(String("/tmp/chosen.png"), RequestFile("Save as", "Images:png,jpg;txt", 1, "/tmp/start.png"));
    EXPECT_TRUE(Passed("--save"));
    EXPECT_TRUE(Passed("--confirm-overwrite"));
    EXPECT_TRUE(Passed("--filename=/tmp/start.png"));
    EXPECT_TRUE(Passed("--file-filter=Images | *.png *.jpg"));
    EXPECT_TRUE(Passed("--file-filter=txt | *.txt"));
    RequestFile("Open", "", 0, "");
    EXPECT_FALSE(Passed("--save"));
    Answer(1, "");
    EXPECT_EQ(String(), RequestFile("Open"));
    Answer(0, "/home\n");
    EXPECT_EQ(String("/home"), RequestDir("Folder", "/home"));
    EXPECT_TRUE(Passed("--directory"));
    EXPECT_TRUE(Passed("--filename=/home/"));
}

TEST_F(Requesters, AnAnswerThatCannotBeCollectedIsNo) {
    Helper("zenity", 1, "/tmp/cancelled.png\n");  // cancelled
    // A program that ignores SIGCHLD has its children reaped unseen: no exit status.
    struct sigaction ignore {
    }, saved{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGCHLD, &ignore, &saved);
    int confirmed = Confirm("Sure?");
    String chosen = RequestFile("Open");
    sigaction(SIGCHLD, &saved, nullptr);
    EXPECT_EQ(0, confirmed);
    EXPECT_EQ(String(), chosen);
}

TEST_F(Requesters, KDialogServesWhenZenityIsMissing) {
    Helper("kdialog", 2);
    EXPECT_EQ(-1, Proceed("Save?"));
    EXPECT_TRUE(Passed("--yesnocancel"));
    Answer(1);
    EXPECT_EQ(0, Proceed("Save?"));
    Answer(0);
    EXPECT_EQ(1, Confirm("Sure?", 1));
    EXPECT_TRUE(Passed("--warningyesno"));
    Answer(0, "/tmp/x.png\n");
    EXPECT_EQ(String("/tmp/x.png"), RequestFile("Open", "Images:png,jpg", 0, "/tmp"));
    EXPECT_EQ((std::vector<std::string>{"--title", "Open", "--getopenfilename", "/tmp", "*.png *.jpg|Images"}), Args());
}

TEST_F(Requesters, OpenURLHandsTheExpandedURLToXdgOpen) {
    Helper("xdg-open", 0);
    EXPECT_EQ(1, OpenURL("http://example.org/"));
    EXPECT_EQ((std::vector<std::string>{"http://example.org/"}), Args());
    EXPECT_EQ(1, OpenURL(String(programs / "status#top")));
    EXPECT_EQ((std::vector<std::string>{"file:" + programs / "status#top"}), Args());
    Answer(4);
    EXPECT_EQ(0, OpenURL("http://example.org/"));
}

TEST_F(Requesters, OpenURLDoesNotWaitForWhatTheHandlerLeavesRunning) {
    // Like a browser started by xdg-open: a child that outlives it, holding on to the
    // standard output it inherited, until the test releases it (or a minute has passed).
    programs.Script("xdg-open",
                    "cd \"${0%/*}\"\n"
                    "(i=0; while [ ! -e released ] && [ $i -lt 1200 ]; do /bin/sleep 0.05; i=$((i+1)); done;"
                    " : > ended) 2>/dev/null &\n"
                    "exit 0\n");
    bool watchdogFired = false;
    std::thread watchdog([&] {
        if (programs.WaitFor("released", std::chrono::seconds(30))) return;
        watchdogFired = true;
        programs.Write("released", "");
    });
    EXPECT_EQ(1, OpenURL("http://example.org/"));
    programs.Write("released", "");
    watchdog.join();
    EXPECT_FALSE(watchdogFired) << "OpenURL returned only once the handler's child had ended";
    // The released child finishes before its folder goes: soon, or late on a busy machine.
    EXPECT_TRUE(programs.WaitFor("ended", std::chrono::seconds(30)))
        << "the handler's child was still running 30 s after it was released";
}
