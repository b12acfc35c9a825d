// A fresh folder that is the whole of PATH while the object lives, for stand-ins of the
// helper programs the engine starts (dialogs, URL openers): a program is found there or
// not at all. The previous PATH comes back, and the folder goes with everything in it,
// when the object ends.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "support/temp_dir.h"

namespace corvex::testing {

class FakePrograms : public TempDir {
public:
    FakePrograms() {
        if (const char* path = std::getenv("PATH")) saved_ = path;
        setenv("PATH", Path().c_str(), 1);
    }
    ~FakePrograms() {
        if (saved_) setenv("PATH", saved_->c_str(), 1);
        else unsetenv("PATH");
    }

    // Puts an executable shell script called program in the folder and returns its path.
    // The folder is all of PATH, so the body names other programs by their full path.
    std::string Script(const std::string& program, const std::string& body) const {
        std::string path = Write(program, "#!/bin/sh\n" + body);
        chmod(path.c_str(), 0755);
        return path;
    }

    // Waits until a file called name is in the folder (a stand-in's sign that it got
    // somewhere), for timeout at most; whether it came.
    bool WaitFor(const std::string& name, std::chrono::milliseconds timeout) const {
        const std::string path = *this / name;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (access(path.c_str(), F_OK) != 0) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

private:
    std::optional<std::string> saved_;
};

}  // namespace corvex::testing
