// Runs a test program as a separate process and keeps what it shows: its exit status
// (or -1000 minus the signal that ended it) and everything it wrote.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace corvex::testing {

struct ProgramRun {
    int status;
    std::string out;
    std::string err;
};

// Runs program with the one argument mode from the working directory cwd.
inline ProgramRun RunProgram(const std::string& program, const std::string& mode, const std::string& cwd = "/") {
    TempDir tmp;
    const std::string out = tmp / "out", err = tmp / "err";
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
    const char* argv[] = {program.c_str(), mode.c_str(), nullptr};
    pid_t pid;
    const int spawned = posix_spawn(&pid, program.c_str(), &fa, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (spawned != 0) return {-1, "", "cannot start " + program};
    int status = 0;
    waitpid(pid, &status, 0);
    auto slurp = [](const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1000 - WTERMSIG(status), slurp(out), slurp(err)};
}

}  // namespace corvex::testing
