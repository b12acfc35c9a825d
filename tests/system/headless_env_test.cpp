// The script named by the environment is loaded when the system module starts, from
// the launch directory; this test must start the module itself, so it has a program of
// its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "event/event.h"
#include "runtime/startup.h"
#include "system/system.h"

using namespace corvex;

namespace {
int _keys = 0;
Ref<Object> CountKeys(int, Ref<Object> data, Ref<Object>) {
    if (Cast<TEvent>(data)->id == EVENT_KEYDOWN) _keys += Cast<TEvent>(data)->data;
    return data;
}
}  // namespace

TEST(ScriptFromEnvironment, RelativePathIsTakenFromTheLaunchDirectory) {
    std::string dir = testing::TempDir();
    std::ofstream(dir + "env_script.txt") << "0 keydown 40\n0 keydown 2\n";
    LaunchDirectory = String(dir).Left(static_cast<int>(dir.size()) - 1);
    ASSERT_EQ(0, chdir("/"));
    setenv("CORVEX_INPUT_SCRIPT", "env_script.txt", 1);
    InitModule(system_module);
    AddHook(EmitEventHook, CountKeys);
    PollSystem();
    EXPECT_EQ(42, _keys);
}
