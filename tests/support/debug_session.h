// A program with the debugger, driven as its controlling program drives it: commands
// written to its standard input, the debugger's lines read from its standard error up to
// each prompt, its standard output kept in a file.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace corvex::testing {

class DebugSession {
public:
    explicit DebugSession(const std::string& program, const std::vector<std::string>& args = {}) {
        int in[2], err[2];
        EXPECT_EQ(0, pipe(in));
        EXPECT_EQ(0, pipe(err));
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], 0);
        posix_spawn_file_actions_adddup2(&fa, err[1], 2);
        posix_spawn_file_actions_addopen(&fa, 1, (dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (int fd : {in[0], in[1], err[0], err[1]}) posix_spawn_file_actions_addclose(&fa, fd);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        EXPECT_EQ(0, posix_spawn(&pid_, program.c_str(), &fa, nullptr, argv.data(), environ));
        posix_spawn_file_actions_destroy(&fa);
        close(in[0]);
        close(err[1]);
        in_ = in[1];
        err_ = err[0];
    }
    ~DebugSession() {
        End();
        close(err_);
    }
    DebugSession(const DebugSession&) = delete;
    DebugSession& operator=(const DebugSession&) = delete;

    // Everything the debugger writes up to and with its next prompt, or up to the end.
    std::string UntilPrompt() {
        std::string text;
        char c;
        while (!(text == "~>\n" || text.ends_with("\n~>\n")) && read(err_, &c, 1) == 1) text += c;
        return text;
    }
    // Sends one command line; the reply up to the next prompt.
    std::string Send(const std::string& line) {
        const std::string l = line + "\n";
        EXPECT_EQ(static_cast<ssize_t>(l.size()), write(in_, l.data(), l.size()));
        return UntilPrompt();
    }
    // Closes standard input and waits for the end; the exit status (-1 after a signal).
    int End() {
        if (in_ >= 0) close(in_);
        in_ = -1;
        if (pid_ > 0) waitpid(pid_, &status_, 0);
        pid_ = 0;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }
    std::string Stdout() const { return TempDir::Read(dir_ / "out"); }

private:
    TempDir dir_;
    pid_t pid_ = 0;
    int in_ = -1, err_ = -1;
    int status_ = 0;
};

}  // namespace corvex::testing
