// The game under the debugger: a picture that is missing stops the game where it is first
// used, with the game body and its variables on show.
#include <filesystem>
#include <string>

#include "support/debug_session.h"

TEST(GameDebugger, AMissingPictureStopsWithTheNullObjectErrorAndTheGameBody) {
    TempDir dir;  // the program alone, without its pictures
    const std::string program = dir / "tarvolin-headless";
    std::filesystem::copy_file(TARVOLIN_HEADLESS, program);
    corvex::testing::DebugSession game(program, {dir.Write("script", ""), dir / "trace"});
    EXPECT_EQ("~>Unhandled Exception:Attempt to access field or method of Null object\n~>\n", game.UntilPrompt());
    const std::string trace = game.Send("t");
    for (const char* line : {"~>Function RunGame\n", "~>Global bee:TImage=Null\n",
                             "~>Global cameraY:Float=50.0000000\n", "~>Local smile:TImage=Null\n~>}\n"})
        EXPECT_NE(std::string::npos, trace.find(line)) << line << trace;
    EXPECT_EQ(255, game.End());
}
